#pragma once
// The address a transfer page gives the device as its TFTP server: the PC's address on the
// device's subnet.
#include "platform/net_interface.h"

#include <QList>
#include <QString>

namespace qv {

// Shown when no local interface lies on the device's subnet; the transfer does not start.
inline constexpr const char* kNoServerAddressText = "Invalid Server IP Address or SNMP timed out!";

// The first interface whose address AND its own netmask equals the device's address AND the
// device's mask (all four octets). Empty when none matches, or when the device's address or mask
// is not dotted IPv4 text (not known yet). Interfaces whose texts do not parse are passed over.
QString pcAddressOnSubnet(const QString& deviceAddress, const QString& deviceMask,
                          const QList<QvNetInterface>& interfaces);
// The same over the platform's interface list.
QString pcAddressOnSubnet(const QString& deviceAddress, const QString& deviceMask);

} // namespace qv
