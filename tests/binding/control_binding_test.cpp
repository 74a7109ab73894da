#include "binding/control_binding.h"

#include "binding/edit_constraint.h"
#include "binding/radio_group.h"
#include "snmplib/option_list.h"
#include "tests/binding/binding_fixture.h"
#include "tests/binding/page_handlers.h"
#include "tests/snmplib/raised_code.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

using test::BoundPage;

constexpr QvOptionSource kDisableEnable[] = {{4, "Disable"}, {1, "Enable"}};
constexpr QvOptionSource kOffOn[] = {{0, "Disable"}, {1, "Enable"}};
constexpr QvOptionTextSource kMib2[] = {{"1.3.6.1.2.1", "mib-2"}, {"1.3.6.1.4.1", "enterprises"}};

// One variable of each shape the pages bind.
enum Var {
    kPort,     // integer, no list
    kState,    // integer, list 4 Disable / 1 Enable
    kFlag,     // boolean
    kNumber,   // integer without list, for lists given at bind time
    kMask,     // octetstr
    kName,     // displaystr
    kAddress,  // ipaddress
    kClock,    // datetime
    kUptime,   // timeticks
    kMac,      // macaddress
    kWhen,     // bcdatetime
    kObject,   // objectid
    kReadOnly, // integer, readonly
};

constexpr QvSNMPVarDef kScalars[] = {
    {"devMib.1.1", "port", QvSyntax::integer, QvAccess::readwrite},
    {"devMib.1.2", "state", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"devMib.1.3", "flag", QvSyntax::boolean, QvAccess::readwrite},
    {"devMib.1.4", "number", QvSyntax::integer, QvAccess::readwrite},
    {"devMib.1.5", "mask", QvSyntax::octetstr, QvAccess::readwrite},
    {"devMib.1.6", "name", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.1.7", "address", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.1.8", "clock", QvSyntax::datetime, QvAccess::readwrite},
    {"devMib.1.9", "uptime", QvSyntax::timeticks, QvAccess::readwrite},
    {"devMib.1.10", "mac", QvSyntax::macaddress, QvAccess::readwrite},
    {"devMib.1.11", "when", QvSyntax::bcdatetime, QvAccess::readwrite},
    {"devMib.1.12", "object", QvSyntax::objectid, QvAccess::readwrite},
    {"devMib.1.13", "readonly", QvSyntax::integer, QvAccess::readonly},
};

QStringList textsOf(const QList<QLineEdit*>& edits) {
    QStringList out;
    for (auto* e : edits)
        out << e->text();
    return out;
}

template <class W> QList<W*> makeMany(BoundPage& p, int n) {
    QList<W*> out;
    for (int i = 0; i < n; ++i)
        out << p.make<W>();
    return out;
}

TEST(Binding, EditWithFormatShowsCollectsAndIsConstrained) {
    BoundPage p(kScalars);
    auto* edit = p.make<QLineEdit>();
    p.binder.BindFormat(kPort, "%u{n1x65535}", edit);
    const _EditConstraint_s* c = p.binder.constraints->Find(edit);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->type, 'u');
    EXPECT_EQ(c->maximum, 65535);

    p.value(kPort) = "161";
    p.binder.ShowVars(kPort);
    EXPECT_EQ(edit->text(), "161");

    edit->setText("8080x");
    p.binder.CollectVars(kPort);
    EXPECT_EQ(p.value(kPort), "8080"); // read as the syntax's text form
}

TEST(Binding, FormatTakesOneEditPerPieceAndRefusesTooFew) {
    BoundPage p(kScalars);
    const auto edits = makeMany<QLineEdit>(p, 5);
    p.binder.BindFormat(kAddress, "%u{n0x255}%u{n0x255}%u{n0x255}%u{n0x255}", edits[0], edits[1],
                        edits[2], edits[3], edits[4]);
    ASSERT_EQ(p.binder.bindings.size(), 1u);
    EXPECT_EQ(p.binder.bindings[0].controls.size(), 4); // the fifth edit is not taken
    EXPECT_EQ(p.binder.constraints->Find(edits[4]), nullptr);

    EXPECT_EQ(RaisedCode([&] { p.binder.BindFormat(kPort, "%u%u", edits[4]); }), -522);
    EXPECT_EQ(RaisedCode([&] { p.binder.BindFormat(kPort, "%u.", edits[4]); }), -2);
    EXPECT_EQ(p.binder.bindings.size(), 1u);
    EXPECT_EQ(p.binder.constraints->Find(edits[4]), nullptr);
}

