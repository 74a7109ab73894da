#include "snmplib/option_list.h"

#include "snmplib/syntax.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>
#include <QComboBox>

namespace {

// Not sorted by value: the item order is the table order.
constexpr QvOptionSource kDisableEnable[] = {{4, "Disable"}, {1, "Enable"}};
constexpr QvOptionTextSource kMib2[] = {{"1.3.6.1.2.1", "mib-2"}, {"1.3.6.1.4.1", "private"}};

enum class Op { ValueToLabel, LabelToValue, FindValue, FindLabel };

struct MatchCase {
    Op op;
    const char* text;
    const char* expected; // result text, or the index as text for the Find operations
};

QString run(const QvOptionList& list, const MatchCase& c) {
    const QString text = QString::fromUtf8(c.text);
    switch (c.op) {
    case Op::ValueToLabel:
        return list.ValueToLabel(text);
    case Op::LabelToValue:
        return list.LabelToValue(text);
    case Op::FindValue:
        return QString::number(list.FindValue(text));
    case Op::FindLabel:
        return QString::number(list.FindLabel(text));
    }
    return {};
}

void expectAll(const QvOptionList& list, std::initializer_list<MatchCase> cases) {
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " op " + std::to_string(static_cast<int>(c.op)));
        EXPECT_EQ(run(list, c), QString::fromUtf8(c.expected));
    }
}

TEST(OptionList, IntegerValuesIgnoringCase) {
    const QvOptionList list(kDisableEnable, QvOptionList::IntegerValues, false);
    expectAll(list, {
                        {Op::ValueToLabel, "1", "Enable"},
                        {Op::ValueToLabel, "4", "Disable"},
                        {Op::ValueToLabel, "7", "7"},
                        {Op::ValueToLabel, "Enable", "Enable"},
                        {Op::ValueToLabel, "(NULL)", "(NULL)"},
                        {Op::ValueToLabel, "1x", "1x"}, // not a number: no match
                        {Op::LabelToValue, "disable", "4"},
                        {Op::LabelToValue, "ENABLE", "1"},
                        {Op::LabelToValue, "Enabled", "Enabled"},
                        {Op::LabelToValue, "1", "1"},
                        {Op::FindValue, "(NULL)", "-1"},
                        {Op::FindValue, "1", "1"},
                        {Op::FindValue, "", "-1"},
                        {Op::FindLabel, "Disable", "0"},
                        {Op::FindLabel, "4", "-1"},
                    });
}

TEST(OptionList, CaseSensitiveListComparesLabelsExactly) {
    const QvOptionList list(kDisableEnable, QvOptionList::IntegerValues, true);
    expectAll(list, {
                        {Op::LabelToValue, "disable", "disable"},
                        {Op::LabelToValue, "Disable", "4"},
                        {Op::FindLabel, "ENABLE", "-1"},
                    });
}

TEST(OptionList, StringValuesMatchWholeTexts) {
    const QvOptionList list(kMib2, QvOptionList::StringValues, false);
    expectAll(list, {
                        {Op::ValueToLabel, "1.3.6.1.2.1", "mib-2"},
                        {Op::ValueToLabel, "1.3.6.1.2.1.1", "1.3.6.1.2.1.1"},
                        {Op::LabelToValue, "PRIVATE", "1.3.6.1.4.1"},
                        {Op::LabelToValue, "mib-2.1", "mib-2.1"},
                    });
}

TEST(OptionList, PrefixValuesReplaceOnlyTheFront) {
    const QvOptionList list(kMib2, QvOptionList::PrefixValues, false);
    expectAll(list, {
                        {Op::ValueToLabel, "1.3.6.1.2.1.1.5", "mib-2.1.5"},
                        {Op::ValueToLabel, "1.3.6.1.2.1", "mib-2"},
                        {Op::ValueToLabel, "1.3.6.1.4", "1.3.6.1.4"}, // shorter than a value
                        {Op::LabelToValue, "mib-2.1.5", "1.3.6.1.2.1.1.5"},
                        {Op::LabelToValue, "MIB-2.1", "1.3.6.1.2.1.1"},
                        {Op::LabelToValue, "private.9", "1.3.6.1.4.1.9"},
                        {Op::LabelToValue, "mib", "mib"},
                        {Op::FindValue, "1.3.6.1.4.1.32473", "1"},
                    });
}

TEST(OptionList, FirstMatchingItemWins) {
    constexpr QvOptionSource twice[] = {{1, "One"}, {1, "Uno"}, {2, "One"}};
    const QvOptionList list(twice);
    EXPECT_EQ(list.ValueToLabel(QStringLiteral("1")), QStringLiteral("One"));
    EXPECT_EQ(list.LabelToValue(QStringLiteral("one")), QStringLiteral("1"));
}

TEST(OptionList, SourceTableEndsAtPairWithoutLabel) {
    constexpr QvOptionSource withEnd[] = {{4, "Disable"}, {1, "Enable"}, {0, nullptr}, {9, "X"}};
    QvOptionList list(withEnd);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.ItemAt(1).label, QStringLiteral("Enable"));

    list.AddItems(kDisableEnable);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Labels(), (QStringList{"Disable", "Enable", "Disable", "Enable"}));
    EXPECT_EQ(list.ValueText(0), QStringLiteral("4"));

    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ValueToLabel(QStringLiteral("4")), QStringLiteral("4"));
}

TEST(OptionList, FillsAndSelectsComboBoxItems) {
    const QvOptionList list(kDisableEnable);
    QComboBox combo;
    combo.addItem(QStringLiteral("stale"));
    list.FillItems(&combo);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0), QStringLiteral("Disable"));
    EXPECT_EQ(combo.itemText(1), QStringLiteral("Enable"));

    const struct {
        const char* text;
        int index;
    } cases[] = {{"enable", 1}, {"4", 0}, {"1", 1}, {"9", -1}, {"(NULL)", -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        combo.setCurrentIndex(0);
        list.SelectItem(&combo, QString::fromLatin1(c.text));
        EXPECT_EQ(combo.currentIndex(), c.index);
    }
}

TEST(GlobalOptionLists, OneObjectPerTableIntegerAndCaseInsensitive) {
    const QvOptionList& first = qv::GlobalOptionList(kDisableEnable);
    const QvOptionList& again = qv::GlobalOptionList(kDisableEnable);
    EXPECT_EQ(&first, &again);
    EXPECT_EQ(first.kind(), QvOptionList::IntegerValues);
    EXPECT_FALSE(first.caseSensitive());
    EXPECT_EQ(first.LabelToValue(QStringLiteral("enable")), QStringLiteral("1"));
}

TEST(GlobalOptionLists, LibraryVocabulary) {
    EXPECT_EQ(qv::SyntaxOptions().LabelToValue(QStringLiteral("guage")), QStringLiteral("66"));
    EXPECT_EQ(qv::SyntaxOptions().ValueToLabel(QStringLiteral("72")), QStringLiteral("double"));
    EXPECT_EQ(qv::ListKindOptions().LabelToValue(QStringLiteral("MVT_UMV")), QStringLiteral("3"));
    EXPECT_EQ(qv::AccessOptions().LabelToValue(QStringLiteral("readwrite")), QStringLiteral("6"));
    EXPECT_EQ(qv::SyntaxName(QvSyntax::uint16), QStringLiteral("uint16"));
    EXPECT_EQ(qv::SyntaxCode(QStringLiteral("displaystr")), QvSyntax::displaystr);
    EXPECT_EQ(qv::SyntaxCode(QStringLiteral("Integer")), -1);
    EXPECT_TRUE(qv::SyntaxName(7).isEmpty());
}

} // namespace
