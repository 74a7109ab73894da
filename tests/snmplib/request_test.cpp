// The request engine's conversions, expressions and column rule, without an agent.
#include "snmplib/request.h"

#include "snmplib/exchange.h"
#include "tests/snmplib/raised_code.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

using qv::ValueType;
using qv::VarBind;

constexpr QvOptionSource kDisableEnable[] = {{4, "Disable"}, {1, "Enable"}};

VarBind number(ValueType type, qint64 value) {
    VarBind b = VarBind::null(QStringLiteral("1.1.0"));
    b.type = type;
    b.integer = value;
    return b;
}

VarBind bytes(ValueType type, const QByteArray& value) {
    VarBind b = VarBind::null(QStringLiteral("1.1.0"));
    b.type = type;
    b.bytes = value;
    return b;
}

VarBind counter64(quint64 value) {
    VarBind b = VarBind::null(QStringLiteral("1.1.0"));
    b.type = ValueType::Counter64;
    b.counter64 = value;
    return b;
}

// A request whose only variable has the given syntax (and option list).
struct OneVariable {
    explicit OneVariable(int syntax, std::span<const QvOptionSource> options = {}) {
        const QvSNMPVarDef table[] = {
            {"1.1", "v", syntax, QvAccess::readwrite, options},
        };
        request.vars = QvSNMPVarList(table, SVT_SV, 0);
    }
    QvSNMPRequest request;
};