// A variable holds its label; the combo box shows the item of that label and gives it back.
TEST(Binding, ComboBoxWithTheVariablesOptionList) {
    BoundPage p(kScalars);
    auto* combo = p.make<QComboBox>();
    combo->setEditable(true);
    p.binder.BindComboBox(kState, combo);
    EXPECT_FALSE(combo->isEditable());
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "Disable");
    EXPECT_EQ(combo->itemText(1), "Enable");
    EXPECT_EQ(combo->currentIndex(), -1);

    const struct {
        const char* value;
        int index;
    } cases[] = {{"Enable", 1}, {"Disable", 0}, {"1", 1}, {"7", -1}, {"", -1}};
    for (const auto& c : cases) {
        p.value(kState) = c.value;
        p.binder.ShowVars(-1);
        EXPECT_EQ(combo->currentIndex(), c.index) << c.value;
    }

    combo->setCurrentIndex(0);
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kState), "Disable");
}

TEST(Binding, ComboBoxAndRadioGroupNeedAList) {
    BoundPage p(kScalars);
    auto* combo = p.make<QComboBox>();
    auto* group = p.make<QvRadioGroup>();
    EXPECT_EQ(RaisedCode([&] { p.binder.BindComboBox(kPort, combo); }), -520);
    EXPECT_EQ(RaisedCode([&] { p.binder.BindControl(kPort, group); }), -520);
    // A part never uses the variable's list.
    EXPECT_EQ(RaisedCode([&] { p.binder.BindPartial(kState, 0, QvSyntax::uint8, nullptr, combo); }),
              -520);
    EXPECT_TRUE(p.binder.bindings.empty());
}

TEST(Binding, RadioGroupShowsAndCollectsTheLabel) {
    BoundPage p(kScalars);
    auto* group = p.make<QvRadioGroup>();
    p.binder.BindControl(kState, group);
    EXPECT_EQ(group->items(), QStringList({"Disable", "Enable"}));

    p.value(kState) = "Enable";
    p.binder.ShowVars(kState);
    EXPECT_EQ(group->currentIndex(), 1);
    p.value(kState) = "3";
    p.binder.ShowVars(kState);
    EXPECT_EQ(group->currentIndex(), -1);

    group->setCurrentIndex(0);
    p.binder.CollectVars(kState);
    EXPECT_EQ(p.value(kState), "Disable");
}

TEST(Binding, CheckBoxWithoutListNeedsABooleanSyntax) {
    BoundPage p(kScalars);
    auto* box = p.make<QCheckBox>();
    EXPECT_EQ(RaisedCode([&] { p.binder.BindControl(kPort, box); }), -517);
    p.binder.BindControl(kFlag, box);

    for (const auto& [value, checked] :
         {std::pair{"true", true}, {"false", false}, {"TRUE", false}, {"(NULL)", false}}) {
        p.value(kFlag) = value;
        p.binder.ShowVars(kFlag);
        EXPECT_EQ(box->isChecked(), checked) << value;
    }
    box->setChecked(true);
    p.binder.CollectVars(kFlag);
    EXPECT_EQ(p.value(kFlag), "true");
    box->setChecked(false);
    p.binder.CollectVars(kFlag);
    EXPECT_EQ(p.value(kFlag), "false");
}

// The list's first item means unchecked, and so does a value the list does not hold.
TEST(Binding, CheckBoxWithAList) {
    BoundPage p(kScalars);
    const QvOptionList list(kOffOn);
    auto* box = p.make<QCheckBox>();
    p.binder.BindPartial(kNumber, 0, QvSyntax::integer, &list, box);

    // A value neither option stands for (or none at all) is no choice, and no write may send it.
    for (const auto& [value, state] : {std::pair{"1", Qt::Checked},
                                       {"0", Qt::Unchecked},
                                       {"7", Qt::PartiallyChecked},
                                       {"Enable", Qt::Checked},
                                       {"", Qt::PartiallyChecked}}) {
        box->setChecked(state != Qt::Checked);
        p.value(kNumber) = value;
        p.binder.ShowVars(kNumber);
        EXPECT_EQ(box->checkState(), state) << value;
        EXPECT_EQ(p.binder.FirstUnchosen(), state == Qt::PartiallyChecked ? box : nullptr) << value;
    }
    box->setChecked(true);
    p.binder.CollectVars(kNumber);
    EXPECT_EQ(p.value(kNumber), "1");
    box->setChecked(false);
    p.binder.CollectVars(kNumber);
    EXPECT_EQ(p.value(kNumber), "0");

    const QvOptionList single(std::span<const QvOptionSource>(kOffOn).first(1));
    EXPECT_EQ(
        RaisedCode([&] { p.binder.BindPartial(kNumber, 0, QvSyntax::integer, &single, box); }),
        -520);
}

