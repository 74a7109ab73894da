#pragma once
// The local network interfaces as the transfer pages see them: IPv4 address and netmask as dotted
// text and the five interface flags. The system list is read through QNetworkInterface; tests
// install a list of their own so that the choice of the PC address can be checked without
// depending on the machine's interfaces.
#include <optional>
#include <QList>
#include <QString>

struct QvNetInterface {
    QString address; // dotted IPv4
    QString netmask; // dotted IPv4
    bool up = false;
    bool broadcast = false;
    bool loopback = false;
    bool pointToPoint = false;
    bool multicast = false;
};

namespace platform {

// The platform never reports more than this many interfaces.
inline constexpr int kMaxNetInterfaces = 10;

// The first kMaxNetInterfaces IPv4 entries of the system (one record per IPv4 address of an
// interface), or the list a test installed, cut to the same length.
QList<QvNetInterface> localInterfaces();

// Tests only: replaces the system list until called again with std::nullopt.
void setLocalInterfacesOverride(std::optional<QList<QvNetInterface>> interfaces);

} // namespace platform
