#include "snmplib/value_format.h"

#include "snmplib/syntax.h"
#include "tests/snmplib/raised_code.h"
#include "tests/support/qt_printers.h"

#include <clocale>
#include <gtest/gtest.h>
#include <limits>
#include <QLocale>

using namespace qv;

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

struct TextCase {
    int syntax;
    const char* text;
    const char* raw; // hex
};

// Text -> raw by the rules of each syntax, including the tolerant readings of operator input.
const TextCase kTextToRaw[] = {
    {QvSyntax::boolean, "true", "01000000"},
    {QvSyntax::boolean, "True", "00000000"}, // letter case counts
    {QvSyntax::boolean, "(NULL)", ""},
    {QvSyntax::integer, "-1", "ffffffff"},
    {QvSyntax::integer, "  +42abc", "2a000000"},
    {QvSyntax::integer, "abc", "00000000"},
    {QvSyntax::integer, "(NULL)", ""},
    {QvSyntax::counter, "4294967295", "ffffffff"},
    {QvSyntax::uinteger, "65536", "00000100"},
    {QvSyntax::octetstr, "0A1", "00a1"},
    {QvSyntax::octetstr, "0a 1b", "0a1b"},
    {QvSyntax::octetstr, "zz", "00"},
    {QvSyntax::macaddress, "00:11", "000011"}, // ':' counts as 0
    {QvSyntax::objectid, "1.3.6", "010000000300000006000000"},
    {QvSyntax::objectid, ".1.3", "0100000003000000"},
    {QvSyntax::ipaddress, "192.168.0.1", "c0a80001"},
    {QvSyntax::nsapaddr, " 10.0.0.255 ", "0a0000ff"},
    {QvSyntax::ipaddress, "", ""},
    {QvSyntax::timeticks, "0:01:05.50", "96190000"},
    {QvSyntax::timeticks, "1 day 0:00:00.00", "00d68300"},
    {QvSyntax::timeticks, "2 days, 0:00:00.01", "01ac0701"},
    {QvSyntax::timeticks, "6550", "96190000"}, // a bare count of hundredths
    {QvSyntax::timeticks, "1:", "407e0500"},   // missing parts add nothing
    {QvSyntax::counter64, "18446744073709551615", "ffffffffffffffff"},
    {QvSyntax::counter64, "4294967296", "0000000001000000"},
    {QvSyntax::counter64, "-5", "0000000000000000"},
    {QvSyntax::double_, "1.5", "000000000000f83f"},
    {QvSyntax::double_, " -2.5e0x", "00000000000004c0"},
    {QvSyntax::double_, "x", "0000000000000000"},
    {QvSyntax::datetime, "2008-8-22,13:5:0.0,+8:0",
     "07d808160d050000"
     "2b0800"},
    {QvSyntax::datetime, "2008-8-22,13:5:0.0,-5:30",
     "07d808160d050000"
     "2d051e"},
    {QvSyntax::bcdatetime, "1899/12/31 06:00:00 pm", "000000000000fc3f"}, // 1.75
    {QvSyntax::displaystr, "ab", "6162"},
    {QvSyntax::displaystr, "(NULL)", ""},
    {QvSyntax::null, "anything", ""},
    {QvSyntax::bool8, "true", "01"},
    {QvSyntax::int8, "-1", "ff"},
    {QvSyntax::uint8, "300", "2c"},
    {QvSyntax::bool16, "true", "0001"},
    {QvSyntax::int16, "-1", "ffff"},
    {QvSyntax::uint16, "258", "0102"},
};

TEST(TextToRaw, ReadsEverySyntax) {
    for (const TextCase& c : kTextToRaw) {
        SCOPED_TRACE(std::string(c.text) + " as " + SyntaxName(c.syntax).toStdString());
        EXPECT_EQ(TextToRaw(QString::fromUtf8(c.text), c.syntax), hex(c.raw));
    }
}

