#pragma once
// WEP keys as devices keep them: hexadecimal digits. Pages show ASCII keys as characters and
// send them back as digits; a key the device masks ("*" for each digit) is never converted.
#include <optional>
#include <QString>

namespace pages {

// A text made only of "*" (at least one): the device's mask for a stored key.
bool isMaskedKey(const QString& text);

// Pairs of hexadecimal digits to the characters with those codes; a character that is not a
// digit counts as 0 and an odd last character is dropped.
QString hexToAscii(const QString& hex);

// Each character to the two lower-case hexadecimal digits of its code. Characters that do not
// fit in one byte (beyond Latin-1) have no code: nullopt.
std::optional<QString> asciiToHex(const QString& text);

// Only 0-9, A-F, a-f.
bool isHexText(const QString& text);

} // namespace pages
