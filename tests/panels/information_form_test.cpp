// The "Home \ Information" form and the editor panel it is made of, against the simulated
// device: rows and their kinds, the check and set rules, failures in the memo, and closing while
// an exchange is under way.
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "binding/request2edits.h"
#include "panels/config_form.h"
#include "panels/ctrl_btn_panel.h"
#include "panels/edits_panel.h"
#include "panels/information_form.h"
#include "panels/snmp_panel.h"
#include "snmplib/qv_exception.h"
#include "tests/support/device_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>
#include <span>

namespace {

constexpr char kSysName[] = "1.3.6.1.2.1.1.5.0";
constexpr char kSysContact[] = "1.3.6.1.2.1.1.4.0";
constexpr char kSysLocation[] = "1.3.6.1.2.1.1.6.0";

enum Row { Descr, ObjectId, Uptime, Contact, Name, Location };

class InformationForm : public test::DeviceWindow {
protected:
    void open(const QString& profile = "recent") {
        start(profile);
        info = panels::InformationForm(form.get());
        info->show();
        // The form reads once more when shown: wait for both readings.
        ASSERT_TRUE(kwtest::SimDevice::waitUntil(
            [&] { return request().active && !request().busy && requestsSeen() >= 2; }, 5000));
    }
    void TearDown() override {
        info.reset();
        DeviceWindow::TearDown();
    }
    // GETs of the whole system group (the main window's poll asks for sysDescr alone).
    int requestsSeen() const {
        int n = 0;
        for (const QJsonObject& pdu : sim->requests("get"))
            n += pdu["varbinds"].toArray().size() == 6;
        return n;
    }

    TSNMPEditorPanel& panel() const { return *info->editorPanel(); }
    QvSNMPRequest2Edits& request() const { return panel().request(); }
    const UISnmpVar& row(Row r) const { return panel().edits()->rows().at(r); }
    QLineEdit* edit(Row r) const { return qobject_cast<QLineEdit*>(row(r).value); }
    QPushButton* button(TCtrlBtnPanel::Control c) const { return panel().buttons()->button(c); }
    QWidget* control(TCtrlBtnPanel::Control c) const { return panel().buttons()->control(c); }
    QString memo() const { return panel().messages()->memo()->toPlainText(); }
    void check(Row r, bool on) {
        if (row(r).check->isChecked() != on)
            row(r).check->click();
    }

    std::unique_ptr<TConfigForm> info;
};

TEST_F(InformationForm, ShowsTheSystemGroupWithTheThreeWritableRowsOpen) {
    open();
    EXPECT_EQ(info->windowTitle(), "Home \\ Information");
    EXPECT_EQ(info->formType(), TConfigForm::Editor);
    EXPECT_EQ(request().timeout, 3000);
    ASSERT_EQ(panel().edits()->rows().size(), 6u);

    struct Expected {
        Row row;
        const char* name;
        int kind;
        bool enabled;
    };
    const Expected expected[] = {
        {Descr, "System Description", 1, false}, {ObjectId, "System Object ID", 1, false},
        {Uptime, "System Uptime", 1, false},     {Contact, "System Contact", 2, true},
        {Name, "System Name", 2, true},          {Location, "System Location", 2, true},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.name);
        const UISnmpVar& r = row(e.row);
        EXPECT_EQ(r.name->text(), e.name);
        EXPECT_EQ(r.name->buddy(), r.value);
        EXPECT_EQ(r.kind, e.kind);
        EXPECT_EQ(r.enabled, e.enabled);
        EXPECT_EQ(edit(e.row)->isReadOnly(), !e.enabled);
        EXPECT_EQ(r.check->isVisible(), e.enabled);
        EXPECT_FALSE(r.check->isChecked());
        EXPECT_EQ(r.value->width(), 180);
        if (e.enabled) {
            EXPECT_EQ(QvEditHooks::of(*edit(e.row)).maxLength(), 42);
        }
    }
    EXPECT_EQ(edit(Descr)->text(), "KW-9100 IEEE 802.11g Wireless Access Point, firmware v2.50");
    EXPECT_EQ(edit(ObjectId)->text(), "1.3.6.1.4.1.32473.2.20");
    EXPECT_FALSE(edit(Uptime)->text().isEmpty());
    EXPECT_EQ(edit(Name)->text(), "KW-9100");
    // Rows stack downwards, 5 pixels apart.
    EXPECT_EQ(row(Descr).value->y(), 20);
    EXPECT_EQ(row(ObjectId).value->y(), row(Descr).value->geometry().bottom() + 1 + 5);