TEST(StoreAnswer, EverySyntaxFromItsBinding) {
    const struct {
        int syntax;
        VarBind binding;
        const char* text;
    } cases[] = {
        {QvSyntax::boolean, number(ValueType::Integer, 5), "true"},
        {QvSyntax::boolean, number(ValueType::Integer, 0), "false"},
        {QvSyntax::integer, number(ValueType::Integer, -5), "-5"},
        {QvSyntax::counter, number(ValueType::Counter32, 4294967295), "4294967295"},
        {QvSyntax::guage, number(ValueType::Gauge32, 7), "7"},
        {QvSyntax::uinteger, number(ValueType::Gauge32, 8), "8"},
        {QvSyntax::timeticks, number(ValueType::TimeTicks, 8640000), "1 day 0:00:00.00"},
        {QvSyntax::counter64, counter64(1ULL << 40), "1099511627776"},
        {QvSyntax::ipaddress, bytes(ValueType::IpAddress, QByteArray::fromHex("c0a80001")),
         "192.168.0.1"},
        {QvSyntax::ipaddress, bytes(ValueType::IpAddress, QByteArray::fromHex("c0a8")), "(NULL)"},
        {QvSyntax::objectid, bytes(ValueType::ObjectId, "1.3.6.1.4.1"), "1.3.6.1.4.1"},
        {QvSyntax::octetstr, bytes(ValueType::OctetString, QByteArray::fromHex("00a1")), "00A1"},
        {QvSyntax::octetstr, bytes(ValueType::OctetString, {}), ""}, // as it comes
        {QvSyntax::macaddress, bytes(ValueType::OctetString, QByteArray::fromHex("0011223344ff")),
         "0011223344FF"},
        {QvSyntax::displaystr, bytes(ValueType::OctetString, "KW-9100"), "KW-9100"},
        {QvSyntax::displaystr, bytes(ValueType::OctetString, {}), ""},
        {QvSyntax::displaystr, number(ValueType::Integer, -42), "-42"},
        {QvSyntax::double_, bytes(ValueType::OctetString, QByteArray::fromHex("000000000000f83f")),
         "1.5"},
        {QvSyntax::double_, bytes(ValueType::OctetString, QByteArray::fromHex("0000f83f")),
         "(NULL)"},
        {QvSyntax::datetime,
         bytes(ValueType::OctetString, QByteArray::fromHex("07d808160d0500002b0800")),
         "2008-8-22,13:5:0.0,+8:0"},
        {QvSyntax::bcdatetime,
         bytes(ValueType::OctetString, QByteArray::fromHex("000000000000fc3f")),
         "1899/12/31 06:00:00 pm"},
        {QvSyntax::null, number(ValueType::Integer, 1), "(NULL)"},
        {QvSyntax::integer, VarBind::null(QStringLiteral("1.1.0")), "(NULL)"},
        {QvSyntax::integer, bytes(ValueType::OctetString, "12"), "(NULL)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " as " + qv::SyntaxName(c.syntax).toStdString());
        OneVariable one(c.syntax);
        one.request.StoreAnswer(0, c.binding);
        EXPECT_EQ(one.request.vars.item(0).value, QString::fromUtf8(c.text));
    }
}

TEST(StoreAnswer, ValueBecomesItsLabel) {
    OneVariable one(QvSyntax::integer, kDisableEnable);
    one.request.StoreAnswer(0, number(ValueType::Integer, 1));
    EXPECT_EQ(one.request.vars.item(0).value, QStringLiteral("Enable"));
    one.request.StoreAnswer(0, number(ValueType::Integer, 9));
    EXPECT_EQ(one.request.vars.item(0).value, QStringLiteral("9"));
}

TEST(LoadBinding, EverySyntaxIntoItsBinding) {
    const struct {
        int syntax;
        const char* text;
        ValueType type;
        qint64 integer;
        QByteArray bytes;
    } cases[] = {
        {QvSyntax::boolean, "true", ValueType::Integer, 1, {}},
        {QvSyntax::boolean, "yes", ValueType::Integer, 0, {}},
        {QvSyntax::integer, "-5", ValueType::Integer, -5, {}},
        {QvSyntax::counter, "4294967295", ValueType::Counter32, 4294967295, {}},
        {QvSyntax::guage, "7", ValueType::Gauge32, 7, {}},
        {QvSyntax::uinteger, "8", ValueType::Gauge32, 8, {}},
        {QvSyntax::timeticks, "0:01:05.50", ValueType::TimeTicks, 6550, {}},
        {QvSyntax::ipaddress, "10.0.0.1", ValueType::IpAddress, 0, QByteArray::fromHex("0a000001")},
        {QvSyntax::objectid, "1.3.6", ValueType::ObjectId, 0, "1.3.6"},
        {QvSyntax::octetstr, "0A1B", ValueType::OctetString, 0, QByteArray::fromHex("0a1b")},
        {QvSyntax::macaddress, "001122334455", ValueType::OctetString, 0,
         QByteArray::fromHex("001122334455")},
        {QvSyntax::displaystr, "ab", ValueType::OctetString, 0, "ab"},
        {QvSyntax::double_, "1.5", ValueType::OctetString, 0,
         QByteArray::fromHex("000000000000f83f")},
        {QvSyntax::datetime, "2008-8-22,13:5:0.0,+8:0", ValueType::OctetString, 0,
         QByteArray::fromHex("07d808160d0500002b0800")},
        {QvSyntax::integer, "(NULL)", ValueType::Null, 0, {}},
        {QvSyntax::displaystr, "(NULL)", ValueType::Null, 0, {}},
        {QvSyntax::null, "x", ValueType::Null, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " as " + qv::SyntaxName(c.syntax).toStdString());
        OneVariable one(c.syntax);
        one.request.vars.item(0).value = QString::fromUtf8(c.text);
        VarBind b = VarBind::null(QStringLiteral("1.1.0"));
        one.request.LoadBinding(0, b);
        EXPECT_EQ(b.type, c.type);
        EXPECT_EQ(b.integer, c.integer);
        EXPECT_EQ(b.bytes, c.bytes);
    }
    OneVariable big(QvSyntax::counter64);
    big.request.vars.item(0).value = QStringLiteral("18446744073709551615");
    VarBind b = VarBind::null(QStringLiteral("1.1.0"));
    big.request.LoadBinding(0, b);
    EXPECT_EQ(b.type, ValueType::Counter64);
    EXPECT_EQ(b.counter64, 18446744073709551615ULL);
}

TEST(LoadBinding, LabelGoesOutAsItsValue) {
    OneVariable one(QvSyntax::integer, kDisableEnable);
    one.request.vars.item(0).value = QStringLiteral("disable");
    VarBind b = VarBind::null(QStringLiteral("1.1.0"));
    one.request.LoadBinding(0, b);
    EXPECT_EQ(b.type, ValueType::Integer);
    EXPECT_EQ(b.integer, 4);
}

TEST(StoreAndLoad, PartSyntaxesAndBadValuesAreRefused) {
    for (int syntax : {int(QvSyntax::int8), int(QvSyntax::uint16), 7}) {
        SCOPED_TRACE(syntax);
        OneVariable one(syntax);
        one.request.vars.item(0).value = QStringLiteral("1");
        VarBind b = VarBind::null(QStringLiteral("1.1.0"));
        EXPECT_EQ(RaisedCode([&] { one.request.LoadBinding(0, b); }), -511);
        EXPECT_EQ(RaisedCode([&] { one.request.StoreAnswer(0, number(ValueType::Integer, 1)); }),
                  -511);
    }
    OneVariable address(QvSyntax::ipaddress);
    address.request.vars.item(0).value = QStringLiteral("10.0.0");
    VarBind b = VarBind::null(QStringLiteral("1.1.0"));
    EXPECT_EQ(RaisedCode([&] { address.request.LoadBinding(0, b); }), -518);
}

// A list with one variable of each kind an expression can meet.
constexpr QvSNMPVarDef kExpressionVars[] = {
    {"1.0", "number", QvSyntax::integer, QvAccess::readwrite},
    {"1.1", "flag", QvSyntax::boolean, QvAccess::readwrite},
    {"1.2", "uptime", QvSyntax::timeticks, QvAccess::readwrite},
    {"1.3", "name", QvSyntax::displaystr, QvAccess::readwrite},
    {"1.4", "empty", QvSyntax::integer, QvAccess::readwrite},
    {"1.5", "state", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"1.6", "when", QvSyntax::bcdatetime, QvAccess::readwrite},
    {"1.7", "ratio", QvSyntax::double_, QvAccess::readwrite},
};

struct ExpressionList {
    ExpressionList() {
        request.vars = QvSNMPVarList(kExpressionVars, SVT_SV, 0);
        const char* values[] = {
            "5", "true", "0:01:05.50", "ab", "(NULL)", "Enable", "1899/12/31 06:00:00 pm", "2.5"};
        for (int i = 0; i < request.vars.count(); ++i)
            request.vars.item(i).value = QString::fromUtf8(values[i]);
    }
    QvSNMPRequest request;
};

struct ExpressionRequest : ::testing::Test, ExpressionList {};

TEST_F(ExpressionRequest, SubstituteGivesNumbersAndQuotedTexts) {
    const struct {
        const char* expression;
        bool quote;
        const char* result; // nullptr: raises `code`
        int code;
    } cases[] = {
        {"$0+1", false, "5+1", 0},    {"$0$0", false, "55", 0},
        {"$1", false, "1", 0},        {"$2", false, "6550", 0},
        {"$5", false, "1", 0}, // the value, not the label
        {"$6", false, "1.75", 0},     {"$7*2", false, "2.5*2", 0},
        {"$3", true, "\"ab\"", 0},    {"cost $ and $x", false, "cost $ and $x", 0},
        {"$3", false, nullptr, -513}, {"$4", true, nullptr, -512},
        {"$8", false, nullptr, -513},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        const QString expression = QString::fromLatin1(c.expression);
        if (c.result == nullptr)
            EXPECT_EQ(
                RaisedCode([&] { request.Substitute(expression, c.quote, QStringLiteral("$")); }),
                c.code);
        else
            EXPECT_EQ(request.Substitute(expression, c.quote, QStringLiteral("$")),
                      QString::fromLatin1(c.result));
    }
    EXPECT_EQ(request.Substitute(QStringLiteral("#0-#1"), false, QStringLiteral("#")),
              QStringLiteral("5-1"));
}

TEST(Expressions, ResultIsStoredBySyntax) {
    const struct {
        int index;
        const char* expression;
        const char* value;
    } cases[] = {
        {0, "$0*2+1", "11"},
        {0, "7/2", "3"},
        {1, "$0-5", "false"},
        {2, "$2+50", "0:01:06.00"},
        {5, "5-1", "Disable"}, // back to the label
        {6, "$6+1", "1900/01/01 06:00:00 pm"},
        {7, "$7/4", "0.625"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expression);
        ExpressionList fresh;
        fresh.request.vars.item(c.index).getExpression = QString::fromLatin1(c.expression);
        fresh.request.ApplyExpression(c.index, true);
        EXPECT_EQ(fresh.request.vars.item(c.index).value, QString::fromUtf8(c.value));
    }
}

TEST_F(ExpressionRequest, GetAndSetExpressionsAreSeparate) {
    QvSNMPVar& v = request.vars.item(0);
    v.setExpression = QStringLiteral("$0*10");
    request.ApplyExpression(0, true); // no get expression: unchanged
    EXPECT_EQ(v.value, QStringLiteral("5"));
    request.ApplyExpression(0, false);
    EXPECT_EQ(v.value, QStringLiteral("50"));

    request.vars.item(3).getExpression = QStringLiteral("1");
    EXPECT_EQ(RaisedCode([&] { request.ApplyExpression(3, true); }), -513);
}

TEST_F(ExpressionRequest, RowFilters) {
    EXPECT_TRUE(request.AcceptRow(QString()));
    EXPECT_TRUE(request.AcceptRow(QStringLiteral("$0>3")));
    EXPECT_FALSE(request.AcceptRow(QStringLiteral("$0>3 & $3=xy")));
    EXPECT_TRUE(request.AcceptRow(QStringLiteral("$3=ab | $0=1")));
    EXPECT_TRUE(request.AcceptRow(QStringLiteral("$5=1 & $1=1")));
    EXPECT_EQ(RaisedCode([&] { request.AcceptRow(QStringLiteral("$0")); }), -1);
}

TEST(ColumnEnded, AnswerMustContinueTheColumnAndMoveForward) {
    constexpr QvSNMPVarDef table[] = {
        {"1.3.6.1.2.1.2.2.1.2", "descr", QvSyntax::displaystr, QvAccess::readonly}};
    QvSNMPRequest request;
    request.vars = QvSNMPVarList(table, MVT_FMV, 0);
    const QString column = QStringLiteral("1.3.6.1.2.1.2.2.1.2");
    const struct {
        const char* previous;
        const char* received;
        bool ended;
    } cases[] = {
        {"", "1.3.6.1.2.1.2.2.1.2.1", false},
        {"1.3.6.1.2.1.2.2.1.2.1", "1.3.6.1.2.1.2.2.1.2.2", false},
        {"1.3.6.1.2.1.2.2.1.2.9", "1.3.6.1.2.1.2.2.1.2.10", false},
        {"", "1.3.6.1.2.1.2.2.1.3.1", true},  // the next column
        {"", "1.3.6.1.2.1.2.2.1.20.1", true}, // column 20 is not column 2
        {"", "1.3.6.1.2.1.2.2.1.2.", true},   // nothing after the column
        {"", "1.3.6.1.2.1.2.2.1.2", true},
        {"1.3.6.1.2.1.2.2.1.2.5", "1.3.6.1.2.1.2.2.1.2.5", true}, // repeated
        {"1.3.6.1.2.1.2.2.1.2.5", "1.3.6.1.2.1.2.2.1.2.3", true}, // backwards
        {"1.3.6.1.2.1.2.2.1.2.5.1", "1.3.6.1.2.1.2.2.1.2.5", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.previous) + " -> " + c.received);
        EXPECT_EQ(request.ColumnEnded(column, QString::fromLatin1(c.previous),
                                      QString::fromLatin1(c.received)),
                  c.ended);
    }
    request.vars.ItemType = MVT_SV;
    EXPECT_FALSE(request.ColumnEnded(column, {}, QStringLiteral("1.3.6.1.2.1.2.2.1.3.1")));
}

