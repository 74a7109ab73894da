#include "transfer/pc_address.h"

#include <algorithm>
#include <optional>
#include <QStringList>

namespace qv {
namespace {
// Strict dotted quad: four decimal octets 0..255, nothing else.
std::optional<quint32> dotted(const QString& text) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 value = 0;
    for (const QString& p : parts) {
        if (p.isEmpty() || p.size() > 3)
            return std::nullopt;
        if (!std::all_of(p.begin(), p.end(),
                         [](QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }))
            return std::nullopt;
        const uint octet = p.toUInt();
        if (octet > 255)
            return std::nullopt;
        value = (value << 8) | octet;
    }
    return value;
}
} // namespace

QString pcAddressOnSubnet(const QString& deviceAddress, const QString& deviceMask,
                          const QList<QvNetInterface>& interfaces) {
    const auto device = dotted(deviceAddress);
    const auto mask = dotted(deviceMask);
    if (!device || !mask)
        return {};
    const quint32 network = *device & *mask;
    for (const QvNetInterface& iface : interfaces) {
        const auto address = dotted(iface.address);
        const auto ownMask = dotted(iface.netmask);
        if (address && ownMask && (*address & *ownMask) == network)
            return iface.address.trimmed();
    }
    return {};
}

QString pcAddressOnSubnet(const QString& deviceAddress, const QString& deviceMask) {
    return pcAddressOnSubnet(deviceAddress, deviceMask, platform::localInterfaces());
}

} // namespace qv
