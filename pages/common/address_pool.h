#pragma once
// Addresses as numbers, for the pool checks of the LAN and DHCP pages.
//
//   pages::dottedNumber("192.168.0.100") == 0xC0A80064   (a plain number gives its own value)
//   pages::inPool(address, start, range)                 start <= address < start + range
//
// Comparisons are unsigned and in 64 bits, so a pool above 2^31 (or one that reaches past the
// top of the address space) is judged like any other.
#include <QString>
#include <QtGlobal>

namespace pages {

// The text's fields between dots, each a decimal number (a field that is no number counts as
// 0), shifted together 8 bits apart; a text without dots is its own decimal value. Wraps modulo
// 2^32 like the 32-bit sum it stands for.
quint32 dottedNumber(const QString& text);

// Whether `address` lies in the `range` addresses from `start` on (all three as texts, through
// dottedNumber).
bool inPool(const QString& address, const QString& start, const QString& range);

} // namespace pages
