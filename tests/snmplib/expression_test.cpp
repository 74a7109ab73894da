#include "snmplib/expression.h"

#include "tests/snmplib/raised_code.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>
#include <QDateTime>

namespace {

using qv::EvaluateArithmetic;
using qv::EvaluateLogical;

TEST(Arithmetic, PrecedenceAssociativityAndGroups) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"42", 42},       {"1.5", 1.5},   {"2e3", 2000},    {"1+2*3", 7},
        {"(1+2)*3", 9},   {"10-2-3", 5}, // left to right
        {"100/10/5", 2},  {"10-2+3", 11}, {"-3*2", -6},     {"2*-3", -6},
        {" 7 - - 2 ", 9}, {"((4))", 4},   {"1e-2+1", 1.01}, {"3/2", 1.5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_DOUBLE_EQ(EvaluateArithmetic(QString::fromLatin1(c.text)), c.value);
    }
}

TEST(Arithmetic, NowIsTodayAsDays) {
    const double before = qv::NowAsDays();
    const double now = EvaluateArithmetic(QStringLiteral("NOW"));
    const double tomorrow = EvaluateArithmetic(QStringLiteral("NOW+1"));
    EXPECT_GE(now, before);
    EXPECT_NEAR(tomorrow - now, 1.0, 1e-6);
    // 2026 is well past day 40000 (2009-07-06).
    EXPECT_GT(now, 40000.0);
    EXPECT_EQ(static_cast<qint64>(now), QDate(1899, 12, 30).daysTo(QDate::currentDate()));
}

TEST(Arithmetic, MalformedOrNotFiniteIsBadExpression) {
    for (const char* text : {"", "1+", "(1+2", "1+2)", "abc", "1 2", "1/0", "0/0", "$1+1", "now"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(RaisedCode([&] { EvaluateArithmetic(QString::fromLatin1(text)); }), -513);
    }
}

TEST(Logical, OperatorsGroupsAndQuotes) {
    const struct {
        const char* text;
        bool value;
    } cases[] = {
        {"true", true},
        {"false", false},
        {"!false", true},
        {"!!true", true},
        {"true|false", true},
        {"false|false", false},
        {"true&false", false},
        {"false&true|true", true}, // "&" binds tighter than "|"
        {"!(true&false)", true},
        {"(false|true)&true", true},
        {"1<2", true},
        {"2<=2", true},
        {"3>=4", false},
        {"10>9", true}, // numbers, not texts
        {"10<9.5", false},
        {"abc=abc", true},
        {"\"a b\" = a b", true},
        {"\"x|y\"=\"x|y\"", true}, // quoted text is literal
        {"\"a&b\"<>\"a&c\"", true},
        {"10=10.0", false}, // "=" compares texts
        {"NOW>40000", true},
        {"(1<2)=true", true},
        {" 1 < 2 & 3 > 2 ", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(EvaluateLogical(QString::fromLatin1(c.text)), c.value);
    }
}

TEST(Logical, RightSideIsEvaluatedOnlyWhenNeeded) {
    // The right side would be a bad operand if it were looked at.
    EXPECT_TRUE(EvaluateLogical(QStringLiteral("true|nonsense")));
    EXPECT_FALSE(EvaluateLogical(QStringLiteral("false&nonsense")));
}

TEST(Logical, BadOperandIsRaisedWithItsText) {
    for (const char* text : {"maybe", "", "TRUE", "a<b", "1<", "(true"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(RaisedCode([&] { EvaluateLogical(QString::fromLatin1(text)); }), -1);
    }
    try {
        EvaluateLogical(QStringLiteral("maybe"));
        FAIL() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.text(), QStringLiteral("(QvCommon) Bad logic operand!"));
    }
}

} // namespace