TEST(Binding, BitCheckBoxes) {
    BoundPage p(kScalars);
    auto* b0 = p.make<QCheckBox>();
    auto* b9 = p.make<QCheckBox>();
    p.binder.BindBits(kMask, "0,9", b0, b9);

    const struct {
        const char* value;
        bool bit0, bit9;
    } shown[] = {{"8040", true, true},   {"8000", true, false}, {"0040", false, true},
                 {"7FBF", false, false}, {"", false, false},    {"(NULL)", false, false}};
    for (const auto& c : shown) {
        p.value(kMask) = c.value;
        p.binder.ShowVars(kMask);
        EXPECT_EQ(b0->isChecked(), c.bit0) << c.value;
        EXPECT_EQ(b9->isChecked(), c.bit9) << c.value;
    }

    // A value too short for bit 9 is refused.
    p.value(kMask) = "80";
    EXPECT_EQ(RaisedCode([&] { p.binder.ShowVars(kMask); }), -519);

    b0->setChecked(true);
    b9->setChecked(true);
    p.value(kMask) = "";
    p.binder.CollectVars(kMask);
    EXPECT_EQ(p.value(kMask), "8040");
}

// Two groups of boxes on one variable each set only their own bits.
TEST(Binding, BitGroupsOnOneVariableKeepEachOther) {
    BoundPage p(kScalars);
    auto* a = p.make<QCheckBox>();
    auto* b = p.make<QCheckBox>();
    p.binder.BindBits(kMask, "0", a);
    p.binder.BindBits(kMask, "7", b);
    a->setChecked(true);
    b->setChecked(true);
    p.value(kMask) = "";
    p.binder.CollectVars(kMask);
    EXPECT_EQ(p.value(kMask), "81");

    // Bits no box names keep the device's value.
    p.value(kMask) = "7E";
    a->setChecked(false);
    b->setChecked(false);
    p.binder.CollectVars(kMask);
    EXPECT_EQ(p.value(kMask), "7E");
}

TEST(Binding, PartialDataReadsAndPutsBackItsBytesOnly) {
    BoundPage p(kScalars);
    auto* byte1 = p.make<QLineEdit>();
    auto* word2 = p.make<QLineEdit>();
    auto* flag3 = p.make<QLabel>();
    p.binder.BindPartial(kMask, 1, QvSyntax::uint8, nullptr, byte1);
    p.binder.BindPartial(kMask, 2, QvSyntax::uint16, nullptr, word2);
    p.binder.BindPartial(kMask, 3, QvSyntax::bool8, nullptr, flag3);

    p.value(kMask) = "0A0B0C01";
    p.binder.ShowVars(kMask);
    EXPECT_EQ(byte1->text(), "11");
    EXPECT_EQ(word2->text(), "3073");
    EXPECT_EQ(flag3->text(), "true");

    byte1->setText("255");
    word2->setText("258");
    p.binder.CollectVars(kMask);
    // 258 puts 01 02 at bytes 2 and 3; the label, bound after it, writes its "true" over byte 3.
    EXPECT_EQ(p.value(kMask), "0AFF0101");
}

TEST(Binding, PartOutsideTheValueIsRefused) {
    BoundPage p(kScalars);
    auto* edit = p.make<QLineEdit>();
    p.binder.BindPartial(kMask, 3, QvSyntax::uint16, nullptr, edit);
    p.value(kMask) = "01020304";
    EXPECT_EQ(RaisedCode([&] { p.binder.ShowVars(kMask); }), -519);
}

TEST(Binding, PartWithItsOwnList) {
    BoundPage p(kScalars);
    const QvOptionList list(kOffOn);
    auto* combo = p.make<QComboBox>();
    p.binder.BindPartial(kMask, 1, QvSyntax::uint8, &list, combo);
    p.value(kMask) = "FF01";
    p.binder.ShowVars(-1);
    EXPECT_EQ(combo->currentIndex(), 1);
    combo->setCurrentIndex(0);
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kMask), "FF00");
}

