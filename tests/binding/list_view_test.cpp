#include "binding/list_view_rows.h"

#include "tests/binding/binding_fixture.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

using test::BoundPage;

enum Column { kIndex, kSecret, kName, kSpare, kGone, kNothing };

constexpr QvSNMPVarDef kTable[] = {
    {"devMib.3.1.1.1", "index", QvSyntax::integer, QvAccess::notaccess},
    {"devMib.3.1.1.2", "secret", QvSyntax::displaystr, QvAccess::writeonly},
    {"devMib.3.1.1.3", "name", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.3.1.1.4", "spare", QvSyntax::integer, QvAccess::readwrite | QvAccess::hidden},
    {"devMib.3.1.1.5", "gone", QvSyntax::integer, QvAccess::readwrite | QvAccess::invalid},
    {"devMib.3.1.1.6", "nothing", QvSyntax::integer, 0},
};

QStringList headerOf(const QTreeWidget& lv) {
    QStringList out;
    for (int c = 0; c < lv.columnCount(); ++c)
        out << lv.headerItem()->text(c);
    return out;
}

QStringList rowOf(const QTreeWidgetItem* row) {
    QStringList out;
    for (int c = 0; c < row->columnCount(); ++c)
        out << row->text(c);
    return out;
}

void setRow(BoundPage& p, const QStringList& values) {
    for (int i = 0; i < values.size(); ++i)
        p.value(i) = values[i];
}

TEST(ListView, ColumnsHiddenFirstThenShownInListOrder) {
    BoundPage p(kTable, MVT_FMV, 1);
    EXPECT_EQ(qv::ColumnOrder(p.vars), (std::vector<int>{kSecret, kSpare, kGone, kIndex, kName}));

    auto* lv = p.make<QTreeWidget>();
    p.binder.AttachListView(lv, true);
    EXPECT_EQ(headerOf(*lv), QStringList({"secret", "spare", "gone", "index", "name"}));
    for (int c = 0; c < 3; ++c)
        EXPECT_TRUE(lv->isColumnHidden(c)) << c;
    for (int c = 3; c < 5; ++c) {
        EXPECT_FALSE(lv->isColumnHidden(c)) << c;
        EXPECT_GE(lv->columnWidth(c), lv->header()->sectionSizeHint(c)) << c;
    }
    EXPECT_EQ(lv->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(lv->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(lv->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_FALSE(lv->rootIsDecorated());
    EXPECT_EQ(lv->palette().color(QPalette::Inactive, QPalette::Highlight),
              lv->palette().color(QPalette::Active, QPalette::Highlight));
}

TEST(ListView, ColumnsThePageDesignedStay) {
    BoundPage p(kTable, MVT_FMV, 1);
    auto* lv = p.make<QTreeWidget>();
    lv->setHeaderLabels({"a", "b", "c", "d", "e", "f"});
    p.binder.AttachListView(lv, true);
    EXPECT_EQ(headerOf(*lv), QStringList({"a", "b", "c", "d", "e", "f"}));

    auto* few = p.make<QTreeWidget>();
    few->setHeaderLabels({"a", "b"});
    p.binder.AttachListView(few, true);
    EXPECT_EQ(headerOf(*few).size(), 5);
}

TEST(ListView, RowsCarryTheTextsInColumnOrderAndLoadBack) {
    BoundPage p(kTable, MVT_FMV, 1);
    auto* lv = p.make<QTreeWidget>();
    p.binder.AttachListView(lv, true);

    setRow(p, {"1", "s1", "first", "10", "x", "n"});
    p.binder.StepRowReceived();
    setRow(p, {"2", "s2", "second", "20", "y", "n"});
    p.binder.StepRowReceived();
    ASSERT_EQ(lv->topLevelItemCount(), 2);
    EXPECT_EQ(rowOf(lv->topLevelItem(0)), QStringList({"s1", "10", "x", "1", "first"}));

    setRow(p, {"", "", "", "", "", "kept"});
    lv->topLevelItem(0)->setSelected(true);
    EXPECT_EQ(p.value(kIndex), "1");
    EXPECT_EQ(p.value(kSecret), "s1");
    EXPECT_EQ(p.value(kName), "first");
    EXPECT_EQ(p.value(kGone), "x");
    EXPECT_EQ(p.value(kNothing), "kept"); // in no column

    p.binder.StepBeforeGet();
    EXPECT_EQ(lv->topLevelItemCount(), 0);
}

// Kind 2 keeps the bound controls disabled after a refresh until a row is selected; kind 3
// leaves them enabled.
TEST(ListView, ControlsFollowTheSelectionForKindTwoOnly) {
    for (const quint8 kind : {MVT_FMV, MVT_UMV}) {
        BoundPage p(kTable, kind, 1);
        auto* lv = p.make<QTreeWidget>();
        auto* name = p.make<QLineEdit>();
        p.binder.BindControl(kName, name);
        p.binder.AttachListView(lv, true);

        p.binder.StepBeforeGet();
        setRow(p, {"1", "s1", "first", "10", "x", ""});
        p.binder.StepRowReceived();
        setRow(p, {"2", "s2", "second", "20", "y", ""});
        p.binder.StepRowReceived();
        p.binder.StepAfterGet();
        EXPECT_EQ(name->isEnabled(), kind == MVT_UMV) << int(kind);
        EXPECT_EQ(name->text(), "") << "rows go to the list view, not the controls";

        lv->topLevelItem(1)->setSelected(true);
        EXPECT_TRUE(name->isEnabled());
        EXPECT_EQ(name->text(), "second");

        // A deselection changes nothing.
        lv->clearSelection();
        EXPECT_TRUE(name->isEnabled());
        EXPECT_EQ(name->text(), "second");
    }
}

TEST(ListView, WithoutEnableOnSelectControlsStayAsTheyAre) {
    BoundPage p(kTable, MVT_FMV, 1);
    auto* lv = p.make<QTreeWidget>();
    auto* name = p.make<QLineEdit>();
    p.binder.BindControl(kName, name);
    p.binder.AttachListView(lv, false);
    p.binder.StepAfterGet();
    EXPECT_TRUE(name->isEnabled());
    name->setEnabled(false);
    p.binder.StepRowReceived();
    lv->topLevelItem(0)->setSelected(true);
    EXPECT_FALSE(name->isEnabled());
}

// Before a set: every text emptied, the selected row loaded, the controls collected over it.
TEST(ListView, CollectControlsStartsFromTheSelectedRow) {
    BoundPage p(kTable, MVT_FMV, 1);
    auto* lv = p.make<QTreeWidget>();
    auto* name = p.make<QLineEdit>();
    p.binder.BindControl(kName, name);
    p.binder.AttachListView(lv, true);
    setRow(p, {"7", "s7", "seventh", "70", "z", "other"});
    p.binder.StepRowReceived();
    lv->topLevelItem(0)->setSelected(true);
    name->setText("renamed");
    p.value(kNothing) = "other";

    p.binder.StepCollectControls();
    EXPECT_EQ(p.value(kIndex), "7");
    EXPECT_EQ(p.value(kSecret), "s7");
    EXPECT_EQ(p.value(kName), "renamed");
    EXPECT_EQ(p.value(kNothing), ""); // covered by nothing: sent empty
}

TEST(ListView, WithoutAListViewRowsGoToTheControls) {
    BoundPage p(kTable, MVT_FMV, 1);
    auto* name = p.make<QLineEdit>();
    p.binder.BindControl(kName, name);
    p.value(kName) = "direct";
    p.binder.StepRowReceived();
    EXPECT_EQ(name->text(), "direct");
}

TEST(ListView, FailureWhileShowingASelectedRowIsReported) {
    BoundPage p(kTable, MVT_FMV, 1);
    auto* lv = p.make<QTreeWidget>();
    auto* part = p.make<QLineEdit>();
    p.binder.BindPartial(kSecret, 3, QvSyntax::uint16, nullptr, part);
    p.binder.AttachListView(lv, true);
    setRow(p, {"1", "ab", "n", "1", "1", ""});
    p.binder.StepRowReceived();
    lv->topLevelItem(0)->setSelected(true);
    EXPECT_EQ(p.binder.failures,
              QStringList({"(QvSNMP++) Out of range for the bit(byte) index of the associated "
                           "SNMP variable's (partial) data!"}));
}

} // namespace
