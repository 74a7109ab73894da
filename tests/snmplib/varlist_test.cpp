#include "snmplib/varlist.h"

#include "tests/snmplib/raised_code.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>

namespace {

constexpr QvOptionSource kDisableEnable[] = {{4, "Disable"}, {1, "Enable"}};

constexpr QvSNMPVarDef kSystem[] = {
    {"1.3.6.1.2.1.1.1", "sysDescr", QvSyntax::displaystr, QvAccess::readonly},
    {"devMib.1.2", "state", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"devProduct.20",
     "product",
     QvSyntax::objectid,
     QvAccess::readonly,
     {},
     "$0+1",
     nullptr,
     "note"},
    {nullptr, "end", 0, 0},
    {"1.2.3", "after the end", QvSyntax::integer, QvAccess::readonly},
};

TEST(VarList, AppendTableCopiesRecordsUpToTheEnd) {
    const QvSNMPVarList list(kSystem, SVT_SV, 0);
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.ItemType, SVT_SV);
    EXPECT_EQ(list.PKeyCount, 0);

    const QvSNMPVar& descr = list.item(0);
    EXPECT_EQ(descr.oid, QStringLiteral("1.3.6.1.2.1.1.1"));
    EXPECT_EQ(descr.name, QStringLiteral("sysDescr"));
    EXPECT_EQ(descr.syntax, QvSyntax::displaystr);
    EXPECT_EQ(descr.access, quint32{QvAccess::readonly});
    EXPECT_EQ(descr.optionList, nullptr);
    EXPECT_FALSE(descr.getExpression.has_value());
    EXPECT_TRUE(descr.value.isEmpty());
    EXPECT_TRUE(descr.walkPosition.isEmpty());

    const QvSNMPVar& state = list.item(1);
    EXPECT_EQ(state.oid, QStringLiteral("1.3.6.1.4.1.32473.1.1.2"));
    EXPECT_EQ(state.optionList, &qv::GlobalOptionList(kDisableEnable));

    const QvSNMPVar& product = list.item(2);
    EXPECT_EQ(product.oid, QStringLiteral("1.3.6.1.4.1.32473.2.20"));
    EXPECT_EQ(product.getExpression, QStringLiteral("$0+1"));
    EXPECT_FALSE(product.setExpression.has_value());
    EXPECT_EQ(product.spare, QStringLiteral("note"));
}

TEST(VarList, TableThatStartsWithItsEndGivesAnEmptyList) {
    constexpr QvSNMPVarDef empty[] = {{nullptr, nullptr, 0, 0}};
    const QvSNMPVarList list(empty, MVT_SV, 0);
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.CountShown(), 0);
}

TEST(VarList, AppendTableKeepsExistingItemsAndTheirValues) {
    QvSNMPVarList list(kSystem, SVT_SV, 0);
    list.item(0).value = QStringLiteral("box");
    list.AppendTable(std::span(kSystem).first(1));
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.item(0).value, QStringLiteral("box"));
    EXPECT_EQ(list.item(3).name, QStringLiteral("sysDescr"));
    EXPECT_TRUE(list.item(3).value.isEmpty());
}

TEST(VarList, AssignCopiesItemsAndValuesButNotTheName) {
    QvSNMPVarList source(kSystem, MVT_FMV, 1);
    source.Name = QStringLiteral("source");
    source.item(0).value = QStringLiteral("v0");
    source.item(1).walkPosition = QStringLiteral("1.3.6.1.4.1.32473.1.1.2.7");

    QvSNMPVarList target(kSystem, SVT_SV, 0);
    target.AppendTable(kSystem);
    target.Name = QStringLiteral("target");
    target.Assign(source);
    EXPECT_EQ(target.Name, QStringLiteral("target"));
    EXPECT_EQ(target.ItemType, MVT_FMV);
    EXPECT_EQ(target.PKeyCount, 1);
    ASSERT_EQ(target.count(), 3);
    EXPECT_EQ(target.item(0).value, QStringLiteral("v0"));
    EXPECT_EQ(target.item(1).walkPosition, QStringLiteral("1.3.6.1.4.1.32473.1.1.2.7"));

    const QvSNMPVarList copy(source);
    EXPECT_TRUE(copy.Name.isEmpty());
    EXPECT_EQ(copy.item(0).value, QStringLiteral("v0"));

    // The copy is independent.
    target.item(0).value = QStringLiteral("changed");
    EXPECT_EQ(source.item(0).value, QStringLiteral("v0"));
}

