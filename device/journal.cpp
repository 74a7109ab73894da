#include "device/journal.h"

#include <chrono>

namespace sim {

Journal::~Journal() {
    if (file_)
        std::fclose(file_);
}

bool Journal::open(const std::string& path) {
    path_ = path;
    if (path.empty())
        return true;
    file_ = std::fopen(path.c_str(), "a");
    return file_ != nullptr;
}

std::string Journal::quote(std::string_view text) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            // Bytes outside printable ASCII as code points U+0000..U+00FF, one per byte.
            if (c < 0x20 || c >= 0x7f) {
                out += "\\u00";
                out += digits[c >> 4];
                out += digits[c & 15];
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

void Journal::pdu(const JournalPdu& p) {
    std::string body = "\"op\":" + quote(p.op) + ",\"version\":" + quote(p.version);
    if (p.version == "3") {
        body += ",\"user\":" + quote(p.user) + ",\"level\":" + quote(p.level) +
                ",\"context\":" + quote(p.context);
    } else {
        body += ",\"community\":" + quote(p.community);
    }
    body += ",\"varbinds\":[";
    for (std::size_t i = 0; i < p.varbinds.size(); ++i) {
        const auto& vb = p.varbinds[i];
        if (i)
            body += ',';
        body += "{\"oid\":" + quote(oidText(vb.oid)) +
                ",\"type\":" + quote(syntaxName(vb.value.syntax)) +
                ",\"value\":" + quote(valueText(vb.value));
        if (vb.value.syntax == Syntax::OctetString)
            body += ",\"hex\":" + quote(hexText(vb.value.bytes));
        body += '}';
    }
    body += ']';
    if (!p.refused.empty())
        body += ",\"refused\":" + quote(p.refused);
    write(body);
}

void Journal::event(const std::string& name,
                    const std::vector<std::pair<std::string, std::string>>& jsonFields) {
    std::string body = "\"event\":" + quote(name);
    for (const auto& [key, json] : jsonFields)
        body += "," + quote(key) + ":" + json;
    write(body);
}

void Journal::write(const std::string& body) {
    if (!file_)
        return;
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::system_clock::now().time_since_epoch())
                  .count();
    std::fprintf(file_, "{\"seq\":%lld,\"ms\":%lld,%s}\n", ++seq_, static_cast<long long>(ms),
                 body.c_str());
    // Readers (tests) look at the file while the device runs.
    std::fflush(file_);
}

void Journal::clear() {
    if (!file_)
        return;
    std::FILE* reopened = std::freopen(path_.c_str(), "w", file_);
    file_ = reopened;
}

} // namespace sim
