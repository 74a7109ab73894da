// Addresses as numbers for the pool checks: the lenient dotted form and the unsigned range test.
#include "pages/common/address_pool.h"

#include <gtest/gtest.h>

namespace {

TEST(AddressPool, DottedTextsBecomeNumbersFieldByField) {
    struct Case {
        const char* text;
        quint32 number;
    };
    const Case cases[] = {
        {"192.168.0.100", 0xC0A80064u},
        {"255.255.255.255", 0xFFFFFFFFu},
        {"128.0.0.0", 0x80000000u},
        {"20", 20u},               // a pool size: its own value
        {"", 0u},                  // an empty field counts as 0
        {"10.x.0.1", 0x0A000001u}, // so does a field that is no number
        {"1.2.3", 0x010203u},      // three fields are shifted twice
    };
    for (const Case& c : cases)
        EXPECT_EQ(pages::dottedNumber(c.text), c.number) << c.text;
}

TEST(AddressPool, PoolMembershipIsUnsignedAndReachesPastTheTop) {
    struct Case {
        const char* address;
        const char* start;
        const char* range;
        bool inside;
    };
    const Case cases[] = {
        {"192.168.0.10", "192.168.0.10", "5", true},
        {"192.168.0.14", "192.168.0.10", "5", true},
        {"192.168.0.15", "192.168.0.10", "5", false},
        {"192.168.0.9", "192.168.0.10", "5", false},
        {"192.168.0.10", "192.168.0.10", "0", false},
        {"128.0.0.2", "127.255.255.250", "10", true}, // the pool crosses 2^31
        {"127.255.255.249", "127.255.255.250", "10", false},
        {"10.0.0.1", "200.0.0.1", "255", false},            // start above 2^31, address below
        {"255.255.255.255", "255.255.255.250", "20", true}, // the end lies past 2^32
        {"0.0.0.3", "255.255.255.250", "20", false},        // and does not wrap round
    };
    for (const Case& c : cases)
        EXPECT_EQ(pages::inPool(c.address, c.start, c.range), c.inside)
            << c.address << " in " << c.start << "+" << c.range;
}

} // namespace