// A whole binding replaces the value: a shorter text leaves nothing of the longer one behind.
TEST(Binding, WholeBindingReplacesTheValue) {
    const struct {
        Var var;
        const char* before;
        const char* typed;
        const char* after;
    } cases[] = {
        {kName, "a long device name", "ab", "ab"},
        {kName, "x", "", ""},
        {kMask, "AABBCCDD", "ee", "EE"},
        {kObject, "1.3.6.1.4.1.32473", "1.3.6", "1.3.6"},
        {kPort, "161", "12abc", "12"},
    };
    for (const auto& c : cases) {
        BoundPage p(kScalars);
        auto* edit = p.make<QLineEdit>();
        p.binder.BindControl(c.var, edit);
        p.value(c.var) = c.before;
        edit->setText(c.typed);
        p.binder.CollectVars(c.var);
        EXPECT_EQ(p.value(c.var), c.after) << c.before << " <- " << c.typed;
    }
}

TEST(Binding, AddressInFourEdits) {
    BoundPage p(kScalars);
    const auto edits = makeMany<QLineEdit>(p, 4);
    p.binder.BindFormat(kAddress, "%u{n0x255}%u{n0x255}%u{n0x255}%u{n0x255}", edits);

    p.value(kAddress) = "192.168.0.1";
    p.binder.ShowVars(-1);
    EXPECT_EQ(textsOf(edits), QStringList({"192", "168", "0", "1"}));

    // No value empties the fields (an empty address field stands for 0.0.0.0).
    p.value(kAddress) = "(NULL)";
    p.binder.ShowVars(-1);
    EXPECT_EQ(textsOf(edits), QStringList({"", "", "", ""}));
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kAddress), "0.0.0.0");

    edits[0]->setText("10");
    edits[1]->setText("0");
    edits[2]->setText("0");
    edits[3]->setText("254");
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kAddress), "10.0.0.254");

    edits[3]->setText("256");
    EXPECT_EQ(RaisedCode([&] { p.binder.CollectVars(-1); }), -518);
}

TEST(Binding, SplitFormsNeedTheirEdits) {
    const struct {
        Var var;
        int enough;
    } cases[] = {{kAddress, 4}, {kUptime, 5}, {kMac, 6}, {kWhen, 7}, {kClock, 10}};
    for (const auto& c : cases) {
        BoundPage p(kScalars);
        const auto edits = makeMany<QLineEdit>(p, c.enough);
        const QString fmt = QString("%s").repeated(c.enough - 1);
        EXPECT_EQ(RaisedCode([&] { p.binder.BindFormat(c.var, fmt, edits.mid(0, c.enough - 1)); }),
                  -522)
            << c.enough;
        EXPECT_EQ(RaisedCode([&] { p.binder.BindFormat(c.var, fmt + "%s", edits); }), 0)
            << c.enough;
    }
}

TEST(Binding, DateTimeInTenEdits) {
    BoundPage p(kScalars);
    const auto edits = makeMany<QLineEdit>(p, 10);
    p.binder.BindFormat(kClock, QString("%s").repeated(10), edits);

    p.value(kClock) = "2007-5-3,14:2:9.0,+8:0";
    p.binder.ShowVars(-1);
    EXPECT_EQ(textsOf(edits), QStringList({"2007", "5", "3", "14", "2", "9", "0", "+", "8", "0"}));

    edits[7]->setText("-");
    edits[9]->setText("30");
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kClock), "2007-5-3,14:2:9.0,-8:30");

    // A zero offset is not shown, as in the text form.
    edits[8]->setText("0");
    edits[9]->setText("");
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kClock), "2007-5-3,14:2:9.0");
}

TEST(Binding, TimeticksInFiveEdits) {
    BoundPage p(kScalars);
    const auto edits = makeMany<QLineEdit>(p, 5);
    p.binder.BindFormat(kUptime, "%u%u%u%u%u", edits);
    p.value(kUptime) = "2 days, 3:04:05.06";
    p.binder.ShowVars(-1);
    EXPECT_EQ(textsOf(edits), QStringList({"2", "3", "4", "5", "6"}));
    edits[0]->setText("0");
    edits[4]->setText("99");
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kUptime), "3:04:05.99");
}

