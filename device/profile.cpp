#include "device/profile.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string_view>

namespace sim {

namespace {

std::string substitute(std::string line, const ProfileContext& context) {
    const std::string key = "${listen}";
    for (auto pos = line.find(key); pos != std::string::npos; pos = line.find(key, pos))
        line.replace(pos, key.size(), context.listenAddress);
    return line;
}

Oid requireOid(const std::string& text) {
    auto oid = parseOid(text);
    if (!oid || oid->size() < 2)
        throw ProfileError("bad OID \"" + text + "\"");
    return *oid;
}

std::int64_t requireNumber(const std::string& text) {
    try {
        std::size_t used = 0;
        auto v = std::stoll(text, &used);
        if (used == text.size())
            return v;
    } catch (const std::exception&) {
    }
    throw ProfileError("bad number \"" + text + "\"");
}

// "1..5,7,9..10"
Ranges parseRanges(const std::string& text) {
    Ranges out;
    std::size_t start = 0;
    while (start <= text.size()) {
        auto comma = text.find(',', start);
        auto part =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        auto dots = part.find("..");
        if (dots == std::string::npos) {
            auto v = requireNumber(part);
            out.emplace_back(v, v);
        } else {
            auto lo = requireNumber(part.substr(0, dots));
            auto hi = requireNumber(part.substr(dots + 2));
            if (lo > hi)
                throw ProfileError("empty range \"" + part + "\"");
            out.emplace_back(lo, hi);
        }
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return out;
}

void checkInitial(const Object& o, const std::string& oidText) {
    bool ok = o.syntax == Syntax::Integer ? inRanges(o.values, o.initial.number)
              : o.syntax == Syntax::OctetString
                  ? inRanges(o.sizes, static_cast<std::int64_t>(o.initial.bytes.size()))
                  : true;
    if (!ok)
        throw ProfileError("value of " + oidText + " outside its own range");
}

void loadInto(const std::filesystem::path& path, const ProfileContext& context, Profile& profile,
              int depth) {
    if (depth > 8)
        throw ProfileError(path.string() + ": includes nested too deeply");
    std::ifstream in(path);
    if (!in)
        throw ProfileError(path.string() + ": cannot open");
    std::string raw;
    int lineNo = 0;
    while (std::getline(in, raw)) {
        ++lineNo;
        try {
            auto line = substitute(raw, context);
            auto t = tokenize(line);
            if (t.empty())
                continue;
            if (t[0] == "include") {
                if (t.size() != 2)
                    throw ProfileError("include needs one file name");
                loadInto(path.parent_path() / t[1], context, profile, depth + 1);
            } else if (t[0] == "community") {
                if (t.size() != 3 || (t[1] != "read" && t[1] != "write"))
                    throw ProfileError("community read|write NAME");
                (t[1] == "read" ? profile.readCommunity : profile.writeCommunity) = t[2];
            } else if (t[0] == "user") {
                profile.users.push_back(parseUser({t.begin() + 1, t.end()}));
            } else if (t[0] == "remove") {
                if (t.size() != 2 || !profile.store.remove(requireOid(t[1])))
                    throw ProfileError("remove needs one defined OID");
            } else {
                defineObject(line, context, profile.store);
            }
        } catch (const ProfileError& e) {
            if (std::string_view(e.what()).find(": line ") != std::string_view::npos)
                throw;
            throw ProfileError(path.string() + ": line " + std::to_string(lineNo) + ": " +
                               e.what());
        }
    }
}

} // namespace

std::vector<std::string> tokenize(const std::string& line) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        std::string token;
        if (c == '"') {
            ++i;
            bool closed = false;
            while (i < line.size()) {
                char d = line[i++];
                if (d == '"') {
                    closed = true;
                    break;
                }
                if (d != '\\' || i >= line.size()) {
                    token += d;
                    continue;
                }
                char e = line[i++];
                if (e == 'n')
                    token += '\n';
                else if (e == 't')
                    token += '\t';
                else if (e == 'x' && i + 2 <= line.size()) {
                    token += static_cast<char>(std::stoi(line.substr(i, 2), nullptr, 16));
                    i += 2;
                } else
                    token += e;
            }
            if (!closed)
                throw ProfileError("unterminated quoted text");
        } else {
            while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
                token += line[i++];
        }
        out.push_back(std::move(token));
    }
    return out;
}

