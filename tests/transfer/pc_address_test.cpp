// The PC address a transfer page gives the device, and the interface list it is chosen from.
#include "platform/net_interface.h"
#include "transfer/pc_address.h"

#include <gtest/gtest.h>

namespace {

QvNetInterface iface(const char* address, const char* mask) {
    QvNetInterface i;
    i.address = address;
    i.netmask = mask;
    i.up = true;
    return i;
}

TEST(PcAddress, FirstInterfaceOnTheDevicesSubnetIsChosen) {
    struct Case {
        const char* what;
        QList<QvNetInterface> interfaces;
        const char* device;
        const char* mask;
        const char* expected;
    };
    const QList<QvNetInterface> two = {iface("10.0.0.2", "255.0.0.0"),
                                       iface("192.168.0.10", "255.255.255.0")};
    const Case cases[] = {
        {"second of two", two, "192.168.0.50", "255.255.255.0", "192.168.0.10"},
        {"first of two", two, "10.20.30.40", "255.0.0.0", "10.0.0.2"},
        {"no interface on the subnet", two, "172.16.0.5", "255.255.0.0", ""},
        // The device's mask covers all four octets: .50 and .10 share the lower half of /25.
        {"mask 255.255.255.128, same half", two, "192.168.0.50", "255.255.255.128", "192.168.0.10"},
        {"mask 255.255.255.128, other half",
         {iface("192.168.0.200", "255.255.255.128")},
         "192.168.0.50",
         "255.255.255.128",
         ""},
        {"both match: the first wins",
         {iface("192.168.0.7", "255.255.255.0"), iface("192.168.0.8", "255.255.255.0")},
         "192.168.0.50",
         "255.255.255.0",
         "192.168.0.7"},
        // The interface's network is taken with its own mask: 192.168.1.10/16 is 192.168.0.0,
        // which is the device's network under the device's mask.
        {"interface mask wider than the device's",
         {iface("192.168.1.10", "255.255.0.0")},
         "192.168.0.50",
         "255.255.255.0",
         "192.168.1.10"},
        {"unknown device address", two, "", "255.255.255.0", ""},
        {"unknown device mask", two, "192.168.0.50", "", ""},
        {"malformed device address", two, "192.168.0", "255.255.255.0", ""},
        {"octet out of range", two, "192.168.0.256", "255.255.255.0", ""},
        {"unparsable interface passed over",
         {iface("junk", "255.255.255.0"), iface("192.168.0.10", "255.255.255.0")},
         "192.168.0.50",
         "255.255.255.0",
         "192.168.0.10"},
        {"no interfaces", {}, "192.168.0.50", "255.255.255.0", ""},
        {"loopback for a device on loopback",
         {iface("127.0.0.1", "255.0.0.0")},
         "127.0.0.1",
         "255.255.255.0",
         "127.0.0.1"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(qv::pcAddressOnSubnet(c.device, c.mask, c.interfaces).toStdString(),
                  std::string(c.expected))
            << c.what;
}

TEST(PcAddress, UsesThePlatformListAndAtMostTenInterfaces) {
    QList<QvNetInterface> many;
    for (int i = 1; i <= 12; ++i)
        many.append(iface(qPrintable(QStringLiteral("10.0.%1.1").arg(i)), "255.255.255.0"));
    platform::setLocalInterfacesOverride(many);
    EXPECT_EQ(platform::localInterfaces().size(), platform::kMaxNetInterfaces);
    EXPECT_EQ(qv::pcAddressOnSubnet("10.0.10.99", "255.255.255.0"), "10.0.10.1");
    EXPECT_EQ(qv::pcAddressOnSubnet("10.0.11.99", "255.255.255.0"), "")
        << "the eleventh interface is beyond the platform's list";
    platform::setLocalInterfacesOverride(std::nullopt);
}

TEST(NetInterfaces, SystemListHoldsDottedIPv4EntriesIncludingLoopback) {
    const auto list = platform::localInterfaces();
    ASSERT_FALSE(list.isEmpty());
    EXPECT_LE(list.size(), platform::kMaxNetInterfaces);
    bool loopback = false;
    for (const QvNetInterface& i : list) {
        EXPECT_EQ(i.address.count('.'), 3) << i.address.toStdString();
        EXPECT_EQ(i.netmask.count('.'), 3) << i.netmask.toStdString();
        if (i.address == "127.0.0.1") {
            loopback = true;
            EXPECT_TRUE(i.loopback);
            EXPECT_TRUE(i.up);
            EXPECT_EQ(i.netmask, "255.0.0.0");
        }
    }
    EXPECT_TRUE(loopback);
}

} // namespace