// Raw -> text, including the empty raw value and the sign rules of the small syntaxes.
const TextCase kRawToText[] = {
    {QvSyntax::boolean, "true", "02000000"},
    {QvSyntax::boolean, "false", "00000000"},
    {QvSyntax::integer, "-1", "ffffffff"},
    {QvSyntax::integer, "(NULL)", ""},
    {QvSyntax::counter, "4294967295", "ffffffff"},
    {QvSyntax::guage, "1", "0100000099"}, // bytes after the value are ignored
    {QvSyntax::timeticks, "0:01:05.50", "96190000"},
    {QvSyntax::timeticks, "1 day 0:00:00.00", "00d68300"},
    {QvSyntax::timeticks, "1 day 23:59:59.99", "ffab0701"},
    {QvSyntax::timeticks, "2 days, 0:00:00.01", "01ac0701"},
    {QvSyntax::ipaddress, "192.168.0.1", "c0a80001"},
    {QvSyntax::counter64, "4294967296", "0000000001000000"},
    {QvSyntax::counter64, "18446744073709551615", "ffffffffffffffff"},
    {QvSyntax::double_, "1.5", "000000000000f83f"},
    {QvSyntax::macaddress, "0011223344FF", "0011223344ff"},
    {QvSyntax::octetstr, "00A1", "00a1"},
    {QvSyntax::objectid, "1.3", "0100000003000000"},
    {QvSyntax::objectid, "1.2", "010000000200"}, // a short last group is zero-padded
    {QvSyntax::datetime, "2007-5-3,14:2:9.0,+8:0",
     "07d705030e020900"
     "2b0800"},
    {QvSyntax::datetime, "2007-5-3,14:2:9.0",
     "07d705030e020900"
     "2b0000"},
    {QvSyntax::datetime, "2007-5-3,14:2:9.0",
     "07d705030e020900"
     "000800"}, // no direction
    {QvSyntax::displaystr, "ab", "61620063"},
    {QvSyntax::displaystr, "", ""},
    {QvSyntax::displaystr, "\xc3\xa9", "c3a9"}, // UTF-8
    {QvSyntax::displaystr, "\xc3\xa9", "e9"},   // not UTF-8: one character per byte
    {QvSyntax::null, "(NULL)", "01"},
    {QvSyntax::bool8, "true", "02"},
    {QvSyntax::int8, "-1", "ff"},
    {QvSyntax::uint8, "255", "ff"},
    {QvSyntax::bool16, "true", "0100"},
    {QvSyntax::int16, "65535", "ffff"}, // shown without sign
    {QvSyntax::uint16, "258", "0102"},
};

TEST(RawToText, ShowsEverySyntax) {
    for (const TextCase& c : kRawToText) {
        SCOPED_TRACE(std::string(c.raw) + " as " + SyntaxName(c.syntax).toStdString());
        EXPECT_EQ(RawToText(hex(c.raw), c.syntax), QString::fromUtf8(c.text));
    }
}

TEST(RawToText, RawTooShortForTheSyntaxIsBadValue) {
    const TextCase cases[] = {
        {QvSyntax::integer, "", "010203"},
        {QvSyntax::timeticks, "", "01"},
        {QvSyntax::ipaddress, "", "c0a800"},
        {QvSyntax::counter64, "", "01020304050607"},
        {QvSyntax::double_, "", "0000f83f"},
        {QvSyntax::macaddress, "", "0011223344"},
        {QvSyntax::datetime, "", "07d705030e0209002b08"},
        {QvSyntax::bool16, "", "01"},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(SyntaxName(c.syntax).toStdString());
        EXPECT_EQ(RaisedCode([&] { RawToText(hex(c.raw), c.syntax); }), -518);
    }
}

TEST(ValueFormats, UnknownSyntaxIsBadSyntax) {
    for (int syntax : {0, 7, 63, 77, 192, 199, -1}) {
        SCOPED_TRACE(syntax);
        EXPECT_EQ(RaisedCode([&] { TextToRaw(QStringLiteral("1"), syntax); }), -511);
        EXPECT_EQ(RaisedCode([&] { RawToText(hex("01020304"), syntax); }), -511);
        EXPECT_EQ(RaisedCode([&] { ExtractPartial(hex("01020304"), 0, syntax); }), -511);
    }
    try {
        TextToRaw(QStringLiteral("1"), 7);
        FAIL() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.text(), QStringLiteral("(QvSNMP++) Bad SNMP syntax!"));
    }
}