    using C = TCtrlBtnPanel;
    for (auto shown : {C::Refresh, C::SetChecked, C::CheckAll, C::ClearChecks, C::Close})
        EXPECT_TRUE(control(shown)->isVisible()) << control(shown)->objectName().toStdString();
    for (auto hidden : {C::Count, C::Samples, C::Edit, C::Add, C::Delete})
        EXPECT_FALSE(control(hidden)->isVisible()) << control(hidden)->objectName().toStdString();
    EXPECT_EQ(button(C::SetChecked)->text(), "Set Checked");
    EXPECT_FALSE(button(C::SetChecked)->isEnabled());
    EXPECT_TRUE(memo().isEmpty()) << memo().toStdString();
    EXPECT_LE(info->width(), 800);
    EXPECT_LE(info->height(), 550);
    EXPECT_GE(info->width(), panel().neededSize().width());
}

TEST_F(InformationForm, SetCheckedIsEnabledExactlyWhileARowIsChecked) {
    open();
    QPushButton* set = button(TCtrlBtnPanel::SetChecked);
    struct Step {
        const char* what;
        std::function<void()> act;
        bool enabled;
    };
    const Step steps[] = {
        {"check one row", [&] { check(Name, true); }, true},
        {"uncheck it", [&] { check(Name, false); }, false},
        {"check all", [&] { button(TCtrlBtnPanel::CheckAll)->click(); }, true},
        {"clear checks", [&] { button(TCtrlBtnPanel::ClearChecks)->click(); }, false},
        {"check all, uncheck one",
         [&] {
             button(TCtrlBtnPanel::CheckAll)->click();
             check(Location, false);
         },
         true},
    };
    for (const Step& s : steps) {
        s.act();
        EXPECT_EQ(set->isEnabled(), s.enabled) << s.what;
    }
    // Check All reaches the enabled rows only.
    for (Row r : {Descr, ObjectId, Uptime})
        EXPECT_FALSE(row(r).check->isChecked());
    EXPECT_EQ(panel().edits()->checkedCount(), 2);
}

TEST_F(InformationForm, SetCheckedSendsTheCheckedRowsWithTheWriteCommunity) {
    open();
    sim->clearJournal();
    edit(Name)->setText("lab-north");
    edit(Location)->setText("rack 4"); // changed, but not checked: not sent
    check(Name, true);
    button(TCtrlBtnPanel::SetChecked)->click();

    const QList<QJsonObject> set = sim->requests("set");
    ASSERT_EQ(set.size(), 1);
    EXPECT_EQ(set[0]["community"].toString(), kwtest::SimDevice::kWriteCommunity);
    EXPECT_EQ(sets(), QStringList{QString(kSysName) + "=lab-north"});
    EXPECT_EQ(sim->value(kSysName)["value"].toString(), "lab-north");
    EXPECT_TRUE(prompter.shown.isEmpty());
    EXPECT_TRUE(memo().isEmpty()) << memo().toStdString();
    EXPECT_EQ(request().mode, 1); // the binding object's own mode again

    // The marks of the first set are gone: a second one with two rows sends both.
    sim->clearJournal();
    edit(Contact)->setText("noc@example.net");
    check(Contact, true);
    button(TCtrlBtnPanel::SetChecked)->click();
    EXPECT_EQ(sets(),
              QStringList{QString(kSysContact) + "=noc@example.net," + kSysName + "=lab-north"});
}

TEST_F(InformationForm, AnEmptyCheckedRowStopsTheSetBeforeAnythingIsSent) {
    open();
    sim->clearJournal();
    edit(Contact)->clear();
    edit(Name)->setText("lab-south");
    check(Contact, true);
    check(Name, true);
    button(TCtrlBtnPanel::SetChecked)->click();
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].caption, "Warning");
    EXPECT_EQ(prompter.shown[0].text, "Some items are empty!");
    EXPECT_TRUE(sets().isEmpty());
    for (int i = 0; i < request().vars.count(); ++i)
        EXPECT_FALSE(request().vars.item(i).has(QvAccess::invalid)) << i;

    // An empty row that is not checked does not matter.
    check(Contact, false);
    button(TCtrlBtnPanel::SetChecked)->click();
    EXPECT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(sets(), QStringList{QString(kSysName) + "=lab-south"});
}

