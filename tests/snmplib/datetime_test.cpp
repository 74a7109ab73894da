#include "snmplib/datetime.h"

#include "tests/snmplib/raised_code.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>
#include <QDateTime>

namespace {

TEST(QvDateTime, TextReadsAndPrints) {
    const struct {
        const char* text;
        const char* printed;
        char direction;
    } cases[] = {
        {"2008-8-22,13:5:0.0,+8:0", "2008-8-22,13:5:0.0,+8:0", '+'},
        {"2008-8-22,13:5:0.0", "2008-8-22,13:5:0.0", '+'},
        {"2008-8-22,13:5:0.0,-5:30", "2008-8-22,13:5:0.0,-5:30", '-'},
        {"2008-8-22,13:5:0.0,+0:0", "2008-8-22,13:5:0.0", '+'},
        // The offset read by a failed attempt stays.
        {"2008-8-22,13:5:0.0,+8", "2008-8-22,13:5:0.0,+8:0", '+'},
        {"2008-8-22,13:5:0.0,-3", "2008-8-22,13:5:0.0,+3:0", '+'},
        {"2008-08-22, 13:05:00.9", "2008-8-22,13:5:0.9", '+'},
        {"2008-8-22", "2008-8-22,0:0:0.0", '+'},
        {"garbage", "0-0-0,0:0:0.0", '+'},
        // Numbers are cut to the width of their field.
        {"2008-300-1,0:0:0.0", "2008-44-1,0:0:0.0", '+'},
        {"70000-1-1,0:0:0.0", "4464-1-1,0:0:0.0", '+'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const QvDateTime dt(QString::fromLatin1(c.text));
        EXPECT_EQ(dt.ToText(), QString::fromLatin1(c.printed));
        EXPECT_EQ(dt.direction, c.direction);
    }
}

TEST(QvDateTime, FieldsOfAFullText) {
    const QvDateTime dt(QStringLiteral("2008-8-22,13:5:7.3,-5:30"));
    EXPECT_EQ(dt.year, 2008);
    EXPECT_EQ(dt.month, 8);
    EXPECT_EQ(dt.day, 22);
    EXPECT_EQ(dt.hour, 13);
    EXPECT_EQ(dt.minutes, 5);
    EXPECT_EQ(dt.seconds, 7);
    EXPECT_EQ(dt.deciSeconds, 3);
    EXPECT_EQ(dt.direction, '-');
    EXPECT_EQ(dt.hoursFromUtc, 5);
    EXPECT_EQ(dt.minutesFromUtc, 30);
}

TEST(QvDateTime, OctetsCarryTheYearMostSignificantByteFirst) {
    const QvDateTime dt(QStringLiteral("2008-8-22,13:5:0.0,+8:0"));
    const QByteArray octets = dt.ToOctets();
    EXPECT_EQ(octets, QByteArray::fromHex("07d808160d0500002b0800"));
    EXPECT_EQ(QvDateTime::FromOctets(octets), dt);
    // Only the first 11 octets count.
    EXPECT_EQ(QvDateTime::FromOctets(octets + QByteArray("xyz")), dt);
    EXPECT_EQ(RaisedCode([&] { QvDateTime::FromOctets(octets.left(10)); }), -518);
}

TEST(QvDateTime, DirectionOtherThanPlusOrMinusHidesTheOffset) {
    QvDateTime dt = QvDateTime::FromOctets(QByteArray::fromHex("07d808160d050000000800"));
    EXPECT_EQ(dt.ToText(), QStringLiteral("2008-8-22,13:5:0.0"));
}

TEST(QvDateTime, DefaultIsTheLocalClockWithoutOffset) {
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QvDateTime now;
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);
    const QDateTime read(QDate(now.year, now.month, now.day),
                         QTime(now.hour, now.minutes, now.seconds));
    EXPECT_GE(read, before.addMSecs(-before.time().msec()));
    EXPECT_LE(read, after);
    EXPECT_EQ(now.deciSeconds, 0);
    EXPECT_EQ(now.direction, '+');
    EXPECT_EQ(now.hoursFromUtc, 0);
    EXPECT_EQ(now.minutesFromUtc, 0);
}

} // namespace
