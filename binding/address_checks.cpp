#include "binding/address_checks.h"

#include <array>
#include <QStringList>

namespace qv {
namespace {

// The four fields as numbers, each a non-empty run of decimal digits; nullopt otherwise.
std::optional<std::array<quint32, 4>> fields(const QString& text) {
    if (text.startsWith('.'))
        return std::nullopt;
    const QStringList parts = text.split('.');
    if (parts.size() != 4)
        return std::nullopt;
    std::array<quint32, 4> out{};
    for (int i = 0; i < 4; ++i) {
        const QString& p = parts[i];
        if (p.isEmpty() || p.size() > 10)
            return std::nullopt;
        for (const QChar c : p)
            if (c < '0' || c > '9')
                return std::nullopt;
        bool ok = false;
        const qulonglong v = p.toULongLong(&ok);
        if (!ok || v > 0xFFFFFFFFull)
            return std::nullopt;
        out[i] = static_cast<quint32>(v);
    }
    return out;
}

bool inRanges(const std::array<quint32, 4>& f,
              const std::array<std::pair<quint32, quint32>, 4>& r) {
    for (int i = 0; i < 4; ++i)
        if (f[i] < r[i].first || f[i] > r[i].second)
            return false;
    return true;
}

quint32 pack(const std::array<quint32, 4>& f) {
    return (f[0] << 24) | (f[1] << 16) | (f[2] << 8) | f[3];
}

} // namespace

std::optional<quint32> addressToNumber(const QString& text) {
    const auto f = fields(text);
    if (!f || !inRanges(*f, {{{0, 255}, {0, 255}, {0, 255}, {0, 255}}}))
        return std::nullopt;
    return pack(*f);
}

QString numberToAddress(quint32 value) {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(value >> 24)
        .arg((value >> 16) & 0xFF)
        .arg((value >> 8) & 0xFF)
        .arg(value & 0xFF);
}

bool isHostAddress(const QString& text) {
    const auto f = fields(text);
    return f && inRanges(*f, {{{1, 223}, {0, 255}, {0, 255}, {1, 254}}});
}

bool isSubnetMask(const QString& text) {
    const auto f = fields(text);
    if (!f || !inRanges(*f, {{{1, 255}, {0, 255}, {0, 255}, {0, 255}}}))
        return false;
    for (const quint32 v : *f)
        if (v == 1)
            return false;
    const quint32 mask = pack(*f);
    // Ones then zeros: the inverted mask plus one is a power of two.
    const quint32 inverted = ~mask;
    const bool contiguous = (inverted & (inverted + 1)) == 0;
    return contiguous && (mask & 0xC0000000u) == 0xC0000000u && (mask & 1u) == 0;
}

} // namespace qv
