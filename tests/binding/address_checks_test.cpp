#include "binding/address_checks.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* text;
    bool expected;
};

TEST(AddressChecks, HostAddress) {
    const Case cases[] = {
        {"192.168.0.50", true},      {"223.255.255.254", true}, {"1.0.0.1", true},
        {"10.0.0.255", false},       {"224.0.0.1", false},      {"0.1.2.3", false},
        {".1.2.3", false},           {"1.2.3", false},          {"1.2.3.4.5", false},
        {"10.0.0.0", false},         {"10..0.1", false},        {"10.0.0.1.", false},
        {"10.0.0.x", false},         {"10.0.0.-1", false},      {"10.0.0.+1", false},
        {" 10.0.0.1", false},        {"10.256.0.1", false},     {"", false},
        {"4294967306.0.0.1", false}, {"010.000.000.001", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::isHostAddress(c.text), c.expected) << c.text;
}

TEST(AddressChecks, SubnetMask) {
    const Case cases[] = {
        {"255.255.255.0", true},   {"255.255.128.0", true},   {"192.0.0.0", true},
        {"255.255.255.254", true}, {"255.255.255.252", true}, {"255.255.255.255", false},
        {"128.0.0.0", false},      {"3.0.0.0", false},        {"255.0.255.0", false},
        {"255.255.1.0", false},    {"0.0.0.0", false},        {"255.255.255", false},
        {"255.255.0.255", false},  {"254.0.0.0", true},       {"255.255.255.0.", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::isSubnetMask(c.text), c.expected) << c.text;
}

TEST(AddressChecks, NumbersCompareWithoutSign) {
    const auto high = qv::addressToNumber("200.0.0.1");
    const auto low = qv::addressToNumber("100.0.0.1");
    ASSERT_TRUE(high && low);
    EXPECT_GT(*high, *low); // above 2^31 still greater
    EXPECT_EQ(*high, 0xC8000001u);
    EXPECT_EQ(qv::numberToAddress(*high), "200.0.0.1");
    EXPECT_FALSE(qv::addressToNumber("1.2.3.256"));
    EXPECT_FALSE(qv::addressToNumber("1.2.3"));
    EXPECT_EQ(qv::addressToNumber("0.0.0.0"), 0u);
}

} // namespace
