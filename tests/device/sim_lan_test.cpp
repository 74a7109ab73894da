// The simulated device's DHCP server slots and leases and its restart after a LAN change, seen
// through net-snmp's own command-line tools.
#include "tests/support/sim_fixture.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>

using kwtest::SimDevice;
using kwtest::snmpGetValue;
using kwtest::snmpSetV2c;

namespace {

const QString kDevMib = "1.3.6.1.4.1.32473.1";

QString slotCell(int column, int slot) {
    return kDevMib + QString(".2.7.3.1.%1.%2").arg(column).arg(slot);
}
QString staticLease(int column, int slot) {
    return kDevMib + QString(".2.7.4.2.1.%1.%2").arg(column).arg(slot);
}

TEST(SimLan, StaticSlotsHoldEachAddressAndMacOnceAndFreeSlotsReadEmpty) {
    SimDevice sim({"recent", 1});
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    // Slot 1 holds 192.168.0.20 / 000F3D0000A1 and is ON; slot 3 holds 192.168.0.30 and is OFF.
    EXPECT_EQ(snmpGetValue(sim, slotCell(1, 2)), "IpAddress: 0.0.0.0");
    EXPECT_EQ(snmpGetValue(sim, staticLease(2, 1)), "IpAddress: 192.168.0.20");
    EXPECT_EQ(snmpGetValue(sim, staticLease(2, 3)), "IpAddress: 0.0.0.0");

    struct Case {
        const char* name;
        QStringList varbinds;
        bool accepted;
    };
    const Case cases[] = {
        {"another slot's MAC",
         {slotCell(1, 2), "a", "192.168.0.40", slotCell(2, 2), "x", "000F3D0000A1"},
         false},
        {"another slot's address",
         {slotCell(1, 2), "a", "192.168.0.20", slotCell(2, 2), "x", "000F3D0000C3"},
         false},
        {"its own MAC again",
         {slotCell(1, 1), "a", "192.168.0.21", slotCell(2, 1), "x", "000F3D0000A1"},
         true},
        {"a new entry in a free slot",
         {slotCell(1, 2), "a", "192.168.0.40", slotCell(2, 2), "x", "000F3D0000C3", slotCell(8, 2),
          "i", "1"},
         true},
    };
    for (const Case& c : cases) {
        auto r = snmpSetV2c(sim, c.varbinds);
        EXPECT_EQ(r.exitCode == 0, c.accepted) << c.name << ": " << r.err.toStdString();
    }
    EXPECT_EQ(snmpGetValue(sim, staticLease(2, 2)), "IpAddress: 192.168.0.40");
    EXPECT_EQ(snmpGetValue(sim, staticLease(1, 2)), "Hex-STRING: 00 0F 3D 00 00 C3");

    // An address of 0.0.0.0 frees the slot whole; then its MAC may go elsewhere.
    ASSERT_EQ(snmpSetV2c(sim, {slotCell(1, 1), "a", "0.0.0.0"}).exitCode, 0);
    EXPECT_EQ(snmpGetValue(sim, slotCell(2, 1)), "Hex-STRING: 00 00 00 00 00 00");
    EXPECT_EQ(snmpGetValue(sim, slotCell(8, 1)), "INTEGER: 0");
    EXPECT_EQ(snmpGetValue(sim, staticLease(2, 1)), "IpAddress: 0.0.0.0");
    EXPECT_EQ(
        snmpSetV2c(sim, {slotCell(1, 4), "a", "192.168.0.50", slotCell(2, 4), "x", "000F3D0000A1"})
            .exitCode,
        0);
}

TEST(SimLan, ARestartAskedWithALanChangeWaitsForTheNextRequestAndKeepsTheSocket) {
    SimDevice sim({"early", 1});
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    const QString address = kDevMib + ".1.2.2.0";
    ASSERT_EQ(snmpSetV2c(sim, {address, "a", "10.1.1.5", kDevMib + ".3.2.1.0", "i", "1"}).exitCode,
              0);
    // The next request of the same change is still answered ...
    EXPECT_EQ(snmpSetV2c(sim, {kDevMib + ".1.2.5.0", "i", "1"}).exitCode, 0);
    // ... then the device restarts and comes back, on the same socket, with the new address.
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(SimDevice::waitUntil(
        [&] {
            for (const auto& line : sim.journal())
                if (line["event"].toString() == "restart")
                    return true;
            return false;
        },
        3000));
    ASSERT_TRUE(SimDevice::waitUntil(
        [&] { return snmpGetValue(sim, kDevMib + ".4.1.1.4.0") == "IpAddress: 10.1.1.5"; }, 8000));
}

} // namespace