TEST(TextToRaw, AddressThatIsNotFourNumbersIsRefused) {
    for (const char* text : {"192.168.0", "192.168.0.1.5", "256.1.1.1", "1.2.3.x", "1..2.3",
                             "-1.2.3.4", "1.2.3.4.", "0001.2.3.4", "1.2.3.4/24", "abc"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(RaisedCode([&] { TextToRaw(QString::fromLatin1(text), QvSyntax::ipaddress); }),
                  -518);
    }
}

TEST(TextToRaw, ObjectIdThatIsNotDottedNumbersIsRefused) {
    for (const char* text : {"1.3.x", "1..3", "1.3.", "mib-2", "1.4294967296"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(RaisedCode([&] { TextToRaw(QString::fromLatin1(text), QvSyntax::objectid); }),
                  -518);
    }
}

// Every text that RawToText produces reads back to the same raw value and text.
TEST(ValueFormats, OwnOutputReadsBack) {
    const TextCase cases[] = {
        {QvSyntax::boolean, "true", ""},
        {QvSyntax::integer, "-2147483648", ""},
        {QvSyntax::counter, "4294967295", ""},
        {QvSyntax::timeticks, "497 days, 2:27:52.95", ""}, // the largest value
        {QvSyntax::timeticks, "1 day 13:07:01.09", ""},
        {QvSyntax::counter64, "9007199254740993", ""}, // not exact in a double
        {QvSyntax::double_, "0.1", ""},
        {QvSyntax::double_, "-1.23456789012345e-300", ""},
        {QvSyntax::double_, "1e+20", ""},
        {QvSyntax::bcdatetime, "2008/08/22 01:05:00 pm", ""},
        {QvSyntax::bcdatetime, "2008/08/22 12:00:00 am", ""},
        {QvSyntax::bcdatetime, "2008/08/22 12:59:59 pm", ""},
        {QvSyntax::bcdatetime, "1899/12/29 06:00:00 am", ""}, // before day zero
        {QvSyntax::bcdatetime, "0001/01/01 12:00:00 am", ""},
        {QvSyntax::datetime, "2008-8-22,13:5:0.0,+8:0", ""},
        {QvSyntax::objectid, "1.3.6.1.4294967295", ""},
        {QvSyntax::ipaddress, "255.0.10.1", ""},
        {QvSyntax::macaddress, "00A0C9FFFE01", ""},
        {QvSyntax::displaystr, "Access point \xc3\xa9t\xc3\xa9", ""},
        {QvSyntax::uint16, "65535", ""},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " as " + SyntaxName(c.syntax).toStdString());
        const QString text = QString::fromUtf8(c.text);
        const QByteArray raw = TextToRaw(text, c.syntax);
        EXPECT_EQ(RawToText(raw, c.syntax), text);
        EXPECT_EQ(TextToRaw(RawToText(raw, c.syntax), c.syntax), raw);
    }
}

TEST(ValueFormats, NumbersDoNotFollowTheOperatorsLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const char* numeric = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    EXPECT_EQ(RawToText(TextToRaw(QStringLiteral("1.5"), QvSyntax::double_), QvSyntax::double_),
              QStringLiteral("1.5"));
    EXPECT_EQ(RawToDouble(TextToRaw(QStringLiteral("1,5"), QvSyntax::double_)), 1.0);
    EXPECT_EQ(RawToText(RawFromDouble(0.5), QvSyntax::bcdatetime),
              QStringLiteral("1899/12/30 12:00:00 pm"));
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(before);
    if (numeric == nullptr)
        GTEST_LOG_(INFO) << "de_DE.UTF-8 not installed: only the Qt locale was switched";
}

TEST(BcDateTime, DaysAndTimeOfDay) {
    const struct {
        double days;
        const char* text;
    } cases[] = {
        {0.0, "1899/12/30 12:00:00 am"},
        {0.5, "1899/12/30 12:00:00 pm"},
        {1.75, "1899/12/31 06:00:00 pm"},
        {-1.25, "1899/12/29 06:00:00 am"},
        {39682.0 + 13.0 / 24 + 5.0 / 1440, "2008/08/22 01:05:00 pm"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(BcDateTimeText(c.days), QString::fromLatin1(c.text));
        EXPECT_NEAR(BcDateTimeFromText(QString::fromLatin1(c.text)), c.days, 1e-9);
    }
    // Other spellings that are read as well.
    EXPECT_NEAR(BcDateTimeFromText(QStringLiteral("1899/12/31 18:00")), 1.75, 1e-9);
    EXPECT_NEAR(BcDateTimeFromText(QStringLiteral("1899/12/31 06:00:00 PM")), 1.75, 1e-9);
    EXPECT_EQ(BcDateTimeFromText(QStringLiteral("1900/01/01")), 2.0);
}

TEST(BcDateTime, UnreadableTextAndImpossibleDaysAreRefused) {
    for (const char* text : {"yesterday", "2008/13/01", "2008/02/30", "2008/08/22 13:00:00 pm",
                             "2008/08/22 24:00", "2008/08/22 10:61", "2008-08-22", ""}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(RaisedCode([&] { TextToRaw(QString::fromLatin1(text), QvSyntax::bcdatetime); }),
                  -518);
    }
    for (double days : {1e300, -1e7, std::numeric_limits<double>::quiet_NaN()}) {
        SCOPED_TRACE(days);
        EXPECT_EQ(RaisedCode([&] { RawToText(RawFromDouble(days), QvSyntax::bcdatetime); }), -518);
    }
}

TEST(ExtractPartial, TakesTheRangeOfThePartialSyntax) {
    const struct {
        const char* raw;
        int offset;
        int syntax;
        const char* part; // nullptr: out of range
    } cases[] = {
        {"01020304", 2, QvSyntax::uint16, "0304"},
        {"01020304", 3, QvSyntax::uint16, nullptr},
        {"01020304", 0, QvSyntax::integer, "01020304"},
        {"0102030405", 1, QvSyntax::integer, "02030405"},
        {"0102030405", 2, QvSyntax::integer, nullptr},
        {"0102030405060708", 0, QvSyntax::counter64, "0102030405060708"},
        {"00112233445566", 1, QvSyntax::macaddress, "112233445566"},
        {"07d705030e0209002b0800", 0, QvSyntax::datetime, "07d705030e0209002b0800"},
        {"01020304", 3, QvSyntax::uint8, "04"},
        {"01020304", 1, QvSyntax::octetstr, "020304"},
        {"01020304", 4, QvSyntax::octetstr, ""}, // at the very end: empty
        {"01020304", 5, QvSyntax::displaystr, nullptr},
        {"01020304", -1, QvSyntax::uint8, nullptr},
        {"", 7, QvSyntax::integer, ""}, // empty value: empty part
        {"01020304", 2, QvSyntax::null, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.raw) + " at " + std::to_string(c.offset));
        if (c.part == nullptr)
            EXPECT_EQ(RaisedCode([&] { ExtractPartial(hex(c.raw), c.offset, c.syntax); }), -519);
        else
            EXPECT_EQ(ExtractPartial(hex(c.raw), c.offset, c.syntax), hex(c.part));
    }
}

TEST(PutPartial, PadsThenOverwritesOnlyTheRange) {
    QByteArray raw = hex("01020304");
    PutPartial(raw, 1, hex("aabb"));
    EXPECT_EQ(raw, hex("01aabb04"));
    PutPartial(raw, 6, hex("cc"));
    EXPECT_EQ(raw, hex("01aabb040000cc"));
    QByteArray empty;
    PutPartial(empty, 0, TextToRaw(QStringLiteral("true"), QvSyntax::bool16));
    EXPECT_EQ(empty, hex("0001"));
    EXPECT_EQ(RaisedCode([&] { PutPartial(raw, -1, hex("01")); }), -519);
}

TEST(RawBits, BitZeroIsTheHighBitOfTheFirstByte) {
    const QByteArray raw = hex("8040");
    EXPECT_TRUE(RawBit(raw, 0));
    EXPECT_FALSE(RawBit(raw, 1));
    EXPECT_FALSE(RawBit(raw, 8));
    EXPECT_TRUE(RawBit(raw, 9)); // mask 0x40 of the second byte
    EXPECT_EQ(RaisedCode([&] { RawBit(raw, 16); }), -519);

    QByteArray bits;
    SetRawBit(bits, 15, true);
    EXPECT_EQ(bits, hex("0001"));
    SetRawBit(bits, 0, true);
    SetRawBit(bits, 15, false);
    EXPECT_EQ(bits, hex("8000"));
}

} // namespace
