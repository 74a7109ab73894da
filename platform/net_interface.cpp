#include "platform/net_interface.h"

#include <QHostAddress>
#include <QNetworkAddressEntry>
#include <QNetworkInterface>

namespace platform {
namespace {
std::optional<QList<QvNetInterface>>& overrideList() {
    static std::optional<QList<QvNetInterface>> list;
    return list;
}

QList<QvNetInterface> systemInterfaces() {
    QList<QvNetInterface> result;
    const auto all = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& iface : all) {
        const auto flags = iface.flags();
        for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
            if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol)
                continue;
            QvNetInterface rec;
            rec.address = entry.ip().toString();
            rec.netmask = entry.netmask().toString();
            rec.up = flags.testFlag(QNetworkInterface::IsUp);
            rec.broadcast = flags.testFlag(QNetworkInterface::CanBroadcast);
            rec.loopback = flags.testFlag(QNetworkInterface::IsLoopBack);
            rec.pointToPoint = flags.testFlag(QNetworkInterface::IsPointToPoint);
            rec.multicast = flags.testFlag(QNetworkInterface::CanMulticast);
            result.append(rec);
            if (result.size() == kMaxNetInterfaces)
                return result;
        }
    }
    return result;
}
} // namespace

QList<QvNetInterface> localInterfaces() {
    if (const auto& injected = overrideList())
        return injected->mid(0, kMaxNetInterfaces);
    return systemInterfaces();
}

void setLocalInterfacesOverride(std::optional<QList<QvNetInterface>> interfaces) {
    overrideList() = std::move(interfaces);
}

} // namespace platform