TEST(GetStep, NextStepOfAScalarListIsRefusedBeforeSending) {
    constexpr QvSNMPVarDef table[] = {
        {"1.3.6.1.2.1.1.1", "d", QvSyntax::displaystr, QvAccess::readonly}};
    for (quint8 kind : {SVT_SV, MVT_SV}) {
        QvSNMPRequest request;
        request.vars = QvSNMPVarList(table, kind, 0);
        bool ok = true;
        EXPECT_EQ(RaisedCode([&] { request.GetStep(ok, false); }), -510);
        EXPECT_EQ(RaisedCode([&] { request.GetStepAsync({}, false); }), -510);
        EXPECT_EQ(request.outstanding(), 0);
    }
}

TEST(GetStep, InactiveRequestDoesNothing) {
    constexpr QvSNMPVarDef table[] = {
        {"1.3.6.1.2.1.1.1", "d", QvSyntax::displaystr, QvAccess::readwrite}};
    QvSNMPRequest request;
    request.device.address = QStringLiteral("300.1.1.1"); // would raise if it were used
    request.vars = QvSNMPVarList(table, SVT_SV, 0);
    request.active = false;
    bool ok = true;
    EXPECT_FALSE(request.GetStep(ok, true));
    EXPECT_FALSE(ok);
    ok = true;
    EXPECT_FALSE(request.Set(ok, false));
    EXPECT_FALSE(ok);
    bool called = false;
    request.GetStepAsync([&](const QvSNMPError&, QvSNMPVarList&) { called = true; }, true);
    request.SetAsync([&](const QvSNMPError&, QvSNMPVarList&) { called = true; }, false);
    EXPECT_EQ(request.outstanding(), 0);
    EXPECT_FALSE(called);
    EXPECT_EQ(request.errorCount(), 0u);
}