UserSpec parseUser(const std::vector<std::string>& given) {
    std::vector<std::string> f = given;
    if (f.size() == 1) {
        f.clear();
        std::string rest = given[0];
        for (auto pos = rest.find(':');; pos = rest.find(':')) {
            f.push_back(rest.substr(0, pos));
            if (pos == std::string::npos)
                break;
            rest.erase(0, pos + 1);
        }
    }
    if (f.size() != 3 && f.size() != 5)
        throw ProfileError("user NAME " + std::string(kUserAuthProtocols) + " AUTHPASS [" +
                           kUserPrivProtocols + " PRIVPASS]");
    UserSpec u{f[0], f[1], f[2], f.size() == 5 ? f[3] : "", f.size() == 5 ? f[4] : ""};
    // The names net-snmp's agent takes for them (a "createUser" line).
    const auto oneOf = [](const std::string& name, std::string_view names) {
        for (std::size_t at = 0; at <= names.size();) {
            const std::size_t bar = std::min(names.find('|', at), names.size());
            if (names.substr(at, bar - at) == name)
                return true;
            at = bar + 1;
        }
        return false;
    };
    if (!oneOf(u.auth, kUserAuthProtocols))
        throw ProfileError("authentication protocol must be " + std::string(kUserAuthProtocols));
    if (!u.priv.empty() && !oneOf(u.priv, kUserPrivProtocols))
        throw ProfileError("privacy protocol must be " + std::string(kUserPrivProtocols));
    // USM refuses pass phrases shorter than 8 characters.
    if (u.authPass.size() < 8 || (!u.priv.empty() && u.privPass.size() < 8))
        throw ProfileError("pass phrases need at least 8 characters");
    return u;
}

void defineObject(const std::string& line, const ProfileContext& context, ObjectStore& store) {
    auto t = tokenize(substitute(line, context));
    if (t.size() < 4)
        throw ProfileError("expected OID SYNTAX ACCESS VALUE [OPTION...]");
    Oid oid = requireOid(t[0]);
    auto syntax = parseSyntax(t[1]);
    if (!syntax || *syntax == Syntax::Null)
        throw ProfileError("bad syntax \"" + t[1] + "\"");
    auto access = parseAccess(t[2]);
    if (!access)
        throw ProfileError("bad access \"" + t[2] + "\"");
    auto value = parseValue(*syntax, t[3], t[1] == "hex");
    if (!value)
        throw ProfileError("value \"" + t[3] + "\" does not fit " + t[1]);
    Object o;
    o.syntax = *syntax;
    o.access = *access;
    o.initial = o.active = *value;
    std::vector<Oid> also;
    for (std::size_t i = 4; i < t.size(); ++i) {
        const auto& opt = t[i];
        auto eq = opt.find('=');
        auto key = opt.substr(0, eq);
        auto arg = eq == std::string::npos ? std::string() : opt.substr(eq + 1);
        if (key == "range" || key == "enum")
            o.values = parseRanges(arg);
        else if (key == "size")
            o.sizes = parseRanges(arg);
        else if (key == "now" && arg.empty())
            o.apply = Apply::Now;
        else if (key == "pending" && arg.empty())
            o.apply = Apply::Pending;
        else if (key == "mirror")
            o.mirror = requireOid(arg);
        else if (key == "also") {
            std::size_t start = 0;
            while (true) {
                auto comma = arg.find(',', start);
                also.push_back(requireOid(arg.substr(start, comma - start)));
                if (comma == std::string::npos)
                    break;
                start = comma + 1;
            }
        } else
            throw ProfileError("unknown option \"" + opt + "\"");
    }
    checkInitial(o, t[0]);
    store.define(oid, std::move(o));
    for (const auto& extra : also)
        store.alias(extra, oid);
}

void loadProfile(const std::string& path, const ProfileContext& context, Profile& profile) {
    loadInto(path, context, profile, 0);
}

} // namespace sim