TEST_F(InformationForm, FailuresAreMemoLinesNotMessageBoxes) {
    open();
    ASSERT_TRUE(sim->command(QStringLiteral("error %1 4 set").arg(kSysLocation)));
    edit(Location)->setText("basement");
    check(Location, true);
    button(TCtrlBtnPanel::SetChecked)->click();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("|").toStdString();
    EXPECT_TRUE(memo().startsWith("Set: ")) << memo().toStdString();
    EXPECT_EQ(memo().count('\n'), 0);

    ASSERT_TRUE(sim->command("error 1.3.6.1.2.1.1 5 get"));
    button(TCtrlBtnPanel::Refresh)->click();
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return !request().busy; }, 5000));
    const QStringList lines = memo().split('\n');
    ASSERT_EQ(lines.size(), 2) << memo().toStdString();
    EXPECT_TRUE(lines[1].startsWith("Get: ")) << lines[1].toStdString();
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(InformationForm, ClosingWaitsForALateAnswer) {
    open();
    ASSERT_TRUE(sim->command(QStringLiteral("set %1 late-answer").arg(kSysName)));
    ASSERT_TRUE(sim->command("delay 1.3.6.1.2.1.1 400 get"));
    button(TCtrlBtnPanel::Refresh)->click();
    ASSERT_TRUE(request().busy);
    button(TCtrlBtnPanel::Close)->click();
    EXPECT_FALSE(info->isVisible());
    EXPECT_TRUE(info->released());
    // The answer was handled before the binding object went.
    EXPECT_EQ(edit(Name)->text(), "late-answer");
}

TEST_F(InformationForm, ClosingAgainstASilentDeviceEndsWithinTheRequestsTimeOut) {
    open();
    ASSERT_TRUE(sim->command("silence 1.3.6.1.2.1.1 get"));
    button(TCtrlBtnPanel::Refresh)->click();
    ASSERT_TRUE(request().busy);
    // Time-out 30 s, one retry: the wait is bounded by 60 s (at the tests' timer speed, 6 s).
    const double bound = (3000 * 10 * 2 + 500) / test::kTestTimerSpeed;
    QElapsedTimer clock;
    clock.start();
    info->close();
    const qint64 waited = clock.elapsed();
    EXPECT_FALSE(info->isVisible());
    EXPECT_TRUE(info->released());
    EXPECT_GE(waited, bound * 0.9);
    EXPECT_LT(waited, bound + 2000);
}

// The editor panel's rules for other lists than the system group.
class EditorPanel : public test::DeviceWindow {
protected:
    TSNMPEditorPanel* build(std::span<const QvSNMPVarDef> table) {
        start("recent");
        configForm = std::make_unique<TConfigForm>(form.get());
        auto request = std::make_unique<QvSNMPRequest2Edits>(configForm.get());
        request->vars.Assign(QvSNMPVarList(table, MVT_SV, 0));
        TSNMPEditorPanel* panel = configForm->AddEditorPanel(std::move(request));
        configForm->show();
        // The form reads its variables once shown.
        EXPECT_TRUE(kwtest::SimDevice::waitUntil(
            [&] {
                return !TEditsPanel::valueText(panel->edits()->rows().at(0)).isEmpty() &&
                       !panel->request().busy;
            },
            5000));
        return panel;
    }
    void TearDown() override {
        configForm.reset();
        DeviceWindow::TearDown();
    }
    std::unique_ptr<TConfigForm> configForm;
};

constexpr QvOptionSource kOnOff[] = {{0, "Disable"}, {1, "Enable"}};
constexpr QvOptionSource kSuperMode[] = {{1, "Super G without Turbo"}, {4, "Disabled"}};
constexpr QvSNMPVarDef kDescr = {"1.3.6.1.2.1.1.1.0", "Description", QvSyntax::displaystr,
                                 QvAccess::readonly};
constexpr QvSNMPVarDef kSsid = {"devMib.1.1.1.1.1", "SSID", QvSyntax::displaystr,
                                QvAccess::readwrite};
constexpr QvSNMPVarDef kMixed[] = {
    kDescr,
    {"devMib.1.1.1.2.1", "Broadcast", QvSyntax::integer, QvAccess::readwrite, kOnOff},
    {"devMib.1.1.1.3.1", "Channel", QvSyntax::integer, QvAccess::readwrite | QvAccess::hidden},
    {"devMib.4.2.1.3.1", "Super G", QvSyntax::integer, QvAccess::readonly, kSuperMode},
    kSsid,
};