TEST(GetStep, BadAddressIsRaised) {
    constexpr QvSNMPVarDef table[] = {
        {"1.3.6.1.2.1.1.1", "d", QvSyntax::displaystr, QvAccess::readonly}};
    QvSNMPRequest request;
    request.device.address = QStringLiteral("300.1.1.1");
    request.vars = QvSNMPVarList(table, SVT_SV, 0);
    bool ok = true;
    EXPECT_EQ(RaisedCode([&] { request.GetStep(ok, true); }), -509);
    EXPECT_EQ(RaisedCode([&] { request.GetStepAsync({}, true); }), -509);
    EXPECT_EQ(request.outstanding(), 0);
}

} // namespace

namespace {

TEST(Set, ListIsRestoredWhenBuildingTheSetFails) {
    constexpr QvSNMPVarDef table[] = {
        {"1.1", "count", QvSyntax::integer, QvAccess::readwrite},
        {"1.2", "gateway", QvSyntax::ipaddress, QvAccess::readwrite},
        {"1.3", "name", QvSyntax::displaystr, QvAccess::readwrite},
    };
    QvSNMPRequest request;
    request.device.address = QStringLiteral("127.0.0.1");
    request.vars = QvSNMPVarList(table, SVT_SV, 0);
    request.vars.item(0).value = QStringLiteral("4");
    request.vars.item(0).setExpression = QStringLiteral("$0*100");
    request.vars.item(1).value = QStringLiteral("10.0.0"); // not an address: refused
    request.vars.item(2).access = QvAccess::readonly;
    const QvSNMPVarList before(request.vars);
    bool ok = true;
    const QStringList values{QStringLiteral("5"), QStringLiteral("10.0.1")};
    EXPECT_EQ(RaisedCode([&] { request.Set(ok, false, QStringLiteral("0,1"), &values); }), -518);
    EXPECT_EQ(RaisedCode([&] { request.SetAsync({}, false); }), -518);
    EXPECT_EQ(request.outstanding(), 0);
    for (int i = 0; i < before.count(); ++i) {
        EXPECT_EQ(request.vars.item(i).value, before.item(i).value);
        EXPECT_EQ(request.vars.item(i).access, before.item(i).access);
    }
}

} // namespace