TEST(Binding, MacAddressInSixEdits) {
    BoundPage p(kScalars);
    const auto edits = makeMany<QLineEdit>(p, 6);
    p.binder.BindFormat(kMac, "%h%h%h%h%h%h", edits);
    p.value(kMac) = "0011223344AA";
    p.binder.ShowVars(-1);
    EXPECT_EQ(textsOf(edits), QStringList({"00", "11", "22", "33", "44", "AA"}));
    edits[0]->setText("a");
    edits[5]->setText("");
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kMac), "0A1122334400");
}

TEST(Binding, OctetStringInEditsOneBytePerEdit) {
    BoundPage p(kScalars);
    const auto edits = makeMany<QLineEdit>(p, 4);
    p.binder.BindFormat(kMask, "%h%h%h%h", edits);
    for (auto* e : edits)
        e->setText("stale");
    p.value(kMask) = "0A0B";
    p.binder.ShowVars(-1);
    EXPECT_EQ(textsOf(edits), QStringList({"0A", "0B", "", ""}));
    p.value(kMask) = "0102030405";
    EXPECT_EQ(RaisedCode([&] { p.binder.ShowVars(-1); }), -522);
}

TEST(Binding, BcDateTimeInSevenEdits) {
    BoundPage p(kScalars);
    const auto edits = makeMany<QLineEdit>(p, 7);
    p.binder.BindFormat(kWhen, "%u%u%u%u%u%u%u", edits);
    const QStringList typed = {"2008", "8", "22", "15", "30", "45", "500"};
    for (int i = 0; i < 7; ++i)
        edits[i]->setText(typed[i]);
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kWhen), "2008/08/22 03:30:45 pm");
    for (auto* e : edits)
        e->clear();
    p.binder.ShowVars(-1); // the text form holds no milliseconds
    EXPECT_EQ(textsOf(edits), QStringList({"2008", "8", "22", "15", "30", "45", "0"}));

    edits[1]->setText("13");
    EXPECT_EQ(RaisedCode([&] { p.binder.CollectVars(-1); }), -518);
}

TEST(Binding, PrefixListComboBoxWithTheRestInAnEdit) {
    BoundPage p(kScalars);
    const QvOptionList list(kMib2, QvOptionList::PrefixValues);
    auto* combo = p.make<QComboBox>();
    auto* rest = p.make<QLineEdit>();
    EXPECT_EQ(
        RaisedCode([&] { p.binder.BindPartial(kObject, 0, QvSyntax::objectid, &list, combo); }),
        -522);
    p.binder.BindPartial(kObject, 0, QvSyntax::objectid, &list, combo, rest);

    p.value(kObject) = "1.3.6.1.2.1.1.5";
    p.binder.ShowVars(-1);
    EXPECT_EQ(combo->currentText(), "mib-2");
    EXPECT_EQ(rest->text(), "1.5");

    combo->setCurrentIndex(1);
    rest->setText("32473.1");
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kObject), "1.3.6.1.4.1.32473.1");

    rest->clear();
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kObject), "1.3.6.1.4.1");
}

TEST(Binding, LabelShowsTheTextAndAnotherControlIsRefused) {
    BoundPage p(kScalars);
    auto* label = p.make<QLabel>();
    p.binder.BindControl(kState, label);
    p.value(kState) = "Enable";
    p.binder.ShowVars(-1);
    EXPECT_EQ(label->text(), "Enable");
    EXPECT_EQ(RaisedCode([&] { p.binder.BindControl(kPort, p.make<QPushButton>()); }), -521);
    EXPECT_EQ(RaisedCode([&] { p.binder.BindControl(kPort, nullptr); }), -522);
}

TEST(Binding, InvalidVariablesAreNotShownAndReadOnlyOnesNotCollected) {
    BoundPage p(kScalars);
    auto* port = p.make<QLineEdit>();
    auto* ro = p.make<QLineEdit>();
    p.binder.BindControl(kPort, port);
    p.binder.BindControl(kReadOnly, ro);
    p.vars.item(kPort).access |= QvAccess::invalid;
    p.value(kPort) = "1";
    p.value(kReadOnly) = "2";
    port->setText("old");
    p.binder.ShowVars(-1);
    EXPECT_EQ(port->text(), "old");
    EXPECT_EQ(ro->text(), "2");

    ro->setText("3");
    p.binder.CollectVars(-1);
    EXPECT_EQ(p.value(kReadOnly), "2");
    EXPECT_EQ(p.value(kPort), "1");
}

