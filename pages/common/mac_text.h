#pragma once
// MAC addresses as the device lists them in its slot tables: twelve upper-case hex digits without
// separators, a free slot all zeros.
#include <QString>

namespace pages {

inline const QString kFreeMac = QStringLiteral("000000000000");

// Whether the MAC text the operator entered matches a stored one: each entered character equals
// the stored character, or is its lower-case letter.
bool macMatches(const QString& stored, const QString& entered);

} // namespace pages
