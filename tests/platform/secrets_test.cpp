#include "platform/secrets.h"

#include <cstring>
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(CutArguments, ArgumentsThatDoNotAdjoinAreCutWhereTheyLie) {
    char first[] = "kw9100";
    char second[] = "/Asecret";
    char third[] = "/I10.0.0.5";
    std::vector<char*> argv = {first, second, third};
    const std::vector<std::size_t> keep = {SIZE_MAX, 2};
    platform::cutArguments(3, argv.data(), keep);
    EXPECT_EQ(argv[1], second);
    EXPECT_STREQ(argv[1], "/A");
    EXPECT_EQ(std::memcmp(second, "/A\0\0\0\0\0\0", sizeof second), 0);
    EXPECT_STREQ(argv[2], "/I10.0.0.5"); // past keep's end: whole
    EXPECT_STREQ(argv[0], "kw9100");
}

TEST(CutArguments, AdjoiningArgumentsMoveTogether) {
    char area[] = "a\0/Pxyz\0b\0";
    std::vector<char*> argv = {area, area + 2, area + 8};
    const std::vector<std::size_t> keep = {SIZE_MAX, 2, 99};
    platform::cutArguments(3, argv.data(), keep);
    EXPECT_EQ(std::memcmp(area, "a\0/P\0b\0\0\0\0\0", sizeof area), 0);
    EXPECT_EQ(argv[1], area + 2);
    EXPECT_EQ(argv[2], area + 5);
    EXPECT_STREQ(argv[2], "b");
}

// A copy that shares its text with another owner is let go without touching the owner's text.
TEST(Wipe, LeavesATextSharedWithAnotherOwnerToIt) {
    QString owner = QString::fromLatin1("kw9100-auth");
    QString copy = owner;
    platform::wipe(copy);
    EXPECT_TRUE(copy.isEmpty());
    EXPECT_EQ(owner, QStringLiteral("kw9100-auth"));
}

} // namespace
