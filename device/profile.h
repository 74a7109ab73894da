#pragma once
// Profiles: text files that describe one firmware generation of the device.
//
//   # comment
//   include FILE                              another profile, relative to this one
//   community read|write NAME                 SNMPv1/v2c communities
//   user NAME MD5|SHA AUTHPASS [DES|AES PRIVPASS]   an SNMPv3 USM user
//   remove OID                                drop an object an included file defined
//   OID SYNTAX ACCESS VALUE [OPTION...]       one object instance
//
// OID: dotted, or starting with devMib. / devProduct.
// SYNTAX: integer string hex oid ipaddress counter32 gauge32 timeticks counter64
// ACCESS: ro rw wo na
// VALUE: one token; "double quotes" for text with blanks (escapes \" \\ \n \t \xHH)
// OPTION: range=LO..HI[,V...]  (allowed integer values; enum= is the same)
//         size=LO..HI[,N...]   (allowed string lengths)
//         now                  (a write takes effect at once instead of pending until
//                               save-and-activate or restart)
//         also=OID[,OID]       (further instances answering with the same value)
//         mirror=OID           (reads the active value of another instance)
// ${listen} in a line stands for the address the simulator listens on.
// A later line for the same OID replaces the earlier one.
#include "device/store.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace sim {

// The protocols of an SNMPv3 user, as net-snmp's agent names them ("AES" is AES-128).
inline constexpr char kUserAuthProtocols[] = "MD5|SHA|SHA-224|SHA-256|SHA-384|SHA-512";
inline constexpr char kUserPrivProtocols[] = "DES|AES|AES-192|AES-256";

struct UserSpec {
    std::string name;
    std::string auth; // one of kUserAuthProtocols
    std::string authPass;
    std::string priv; // one of kUserPrivProtocols, or empty (authNoPriv)
    std::string privPass;
};

struct Profile {
    ObjectStore store;
    std::string readCommunity;
    std::string writeCommunity;
    std::vector<UserSpec> users;
};

struct ProfileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ProfileContext {
    std::string listenAddress = "127.0.0.1";
};

// Reads a profile file (with its includes) into `profile`. Throws ProfileError naming the file and
// line of the first fault.
void loadProfile(const std::string& path, const ProfileContext& context, Profile& profile);

// One object line ("OID SYNTAX ACCESS VALUE [OPTION...]") into `store`; the control channel uses
// it too. Throws ProfileError without a location.
void defineObject(const std::string& line, const ProfileContext& context, ObjectStore& store);

// "user NAME AUTH AUTHPASS [PRIV PRIVPASS]" without the keyword, or "NAME:AUTH:PASS[:PRIV:PASS]".
UserSpec parseUser(const std::vector<std::string>& fields);

// Blank-separated tokens with double-quoted text; stops at a # outside quotes.
std::vector<std::string> tokenize(const std::string& line);

} // namespace sim
