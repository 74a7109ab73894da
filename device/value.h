#pragma once
// Object identifiers and typed values of the simulated device, independent of net-snmp's types so
// that profiles, the journal and the control channel share one text form.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

using Oid = std::vector<std::uint32_t>;

// The private MIB root and the product root, as written in profiles ("devMib.1.2.2.0").
inline const Oid kDevMib{1, 3, 6, 1, 4, 1, 32473, 1};
inline const Oid kDevProduct{1, 3, 6, 1, 4, 1, 32473, 2};

// Dotted text, with an optional leading "." and the prefixes "devMib." and "devProduct.".
std::optional<Oid> parseOid(std::string_view text);
std::string oidText(const Oid& oid);
bool startsWith(const Oid& oid, const Oid& prefix);
Oid operator+(Oid base, const Oid& tail);

enum class Syntax {
    Integer,
    OctetString,
    ObjectId,
    IpAddress,
    Counter32,
    Gauge32,
    TimeTicks,
    Counter64,
    Null,
};

// Profile and journal name of a syntax: "integer", "string", "oid", "ipaddress", "counter32",
// "gauge32", "timeticks", "counter64", "null".
std::string_view syntaxName(Syntax syntax);
// Also accepts "octets" and "hex" (a string written as hexadecimal digits).
std::optional<Syntax> parseSyntax(std::string_view name);

struct Value {
    Syntax syntax = Syntax::Null;
    std::int64_t number = 0; // Integer (signed 32), Counter32, Gauge32, TimeTicks (unsigned 32)
    std::uint64_t big = 0;   // Counter64
    std::string bytes;       // OctetString; IpAddress as its four bytes
    Oid oid;                 // ObjectId

    static Value integer(std::int64_t v) { return {Syntax::Integer, v, 0, {}, {}}; }
    static Value string(std::string s) { return {Syntax::OctetString, 0, 0, std::move(s), {}}; }
    friend bool operator==(const Value&, const Value&) = default;
};

// Value from its text form. Strings are taken as they are (already unquoted); with `hex` true the
// text is hexadecimal digits ("00 0F 3D" or "000F3D"). Nothing when the text does not fit the
// syntax (an integer out of its 32-bit range, an address that is not four numbers 0..255...).
std::optional<Value> parseValue(Syntax syntax, std::string_view text, bool hex = false);
// Text form: decimal numbers, dotted addresses and OIDs, strings as their raw bytes.
std::string valueText(const Value& value);
std::string hexText(std::string_view bytes);

} // namespace sim