TEST(Binding, UnbindRemovesEveryRecordOfTheVariableAndItsConstraints) {
    BoundPage p(kScalars);
    auto* a = p.make<QLineEdit>();
    auto* b = p.make<QLineEdit>();
    auto* other = p.make<QLineEdit>();
    p.binder.BindFormat(kPort, "%u", a);
    p.binder.BindFormat(kPort, "%s", b);
    p.binder.BindFormat(kName, "%s", other);
    ASSERT_EQ(p.binder.bindings.size(), 3u);

    // The edit's own exit handler is back alone: with the constraint, "x" in a "%u" edit would
    // not reach it.
    int ownExits = 0;
    QvEditHooks::of(*a).setExitHandler([&](QLineEdit&) {
        ++ownExits;
        return true;
    });

    p.binder.Unbind(kPort);
    ASSERT_EQ(p.binder.bindings.size(), 1u);
    EXPECT_EQ(p.binder.bindings[0].index, static_cast<int>(kName));
    EXPECT_EQ(p.binder.constraints->Find(a), nullptr);
    EXPECT_EQ(p.binder.constraints->Find(b), nullptr);
    EXPECT_NE(p.binder.constraints->Find(other), nullptr);

    p.value(kPort) = "5";
    a->setText("kept");
    p.binder.ShowVars(-1);
    EXPECT_EQ(a->text(), "kept");
    EXPECT_TRUE(QvEditHooks::of(*a).runExitHandler());
    EXPECT_EQ(ownExits, 1);
}

TEST(Binding, EnableControlsReachesEveryControlOfEveryRecord) {
    BoundPage p(kScalars);
    const QvOptionList list(kMib2, QvOptionList::PrefixValues);
    auto* combo = p.make<QComboBox>();
    auto* rest = p.make<QLineEdit>();
    const auto bits = makeMany<QCheckBox>(p, 2);
    p.binder.BindPartial(kObject, 0, QvSyntax::objectid, &list, combo, rest);
    p.binder.BindBits(kMask, "1,2", bits);
    p.binder.EnableControls(false);
    for (QWidget* w : {static_cast<QWidget*>(combo), static_cast<QWidget*>(rest),
                       static_cast<QWidget*>(bits[0]), static_cast<QWidget*>(bits[1])})
        EXPECT_FALSE(w->isEnabled());
    p.binder.EnableControls(true);
    EXPECT_TRUE(combo->isEnabled() && rest->isEnabled() && bits[1]->isEnabled());
}

// The page's own handlers run once per operator action, with the control as sender, whether
// the control is bound or not.
TEST(Binding, PageHandlersKeepRunningWithTheirSender) {
    BoundPage p(kScalars);
    p.page.show();
    auto* combo = p.make<QComboBox>();
    auto* group = p.make<QvRadioGroup>();
    auto* box = p.make<QCheckBox>();
    PageHandlers handlers;
    QObject::connect(combo, &QComboBox::activated, &handlers, &PageHandlers::handle);
    QObject::connect(group, &QvRadioGroup::clicked, &handlers, &PageHandlers::handle);
    QObject::connect(box, &QCheckBox::clicked, &handlers, &PageHandlers::handle);

    const auto operate = [&] {
        handlers.senders.clear();
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
        group->button(1)->click();
        box->click();
        return handlers.senders;
    };
    const QList<QObject*> expected = {combo, group, box};

    p.binder.BindComboBox(kState, combo);
    p.binder.BindControl(kState, group);
    p.binder.BindControl(kFlag, box);
    EXPECT_EQ(operate(), expected);

    p.binder.Unbind(kState);
    p.binder.Unbind(kFlag);
    EXPECT_EQ(operate(), expected);
}

// A value shown by a refresh is a change like the operator's: a check box's toggled handler
// runs; filling the items at bind time is silent.
TEST(Binding, ShownValuesNotifyTheControlsHandlers) {
    BoundPage p(kScalars);
    auto* combo = p.make<QComboBox>();
    auto* box = p.make<QCheckBox>();
    PageHandlers handlers;
    QObject::connect(combo, &QComboBox::currentIndexChanged, &handlers, &PageHandlers::handle);
    QObject::connect(box, &QCheckBox::toggled, &handlers, &PageHandlers::handle);
    p.binder.BindComboBox(kState, combo);
    p.binder.BindControl(kFlag, box);
    EXPECT_TRUE(handlers.senders.isEmpty());

    p.value(kState) = "Enable";
    p.value(kFlag) = "true";
    p.binder.ShowVars(-1);
    EXPECT_EQ(handlers.senders, (QList<QObject*>{combo, box}));
}

} // namespace
