// The simulated device's management limits, seen through net-snmp's own command-line tools: a
// manager address range whose start lies above its end is refused, the ends compared as unsigned
// numbers whether the SET carries both or one; the management VLAN ID stays within 0..4095.
#include "tests/support/sim_fixture.h"

#include <gtest/gtest.h>

using kwtest::SimDevice;
using kwtest::snmpGetValue;
using kwtest::snmpSetV2c;

namespace {

const QString kDevMib = "1.3.6.1.4.1.32473.1";

QString rangeEnd(int column, int row) {
    return kDevMib + QString(".3.1.9.1.%1.%2").arg(column).arg(row);
}
QString from(int row) {
    return rangeEnd(2, row);
}
QString to(int row) {
    return rangeEnd(3, row);
}

TEST(SimAdmin, ARangeWhoseStartLiesAboveItsEndIsRefused) {
    SimDevice sim({"recent", 1});
    ASSERT_TRUE(sim.ok()) << sim.error().toStdString();
    struct Case {
        const char* name;
        QStringList varbinds;
        bool accepted;
    };
    const Case cases[] = {
        {"both ends in order", {from(1), "a", "10.0.0.1", to(1), "a", "10.0.0.9"}, true},
        {"both ends reversed", {from(2), "a", "10.0.0.9", to(2), "a", "10.0.0.1"}, false},
        {"an end below the start held", {to(1), "a", "10.0.0.0"}, false},
        {"a start above the end held", {from(1), "a", "10.0.0.10"}, false},
        {"a start equal to the end held", {from(1), "a", "10.0.0.9"}, true},
        // Compared as signed numbers, 200.x would lie below 10.x.
        {"a start above 127.255.255.255",
         {from(2), "a", "200.0.0.1", to(2), "a", "10.0.0.1"},
         false},
        {"a free row", {from(3), "a", "0.0.0.0", to(3), "a", "0.0.0.0"}, true},
        {"VLAN ID 4095", {kDevMib + ".3.1.8.2.0", "i", "4095"}, true},
        {"VLAN ID 4096", {kDevMib + ".3.1.8.2.0", "i", "4096"}, false},
    };
    for (const Case& c : cases) {
        auto r = snmpSetV2c(sim, c.varbinds);
        EXPECT_EQ(r.exitCode == 0, c.accepted) << c.name << ": " << r.err.toStdString();
    }
    EXPECT_EQ(snmpGetValue(sim, from(1)), "IpAddress: 10.0.0.9");
    EXPECT_EQ(snmpGetValue(sim, to(1)), "IpAddress: 10.0.0.9");
    EXPECT_EQ(snmpGetValue(sim, from(2)), "IpAddress: 0.0.0.0");
    EXPECT_EQ(snmpGetValue(sim, kDevMib + ".3.1.8.2.0"), "INTEGER: 4095");
}

} // namespace
