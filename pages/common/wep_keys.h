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

// The characters a key must have by its type (0 HEX, 1 ASCII) and size (0 "64 Bits",
// 1 "128 Bits", 2 "152 Bits"): HEX 10, 26, 32; ASCII 5, 13, 16. 0 for any other choice.
int wepKeyLength(int type, int size);

// "The Length of the 2nd key in IEEE802.11g must be 10!" for key 1 (0-based) of that type and
// size; ASCII "152 Bits" keeps the device generation's "Lengh".
QString wepKeyLengthMessage(int key, int type, int size);

} // namespace pages