TEST_F(EditorPanel, RowKindFollowsAccessAndOptionListAndHiddenRowsTakeNoPlace) {
    TSNMPEditorPanel* panel = build(kMixed);
    const auto& rows = panel->edits()->rows();
    ASSERT_EQ(rows.size(), 5u);
    struct Expected {
        int kind;
        bool combo;
        bool enabled;
        bool shown;
        const char* value;
    };
    const Expected expected[] = {
        {1, false, false, true, "KW-9100 IEEE 802.11g Wireless Access Point, firmware v2.50"},
        {3, true, true, true, "Enable"},
        {2, false, true, false, "6"},
        {4, false, false, true, "Disabled"},
        {2, false, true, true, "KW9100"},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(rows[i].kind, expected[i].kind);
        EXPECT_EQ(qobject_cast<QComboBox*>(rows[i].value) != nullptr, expected[i].combo);
        EXPECT_EQ(rows[i].enabled, expected[i].enabled);
        EXPECT_EQ(rows[i].value->isVisible(), expected[i].shown);
        EXPECT_EQ(TEditsPanel::valueText(rows[i]), expected[i].value);
    }
    auto* combo = qobject_cast<QComboBox*>(rows[1].value);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    EXPECT_TRUE(combo->isEnabled());
    // The hidden row leaves no gap.
    EXPECT_EQ(rows[3].value->y(), rows[1].value->geometry().bottom() + 1 + 5);
    EXPECT_EQ(rows[4].value->y(), rows[3].value->geometry().bottom() + 1 + 5);

    panel->SetValueWidth(250);
    for (const UISnmpVar& r : rows)
        EXPECT_EQ(r.value->width(), 250);
    EXPECT_EQ(panel->edits()->contentSize().width(), rows[0].value->geometry().right() + 1 + 40);
}

TEST_F(EditorPanel, ASingleWritableRowIsSetWithoutCheckBoxes) {
    const QvSNMPVarDef table[] = {kDescr, kSsid};
    TSNMPEditorPanel* panel = build(table);
    TCtrlBtnPanel& b = *panel->buttons();
    QPushButton* set = b.button(TCtrlBtnPanel::SetChecked);
    EXPECT_EQ(set->text(), "Set");
    EXPECT_TRUE(set->isEnabled());
    EXPECT_TRUE(set->isVisible());
    EXPECT_FALSE(b.control(TCtrlBtnPanel::CheckAll)->isVisible());
    EXPECT_FALSE(b.control(TCtrlBtnPanel::ClearChecks)->isVisible());
    const UISnmpVar& ssid = panel->edits()->rows().at(1);
    EXPECT_TRUE(ssid.check->isChecked());
    EXPECT_FALSE(ssid.check->isVisible());

    sim->clearJournal();
    qobject_cast<QLineEdit*>(ssid.value)->setText("lab-east");
    set->click();
    EXPECT_EQ(sets(), QStringList{test::devMibOid("1.1.1.1.1=lab-east")});
}

TEST_F(EditorPanel, AListWithoutWritableRowsOffersNoSet) {
    const QvSNMPVarDef table[] = {kDescr, kMixed[3]};
    TSNMPEditorPanel* panel = build(table);
    TCtrlBtnPanel& b = *panel->buttons();
    for (auto c : {TCtrlBtnPanel::SetChecked, TCtrlBtnPanel::CheckAll, TCtrlBtnPanel::ClearChecks})
        EXPECT_FALSE(b.control(c)->isVisible()) << b.control(c)->objectName().toStdString();
    EXPECT_TRUE(b.control(TCtrlBtnPanel::Refresh)->isVisible());
    EXPECT_TRUE(b.control(TCtrlBtnPanel::Close)->isVisible());
}

TEST_F(EditorPanel, AFormTakesOnePanelOnly) {
    const QvSNMPVarDef table[] = {kDescr};
    build(table);
    auto second = std::make_unique<QvSNMPRequest2Edits>(configForm.get());
    second->vars.Assign(QvSNMPVarList(table, MVT_SV, 0));
    try {
        configForm->AddEditorPanel(std::move(second));
        FAIL() << "a second panel was accepted";
    } catch (const QvException& e) {
        EXPECT_EQ(e.text(), "Can not change Type of a Config Form!");
    }
}

} // namespace
