#pragma once
// The journal: one JSON object per line for every PDU the device receives and for the device's
// own events (restart, ready, silence), so that tests can assert exactly what a manager sent.
//
//   {"seq":1,"ms":1765338000123,"op":"get","version":"2c","community":"fenrow",
//    "varbinds":[{"oid":"1.3.6.1.2.1.1.1.0","type":"null","value":""}]}
//   {"seq":2,...,"op":"set","version":"3","user":"kwshades","level":"authPriv","context":"",
//    "varbinds":[{"oid":"...","type":"string","value":"abc","hex":"616263"}]}
//   {"seq":3,...,"op":"get",...,"refused":"community"}     dropped, never answered
//   {"seq":4,"ms":...,"event":"restart","factory":false}
//
// "op" is get, getnext, getbulk, set or other; "version" 1, 2c or 3; "type" is the syntax name of
// the profile (integer, string, oid, ipaddress, counter32, gauge32, timeticks, counter64, null).
// String values are written byte for byte (bytes above 127 as \u00XX); "hex" repeats them.
// SNMPv3 messages that fail authentication or decryption never reach the device and are not
// journalled; the manager sees net-snmp's USM report.
#include "device/value.h"

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace sim {

struct JournalVarbind {
    Oid oid;
    Value value;
};

struct JournalPdu {
    std::string op;
    std::string version;
    std::string community; // v1/v2c
    std::string user;      // v3
    std::string level;     // v3: noAuthNoPriv, authNoPriv, authPriv
    std::string context;   // v3
    std::vector<JournalVarbind> varbinds;
    std::string refused; // empty when the PDU is served
};

class Journal {
public:
    Journal() = default;
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // An empty path keeps no journal. False when the file cannot be opened.
    bool open(const std::string& path);
    void pdu(const JournalPdu& pdu);
    // An event line: "event" plus the given fields, already as JSON texts.
    void event(const std::string& name,
               const std::vector<std::pair<std::string, std::string>>& jsonFields = {});
    void clear();

    static std::string quote(std::string_view text);

private:
    void write(const std::string& body);

    std::string path_;
    std::FILE* file_ = nullptr;
    long long seq_ = 0;
};

} // namespace sim
