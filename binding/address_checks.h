#pragma once
// The two checks of dotted IPv4 texts that pages apply to address fields, and the numeric form
// used wherever addresses are compared (pools, ranges): a.b.c.d is ((a*256+b)*256+c)*256+d,
// compared without sign.
#include <optional>
#include <QString>
#include <QtGlobal>

namespace qv {

// Four decimal fields 0..255 separated by exactly three dots, nothing else.
std::optional<quint32> addressToNumber(const QString& text);
QString numberToAddress(quint32 value);

// A unicast host address: fields in 1..223, 0..255, 0..255, 1..254.
bool isHostAddress(const QString& text);

// A contiguous mask from 192.0.0.0 to 255.255.255.254: first field 1..255, no field equal to 1,
// ones followed by zeros with the two highest bits set and the lowest bit clear.
bool isSubnetMask(const QString& text);

} // namespace qv
