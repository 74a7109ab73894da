// Channel lists and WEP key texts, shared by the radio pages.
#include "pages/common/channels.h"
#include "pages/common/wep_keys.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>
#include <QComboBox>

namespace {

struct FillCase {
    const char* name;
    QString list;
    QString value;
    QStringList items;
    bool found;
    int selected;
};

TEST(ChannelList, FillsTheComboAndSelectsTheValueWhenListed) {
    const FillCase cases[] = {
        {"single blanks", "1 6 11", "6", {"1", "6", "11"}, true, 1},
        {"runs of blanks", "1  6   11", "11", {"1", "6", "11"}, true, 2},
        {"leading and trailing blanks", "  1 6 ", "1", {"1", "6"}, true, 0},
        {"value not listed", "1 6 11", "3", {"1", "6", "11"}, false, 0},
        {"empty list", "", "6", {}, false, -1},
    };
    for (const FillCase& c : cases) {
        SCOPED_TRACE(c.name);
        QComboBox combo;
        combo.addItems({"old", "items"});
        combo.setCurrentIndex(1);
        EXPECT_EQ(pages::fillChannelCombo(&combo, c.list, c.value), c.found);
        QStringList items;
        for (int i = 0; i < combo.count(); ++i)
            items << combo.itemText(i);
        EXPECT_EQ(items, c.items);
        EXPECT_EQ(combo.currentIndex(), c.selected);
    }
    EXPECT_EQ(pages::channelsOf(pages::kDefaultChannelList).size(), 11);
}

TEST(WepKeys, HexAndAsciiForms) {
    EXPECT_EQ(pages::hexToAscii("6b77393130"), "kw910");
    EXPECT_EQ(pages::hexToAscii("6B77"), "kw");
    EXPECT_EQ(pages::hexToAscii("6b7"), "k");                      // odd last digit dropped
    EXPECT_EQ(pages::hexToAscii("zz41"), QString(QChar(0)) + "A"); // not a digit counts as 0
    EXPECT_EQ(pages::asciiToHex("kw910"), QString("6b77393130"));
    EXPECT_EQ(pages::asciiToHex(QString::fromUtf8("caf\xc3\xa9")), QString("636166e9"));
    EXPECT_EQ(pages::asciiToHex(QString::fromUtf8("\xe2\x82\xac")), std::nullopt); // no byte
    EXPECT_EQ(pages::asciiToHex(""), QString(""));
}

TEST(WepKeys, MaskAndDigitTests) {
    EXPECT_TRUE(pages::isMaskedKey("**********"));
    EXPECT_FALSE(pages::isMaskedKey(""));
    EXPECT_FALSE(pages::isMaskedKey("****1*****"));
    EXPECT_TRUE(pages::isHexText("0123456789abcdefABCDEF"));
    EXPECT_FALSE(pages::isHexText("12345g7890"));
    EXPECT_FALSE(pages::isHexText("*****"));
}

} // namespace
