#include "pages/common/wep_keys.h"

#include <algorithm>

namespace pages {

namespace {
int digit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return 0;
}
} // namespace

bool isMaskedKey(const QString& text) {
    return !text.isEmpty() &&
           std::all_of(text.begin(), text.end(), [](QChar c) { return c == QLatin1Char('*'); });
}

QString hexToAscii(const QString& hex) {
    QString out;
    for (qsizetype i = 0; i + 1 < hex.size(); i += 2)
        out.append(QChar(digit(hex[i]) * 16 + digit(hex[i + 1])));
    return out;
}

std::optional<QString> asciiToHex(const QString& text) {
    QString out;
    for (QChar c : text) {
        if (c.unicode() > 0xFF)
            return std::nullopt;
        out.append(QStringLiteral("%1").arg(c.unicode(), 2, 16, QLatin1Char('0')));
    }
    return out;
}

bool isHexText(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
               (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
    });
}

int wepKeyLength(int type, int size) {
    static constexpr int kLengths[2][3] = {{10, 26, 32}, {5, 13, 16}};
    if (type < 0 || type > 1 || size < 0 || size > 2)
        return 0;
    return kLengths[type][size];
}

QString wepKeyLengthMessage(int key, int type, int size) {
    static const char* const kOrdinals[] = {"1st", "2nd", "3rd", "4th"};
    const bool misspelt = type == 1 && size == 2;
    return QStringLiteral("The %1 of the %2 key in IEEE802.11g must be %3!")
        .arg(misspelt ? QStringLiteral("Lengh") : QStringLiteral("Length"),
             QLatin1String(kOrdinals[std::clamp(key, 0, 3)]))
        .arg(wepKeyLength(type, size));
}

} // namespace pages
