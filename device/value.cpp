#include "device/value.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace sim {

namespace {

template <typename T> std::optional<T> number(std::string_view text) {
    T v{};
    if (text.empty())
        return std::nullopt;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return v;
}

std::optional<std::string> parseHex(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (c == ' ' || c == ':' || c == '-')
            continue;
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        digits += c;
    }
    if (digits.starts_with("0x") || digits.starts_with("0X"))
        digits.erase(0, 2);
    if (digits.size() % 2 != 0)
        return std::nullopt;
    std::string out;
    for (std::size_t i = 0; i < digits.size(); i += 2)
        out += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
    return out;
}

} // namespace

std::optional<Oid> parseOid(std::string_view text) {
    Oid out;
    if (text.starts_with("devMib")) {
        out = kDevMib;
        text.remove_prefix(6);
    } else if (text.starts_with("devProduct")) {
        out = kDevProduct;
        text.remove_prefix(10);
    }
    if (text.starts_with("."))
        text.remove_prefix(1);
    if (text.empty())
        return out.empty() ? std::nullopt : std::optional<Oid>(out);
    while (true) {
        auto dot = text.find('.');
        auto arc = number<std::uint32_t>(text.substr(0, dot));
        if (!arc)
            return std::nullopt;
        out.push_back(*arc);
        if (dot == std::string_view::npos)
            break;
        text.remove_prefix(dot + 1);
    }
    return out;
}

std::string oidText(const Oid& oid) {
    std::string out;
    for (std::size_t i = 0; i < oid.size(); ++i) {
        if (i)
            out += '.';
        out += std::to_string(oid[i]);
    }
    return out;
}

bool startsWith(const Oid& oid, const Oid& prefix) {
    return oid.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), oid.begin());
}

Oid operator+(Oid base, const Oid& tail) {
    base.insert(base.end(), tail.begin(), tail.end());
    return base;
}

std::string_view syntaxName(Syntax syntax) {
    switch (syntax) {
    case Syntax::Integer:
        return "integer";
    case Syntax::OctetString:
        return "string";
    case Syntax::ObjectId:
        return "oid";
    case Syntax::IpAddress:
        return "ipaddress";
    case Syntax::Counter32:
        return "counter32";
    case Syntax::Gauge32:
        return "gauge32";
    case Syntax::TimeTicks:
        return "timeticks";
    case Syntax::Counter64:
        return "counter64";
    case Syntax::Null:
        return "null";
    }
    return "null";
}

std::optional<Syntax> parseSyntax(std::string_view name) {
    for (auto s :
         {Syntax::Integer, Syntax::OctetString, Syntax::ObjectId, Syntax::IpAddress,
          Syntax::Counter32, Syntax::Gauge32, Syntax::TimeTicks, Syntax::Counter64, Syntax::Null})
        if (name == syntaxName(s))
            return s;
    if (name == "octets" || name == "hex")
        return Syntax::OctetString;
    return std::nullopt;
}

std::optional<Value> parseValue(Syntax syntax, std::string_view text, bool hex) {
    Value v;
    v.syntax = syntax;
    switch (syntax) {
    case Syntax::Integer: {
        auto n = number<std::int64_t>(text);
        if (!n || *n < std::numeric_limits<std::int32_t>::min() ||
            *n > std::numeric_limits<std::int32_t>::max())
            return std::nullopt;
        v.number = *n;
        return v;
    }
    case Syntax::Counter32:
    case Syntax::Gauge32:
    case Syntax::TimeTicks: {
        auto n = number<std::uint32_t>(text);
        if (!n)
            return std::nullopt;
        v.number = *n;
        return v;
    }
    case Syntax::Counter64: {
        auto n = number<std::uint64_t>(text);
        if (!n)
            return std::nullopt;
        v.big = *n;
        return v;
    }
    case Syntax::OctetString: {
        if (!hex) {
            v.bytes = std::string(text);
            return v;
        }
        auto bytes = parseHex(text);
        if (!bytes)
            return std::nullopt;
        v.bytes = *bytes;
        return v;
    }
    case Syntax::IpAddress: {
        auto oid = parseOid(text);
        if (!oid || oid->size() != 4 || text.starts_with("dev"))
            return std::nullopt;
        for (auto arc : *oid) {
            if (arc > 255)
                return std::nullopt;
            v.bytes += static_cast<char>(arc);
        }
        return v;
    }
    case Syntax::ObjectId: {
        auto oid = parseOid(text);
        if (!oid || oid->size() < 2)
            return std::nullopt;
        v.oid = *oid;
        return v;
    }
    case Syntax::Null:
        return text.empty() ? std::optional<Value>(v) : std::nullopt;
    }
    return std::nullopt;
}

std::string valueText(const Value& value) {
    switch (value.syntax) {
    case Syntax::Integer:
    case Syntax::Counter32:
    case Syntax::Gauge32:
    case Syntax::TimeTicks:
        return std::to_string(value.number);
    case Syntax::Counter64:
        return std::to_string(value.big);
    case Syntax::OctetString:
        return value.bytes;
    case Syntax::IpAddress: {
        std::string out;
        for (std::size_t i = 0; i < value.bytes.size(); ++i) {
            if (i)
                out += '.';
            out += std::to_string(static_cast<unsigned char>(value.bytes[i]));
        }
        return out;
    }
    case Syntax::ObjectId:
        return oidText(value.oid);
    case Syntax::Null:
        return {};
    }
    return {};
}

std::string hexText(std::string_view bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

} // namespace sim