TEST(VarList, AssignedListOutlivesTheOptionListsOfItsSource) {
    QvSNMPVarList target;
    {
        QvSNMPVarList source(kSystem, SVT_SV, 0);
        constexpr QvOptionSource own[] = {{0, "Off"}, {1, "On"}};
        source.item(1).optionList = source.AddOwnedOptionList(std::make_unique<QvOptionList>(own));
        target.Assign(source);
        EXPECT_NE(target.item(1).optionList, source.item(1).optionList);
    }
    ASSERT_NE(target.item(1).optionList, nullptr);
    EXPECT_EQ(target.item(1).optionList->ValueToLabel(QStringLiteral("1")), QStringLiteral("On"));
    // Global lists are shared, not copied.
    EXPECT_EQ(target.item(0).optionList, nullptr);
}

TEST(VarList, DerivedTestsFollowTheAccessFlags) {
    using namespace QvAccess;
    const struct {
        quint32 access;
        bool key; // first variable of a one-key table list
        bool readable, settable, shown, hiddenColumn;
    } cases[] = {
        {readonly, false, true, false, true, false},
        {readwrite, false, true, true, true, false},
        {writeonly, false, false, true, false, true},
        {writeonly | hidden, false, false, true, false, true},
        {notaccess, false, false, false, true, false},
        {notaccess, true, false, true, true, false},
        {notaccess | implied, true, false, true, true, false},
        {derived, false, false, false, true, false},
        {readonly | hidden, false, true, false, false, true},
        {invalid, false, false, false, false, true},
        {readwrite | invalid, false, false, false, false, true},
        {notaccess | invalid, true, false, false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("access " + std::to_string(c.access) + (c.key ? " key" : ""));
        const QvSNMPVarDef table[] = {
            {"1.1", "key", QvSyntax::integer, c.key ? c.access : quint32{notaccess}},
            {"1.2", "var", QvSyntax::integer, c.access},
        };
        const QvSNMPVarList list(table, MVT_FMV, 1);
        const int i = c.key ? 0 : 1;
        EXPECT_EQ(list.readable(i), c.readable);
        EXPECT_EQ(list.settable(i), c.settable);
        EXPECT_EQ(list.shownColumn(i), c.shown);
        EXPECT_EQ(list.hiddenColumn(i), c.hiddenColumn);
    }
}

TEST(VarList, KeysAreSettableOnlyInTableLists) {
    constexpr QvSNMPVarDef table[] = {{"1.1", "key", QvSyntax::integer, QvAccess::notaccess}};
    for (quint8 kind : {SVT_SV, MVT_SV, MVT_FMV, MVT_UMV}) {
        SCOPED_TRACE(kind);
        const QvSNMPVarList list(table, kind, kind >= MVT_FMV ? 1 : 0);
        EXPECT_EQ(list.settable(0), kind >= MVT_FMV);
    }
}

TEST(VarList, CountsShownAndHiddenColumns) {
    using namespace QvAccess;
    constexpr QvSNMPVarDef table[] = {
        {"1.1", "key", QvSyntax::integer, notaccess},
        {"1.2", "a", QvSyntax::integer, readonly},
        {"1.3", "b", QvSyntax::integer, writeonly},
        {"1.4", "c", QvSyntax::integer, readonly | hidden},
        {"1.5", "d", QvSyntax::integer, derived},
        {"1.6", "e", QvSyntax::integer, invalid},
    };
    QvSNMPVarList list(table, MVT_FMV, 1);
    EXPECT_EQ(list.CountShown(), 3);
    EXPECT_EQ(list.CountHidden(), 3);
    // Pages choose the variables that take part at run time through the access field.
    list.item(5).access = readwrite;
    EXPECT_EQ(list.CountShown(), 4);
    EXPECT_EQ(list.CountHidden(), 2);
}

TEST(VarList, BaseOidCarriesTheListName) {
    QvSNMPVarList list(kSystem, MVT_SV, 0);
    EXPECT_EQ(list.BaseOid(0), QStringLiteral("1.3.6.1.2.1.1.1"));
    list.Name = QStringLiteral("5");
    EXPECT_EQ(list.BaseOid(0), QStringLiteral("1.3.6.1.2.1.1.1.5"));
}

// One key of each syntax: the value text and its coding in the row instance.
struct KeyCase {
    int syntax;
    quint32 access;
    const char* value;
    const char* coding;
};

const KeyCase kKeys[] = {
    {QvSyntax::boolean, QvAccess::notaccess, "true", "1"},
    {QvSyntax::boolean, QvAccess::notaccess, "false", "0"},
    {QvSyntax::integer, QvAccess::notaccess, "7", "7"},
    {QvSyntax::integer, QvAccess::notaccess, "-1", "4294967295"},
    {QvSyntax::counter, QvAccess::notaccess, "4294967295", "4294967295"},
    {QvSyntax::guage, QvAccess::readonly, "0", "0"},
    {QvSyntax::uinteger, QvAccess::notaccess, "12", "12"},
    {QvSyntax::timeticks, QvAccess::notaccess, "0:01:05.50", "6550"},
    {QvSyntax::ipaddress, QvAccess::notaccess, "192.168.0.1", "192.168.0.1"},
    {QvSyntax::nsapaddr, QvAccess::notaccess, "10.0.0.255", "10.0.0.255"},
    {QvSyntax::counter64, QvAccess::notaccess, "4294967298", "1.2"},
    {QvSyntax::double_, QvAccess::notaccess, "1.5", "0.1073217536"},
    {QvSyntax::bcdatetime, QvAccess::notaccess, "1899/12/31 06:00:00 pm", "0.1073479680"},
    {QvSyntax::macaddress, QvAccess::notaccess, "0011223344FF", "0.17.34.51.68.255"},
    {QvSyntax::datetime, QvAccess::notaccess, "2008-8-22,13:5:0.0,+8:0",
     "7.216.8.22.13.5.0.0.43.8.0"},
    {QvSyntax::displaystr, QvAccess::notaccess, "ab", "2.97.98"},
    {QvSyntax::displaystr, QvAccess::notaccess | QvAccess::implied, "ab", "97.98"},
    {QvSyntax::displaystr, QvAccess::notaccess, "", "0"},
    {QvSyntax::octetstr, QvAccess::notaccess, "0A1B", "2.10.27"},
    {QvSyntax::bitstr, QvAccess::notaccess | QvAccess::implied, "FF", "255"},
    {QvSyntax::opaque, QvAccess::notaccess, "(NULL)", "0"},
    {QvSyntax::objectid, QvAccess::notaccess, "1.3.6", "3.1.3.6"},
    {QvSyntax::objectid, QvAccess::notaccess | QvAccess::implied, "1.3.6", "1.3.6"},
};

TEST(RowInstance, EveryKeySyntaxCodesAndDecodes) {
    for (const KeyCase& c : kKeys) {
        SCOPED_TRACE(std::string(c.value) + " as " + qv::SyntaxName(c.syntax).toStdString());
        const QvSNMPVarDef table[] = {{"1.1", "key", c.syntax, c.access},
                                      {"1.2", "column", QvSyntax::integer, QvAccess::readonly}};
        QvSNMPVarList list(table, MVT_FMV, 1);
        list.item(0).value = QString::fromUtf8(c.value);
        EXPECT_EQ(list.EncodeInstance(), QString::fromLatin1(c.coding));

        list.item(0).value.clear();
        list.DecodeInstance(QString::fromLatin1(c.coding));
        EXPECT_EQ(list.item(0).value, QString::fromUtf8(c.value));
    }
}

TEST(RowInstance, ImpliedCountsOnlyOnTheLastKey) {
    constexpr QvSNMPVarDef table[] = {
        {"1.1", "name", QvSyntax::displaystr, QvAccess::notaccess | QvAccess::implied},
        {"1.2", "oid", QvSyntax::objectid, QvAccess::notaccess | QvAccess::implied},
        {"1.3", "column", QvSyntax::integer, QvAccess::readonly},
    };
    QvSNMPVarList list(table, MVT_FMV, 2);
    list.item(0).value = QStringLiteral("ab");
    list.item(1).value = QStringLiteral("1.3");
    EXPECT_EQ(list.EncodeInstance(), QStringLiteral("2.97.98.1.3"));
    list.item(0).value.clear();
    list.item(1).value.clear();
    list.DecodeInstance(QStringLiteral("2.97.98.1.3"));
    EXPECT_EQ(list.item(0).value, QStringLiteral("ab"));
    EXPECT_EQ(list.item(1).value, QStringLiteral("1.3"));
}

TEST(RowInstance, SeveralKeysInOrderWithOptionListsAndNullKeys) {
    constexpr QvSNMPVarDef table[] = {
        {"1.1", "address", QvSyntax::ipaddress, QvAccess::notaccess},
        {"1.2", "nothing", QvSyntax::null, QvAccess::notaccess},
        {"1.3", "state", QvSyntax::integer, QvAccess::readonly, kDisableEnable},
        {"1.4", "column", QvSyntax::integer, QvAccess::readonly},
    };
    QvSNMPVarList list(table, MVT_UMV, 3);
    list.item(0).value = QStringLiteral("10.0.0.1");
    list.item(2).value = QStringLiteral("Disable"); // keys with a list hold the label
    EXPECT_EQ(list.EncodeInstance(), QStringLiteral("10.0.0.1.4"));
    EXPECT_EQ(list.EncodeKey(1), QString());

    list.DecodeInstance(QStringLiteral("10.0.0.2.1"));
    EXPECT_EQ(list.item(0).value, QStringLiteral("10.0.0.2"));
    EXPECT_EQ(list.item(1).value, QStringLiteral("(NULL)"));
    EXPECT_EQ(list.item(2).value, QStringLiteral("Enable"));
    EXPECT_EQ(list.DecodeKey(0, QStringLiteral("10.0.0.3.1.99")), QStringLiteral("1.99"));
    EXPECT_EQ(list.item(0).value, QStringLiteral("10.0.0.3"));
}

TEST(RowInstance, KeysThatAreNotReadableGetTheirWalkPosition) {
    constexpr QvSNMPVarDef table[] = {
        {"1.1", "index", QvSyntax::integer, QvAccess::notaccess},
        {"1.2", "name", QvSyntax::displaystr, QvAccess::readonly},
        {"1.3", "column", QvSyntax::integer, QvAccess::readonly},
    };
    QvSNMPVarList list(table, MVT_FMV, 2);
    list.item(1).walkPosition = QStringLiteral("untouched");
    list.DecodeInstance(QStringLiteral("7.1.120"));
    EXPECT_EQ(list.item(0).value, QStringLiteral("7"));
    EXPECT_EQ(list.item(1).value, QStringLiteral("x"));
    EXPECT_EQ(list.item(0).walkPosition, QStringLiteral("1.1.7.1.120"));
    EXPECT_EQ(list.item(1).walkPosition, QStringLiteral("untouched"));
}

TEST(RowInstance, BadInstancesAndKeysAreRefused) {
    const struct {
        int syntax;
        int keys;
        const char* instance;
        int code;
    } cases[] = {
        {QvSyntax::integer, 2, "7", -514},          // runs out before the second key
        {QvSyntax::integer, 1, "", -514},           // nothing at all
        {QvSyntax::displaystr, 1, "5.97.98", -514}, // length beyond the instance
        {QvSyntax::ipaddress, 1, "10.0.0", -514},
        {QvSyntax::ipaddress, 1, "10.0.0.300", -518}, // not a byte
        {QvSyntax::macaddress, 1, "1.2.3.4.5.256", -518},
        {QvSyntax::integer, 1, "7.x", -518},
        {QvSyntax::int8, 1, "7", -511}, // no coding for a part syntax
        {99, 1, "7", -511},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.instance) + " as " + std::to_string(c.syntax));
        const QvSNMPVarDef table[] = {{"1.1", "k0", c.syntax, QvAccess::notaccess},
                                      {"1.2", "k1", c.syntax, QvAccess::notaccess},
                                      {"1.3", "column", QvSyntax::integer, QvAccess::readonly}};
        QvSNMPVarList list(table, MVT_FMV, c.keys);
        EXPECT_EQ(RaisedCode([&] { list.DecodeInstance(QString::fromLatin1(c.instance)); }),
                  c.code);
    }
}

TEST(RowInstance, KeyValuesThatCannotBeCodedAreRefused) {
    const struct {
        int syntax;
        const char* value;
        int code;
    } cases[] = {
        {QvSyntax::ipaddress, "10.0.0", -518}, {QvSyntax::ipaddress, "(NULL)", -518},
        {QvSyntax::macaddress, "0011", -518},  {QvSyntax::integer, "(NULL)", -518},
        {QvSyntax::uint16, "1", -511},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        const QvSNMPVarDef table[] = {{"1.1", "key", c.syntax, QvAccess::notaccess}};
        QvSNMPVarList list(table, MVT_FMV, 1);
        list.item(0).value = QString::fromLatin1(c.value);
        EXPECT_EQ(RaisedCode([&] { list.EncodeInstance(); }), c.code);
    }
}

} // namespace
