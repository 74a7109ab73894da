// The machinery every page shares, against the simulated device: write sequences that stop at the
// first failure, the close rule while an exchange is outstanding (and the close carried out once
// the page is idle), answers handled later, choices nobody made, and the restart wait.
#include "binding/choice.h"
#include "binding/radio_group.h"
#include "pages/common/page.h"
#include "platform/events.h"
#include "snmplib/qv_exception.h"
#include "tests/support/device_window.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

using test::devMibOid;

constexpr QvSNMPVarDef kSsid[] = {
    {"devMib.1.1.1.1.1", "hSSID", QvSyntax::displaystr, QvAccess::readwrite}};
constexpr QvSNMPVarDef kBroadcast[] = {
    {"devMib.1.1.1.2.1", "hSSIDBroadcast", QvSyntax::integer, QvAccess::readwrite}};
constexpr QvSNMPVarDef kChannel[] = {
    {"devMib.1.1.1.3.1", "hChannel", QvSyntax::integer, QvAccess::readwrite}};

// The three variables in one list, the broadcast with its labels.
constexpr QvOptionSource kOnOff[] = {{0, "Disable"}, {1, "Enable"}};
constexpr QvSNMPVarDef kPair[] = {
    {"devMib.1.1.1.1.1", "hSSID", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.1.1.1.2.1", "hSSIDBroadcast", QvSyntax::integer, QvAccess::readwrite, kOnOff},
    {"devMib.1.1.1.3.1", "hChannel", QvSyntax::integer, QvAccess::readwrite},
};

constexpr QvSNMPVarDef kBroadcastState[] = {
    {"devMib.1.1.1.2.1", "hSSIDBroadcast", QvSyntax::integer, QvAccess::readwrite, kOnOff}};

class PageMachinery : public test::DeviceWindow {
protected:
    // A page with three one-variable requests, each bound to an edit.
    void openPage() {
        start("recent");
        page = std::make_unique<pages::Page>(form.get());
        using Table = std::span<const QvSNMPVarDef>;
        for (Table table : {Table(kSsid), Table(kBroadcast), Table(kChannel)}) {
            auto* edit = new QLineEdit(page.get());
            QvSNMPRequest2Edits* request = page->addRequest(table, {.kind = MVT_SV});
            request->BindFormat(0, "%s", edit);
            ASSERT_TRUE(request->Refresh());
            requests.push_back(request);
            edits.push_back(edit);
        }
        page->show();
        sim->clearJournal();
    }
    void TearDown() override {
        page.reset();
        DeviceWindow::TearDown();
    }

    std::unique_ptr<pages::Page> page;
    std::vector<QvSNMPRequest2Edits*> requests;
    std::vector<QLineEdit*> edits;
};

TEST_F(PageMachinery, WritesStopAtTheFirstFailureAndSkipTheWritesLeftOut) {
    openPage();
    edits[0]->setText("lab-north");
    edits[1]->setText("0");
    edits[2]->setText("11");
    ASSERT_TRUE(sim->command("error devMib.1.1.1.2 5 set"));
    EXPECT_FALSE(pages::writeInOrder({{requests[0]}, {requests[1]}, {requests[2]}}));
    // The first write went out, the refused one was tried, the channel never was.
    EXPECT_EQ(sets(), (QStringList{devMibOid("1.1.1.1.1=lab-north"), devMibOid("1.1.1.2.1=0")}));
    EXPECT_EQ(sim->value("devMib.1.1.1.3.1")["value"].toString(), "6");

    ASSERT_TRUE(sim->command("clear"));
    sim->clearJournal();
    bool stepRan = false;
    EXPECT_TRUE(pages::writeInOrder(
        {{requests[0], false}, {[&] { return stepRan = true; }}, {requests[2]}}));
    EXPECT_TRUE(stepRan);
    EXPECT_EQ(sets(), QStringList{devMibOid("1.1.1.3.1=11")});
}

// A request of the page that waits for a silent device (300 ms, one retry), its failure silent.
QvSNMPRequest2Edits* silentReading(kwtest::SimDevice& sim, QvSNMPRequest2Edits* request) {
    EXPECT_TRUE(sim.command("silence devMib.1.1.1.1 get"));
    request->mode = QvSNMPRequest2Controls::asynchronous;
    request->timeout = 30;
    request->silentFailures = true;
    return request;
}

TEST_F(PageMachinery, ACloseAskedForWhileAnAnswerIsDueIsCarriedOutOnceTheAnswerIsHandled) {
    struct Way {
        const char* name;
        void (*ask)(pages::Page&);
    };
    const Way ways[] = {{"close box", [](pages::Page& p) { p.close(); }},
                        {"Escape", [](pages::Page& p) { p.reject(); }}};
    start("recent");
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        page = std::make_unique<pages::Page>(form.get());
        auto* edit = new QLineEdit(page.get());
        QvSNMPRequest2Edits* slow = silentReading(*sim, page->addRequest(kSsid, {.kind = MVT_SV}));
        slow->BindFormat(0, "%s", edit);
        bool handled = false;
        bool visibleWhenHandled = false;
        slow->OnGetCompleteLater(page.get(), [&](const QvSNMPError&) {
            handled = true;
            visibleWhenHandled = page->isVisible();
        });
        page->show();
        ASSERT_TRUE(slow->Refresh());
        ASSERT_TRUE(slow->busy);

        way.ask(*page);
        EXPECT_TRUE(page->isVisible());
        EXPECT_TRUE(page->closeAsked());
        // Nobody asks again: the page closes by itself after the time-out's answer is handled.
        ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return !page->isVisible(); }, 5000));
        EXPECT_TRUE(handled);
        EXPECT_TRUE(visibleWhenHandled);
        EXPECT_FALSE(slow->busy);
        EXPECT_EQ(page->result(), QDialog::Rejected);
        page.reset();
    }
}

TEST_F(PageMachinery, ACloseRefusedByARegisteredConditionWaitsForTheOperatorToAskAgain) {
    openPage();
    bool transferRunning = true;
    page->keepOpenWhile([&] { return transferRunning; });
    page->close();
    EXPECT_TRUE(page->isVisible());
    EXPECT_FALSE(page->closeAsked());

    // The transfer ends and an exchange of the page comes and goes: nothing closes the page.
    transferRunning = false;
    ASSERT_TRUE(requests[0]->Refresh());
    platform::processPendingEvents();
    EXPECT_TRUE(page->isVisible());
    page->close();
    EXPECT_FALSE(page->isVisible());
}

TEST_F(PageMachinery, ARequestWhoseAnswerIsHandledLaterStaysBusyUntilTheHandlerHasRun) {
    struct Case {
        const char* name;
        const char* fault; // a control command, or none
    };
    const Case cases[] = {{"answered", nullptr}, {"error status", "error devMib.1.1.1.3 5 get"}};
    openPage();
    QvSNMPRequest2Edits* reading = requests[2];
    reading->mode = QvSNMPRequest2Controls::asynchronous;
    reading->silentFailures = true;
    int handled = 0;
    int code = -1;
    reading->OnGetCompleteLater(page.get(), [&](const QvSNMPError& e) {
        ++handled;
        code = e.code;
    });
    // What was handled at the moment the request became idle: a wait that turns the event loop
    // would also see a handler that ran only after the request had said it was idle.
    int handledWhenIdle = -1;
    const auto pageOnIdle = reading->OnIdle;
    reading->OnIdle = [&] {
        handledWhenIdle = handled;
        if (pageOnIdle)
            pageOnIdle();
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(sim->command("clear"));
        if (c.fault) {
            ASSERT_TRUE(sim->command(c.fault));
        }
        const int before = handled;
        ASSERT_TRUE(reading->Refresh());
        ASSERT_TRUE(page->exchangesOutstanding());
        ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return !reading->busy; }, 5000));
        // Idle means handled: whoever waited for it sees what the handler did.
        EXPECT_EQ(handledWhenIdle, before + 1);
        EXPECT_EQ(handled, before + 1);
        EXPECT_EQ(code != 0, c.fault != nullptr);
        EXPECT_FALSE(page->exchangesOutstanding());
    }
}

// Values a device may report for a two-option state that neither option stands for, shown in
// each kind of choice control a page binds: no choice is shown, and no write sends an option for
// it until the operator has chosen one.
TEST_F(PageMachinery, AValueNoOptionStandsForIsShownAsNoChoiceAndNeverWrittenAsOne) {
    struct Value {
        const char* name;
        QString define;
    };
    const Value values[] = {
        {"99", "define devMib.1.1.1.2.1 integer rw 99"},
        {"-1", "define devMib.1.1.1.2.1 integer rw -1"},
        {"a long string", "define devMib.1.1.1.2.1 string rw \"" + QString(3000, 'x') + "\""},
    };
    enum Kind { Combo, Radio, Box };
    openPage();
    for (Kind kind : {Combo, Radio, Box}) {
        for (const Value& value : values) {
            SCOPED_TRACE(std::string(value.name) + " in control kind " + std::to_string(kind));
            QWidget* control = nullptr;
            if (kind == Combo)
                control = new QComboBox(page.get());
            else if (kind == Radio)
                control = new QvRadioGroup(page.get());
            else
                control = new QCheckBox(QStringLiteral("Enable"), page.get());
            (new QLabel(QStringLiteral("Broadcast SSID:"), page.get()))->setBuddy(control);
            control->show(); // made after the page was shown
            QvSNMPRequest2Edits* state = page->addRequest(kBroadcastState, {.kind = MVT_SV});
            pages::bind(*state, {{0, control}});
            ASSERT_TRUE(sim->command(value.define));
            ASSERT_TRUE(state->Refresh());
            EXPECT_FALSE(qv::HasChoice(control));
            if (auto* box = qobject_cast<QCheckBox*>(control)) {
                EXPECT_EQ(box->checkState(), Qt::PartiallyChecked);
            }

            // Neither alone nor after a write before it: nothing is sent, the field is named.
            sim->clearJournal();
            prompter.shown.clear();
            EXPECT_FALSE(page->guard([&] { pages::apply(*state); }));
            EXPECT_FALSE(pages::writeInOrder({{requests[0]}, {state}}));
            EXPECT_TRUE(sets().isEmpty()) << sets().join(" ").toStdString();
            ASSERT_EQ(prompter.shown.size(), 2);
            for (const auto& shown : prompter.shown) {
                EXPECT_EQ(shown.caption, "Error");
                EXPECT_EQ(shown.text, "Please select a value for Broadcast SSID.");
            }
            EXPECT_EQ(page->focusWidget(), control);

            // The operator's choice is written (to the object as the device normally has it).
            ASSERT_TRUE(sim->command("define devMib.1.1.1.2.1 integer rw 1 enum=0,1"));
            if (auto* combo = qobject_cast<QComboBox*>(control))
                combo->setCurrentIndex(0);
            else if (auto* group = qobject_cast<QvRadioGroup*>(control))
                group->button(0)->click();
            else
                static_cast<QCheckBox*>(control)->click(); // no choice -> checked
            EXPECT_TRUE(qv::HasChoice(control));
            EXPECT_TRUE(pages::apply(*state));
            EXPECT_EQ(sets(), QStringList{devMibOid(kind == Box ? "1.1.1.2.1=1" : "1.1.1.2.1=0")});
            if (auto* box = qobject_cast<QCheckBox*>(control)) {
                // Once chosen, clicks go between the two options only.
                box->click();
                box->click();
                EXPECT_EQ(box->checkState(), Qt::Checked);
            }
        }
    }
}

TEST_F(PageMachinery, TheRestartWaitRunsOnlyWithoutSaveAndActivate) {
    openPage();
    int prepared = 0;
    const auto prepare = [&](TFM_Waiting& wait) {
        ++prepared;
        wait.secondsLeft = 1;
        wait.sendReboot = false;
    };
    app::setSaveSupported(true);
    EXPECT_FALSE(pages::waitForRestartUnlessSaved(page.get(), prepare));
    EXPECT_EQ(prepared, 0);
    app::setSaveSupported(false);
    EXPECT_TRUE(pages::waitForRestartUnlessSaved(page.get(), prepare));
    EXPECT_EQ(prepared, 1);
}

TEST(PageChecks, ARefusalShowsItsMessageMovesTheFocusAndStops) {
    test::ScriptedPrompter prompter;
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    auto* other = new QLineEdit(&dialog);
    dialog.show();
    other->setFocus();
    EXPECT_FALSE(pages::refuse("Please Input SSID.", "Warning", edit));
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].caption, "Warning");
    EXPECT_EQ(prompter.shown[0].text, "Please Input SSID.");
    EXPECT_EQ(prompter.shown[0].buttons, platform::Buttons::Ok);
    EXPECT_EQ(dialog.focusWidget(), edit);
}

TEST_F(PageMachinery, EveryFlagConstantIsAFlagOfTheMainWindowAndEveryFlagHasOne) {
    start("recent");
    QStringList constants;
    for (pages::Flag f : pages::flags::kAll) {
        constants << QString::fromLatin1(f.name());
        EXPECT_NE(form->flagEdit(constants.last()), nullptr) << f.name();
    }
    const auto* holder = form->findChild<QWidget*>(QStringLiteral("CapabilityFlags"));
    ASSERT_NE(holder, nullptr);
    for (const QLineEdit* edit : holder->findChildren<QLineEdit*>())
        EXPECT_TRUE(constants.contains(edit->objectName())) << edit->objectName().toStdString();
    // A flag the device answered reads as its number.
    ASSERT_TRUE(kwtest::SimDevice::waitUntil(
        [&] { return pages::flagText(pages::flags::ifMultiSSID_Edit) == "1"; }, 5000));
    EXPECT_EQ(pages::flag(pages::flags::ifMultiSSID_Edit), 1);
}

TEST_F(PageMachinery, BindsEditsByFormatAndOtherControlsWholeInOneCall) {
    openPage();
    auto* ssid = new QLineEdit(page.get());
    auto* broadcast = new QComboBox(page.get());
    auto* channel = new QLineEdit(page.get());
    auto* status = new QStatusBar(page.get());
    QvSNMPRequest2Edits* request = page->addRequest(kPair, {.kind = MVT_SV, .status = status});
    pages::bind(*request, {{0, ssid}, {1, broadcast}, {2, channel, QStringLiteral("%u")}});
    ASSERT_TRUE(request->Refresh()) << status->currentMessage().toStdString();
    EXPECT_EQ(broadcast->count(), 2);
    // As the profile has them: SSID "KW9100", broadcast 1, channel 6.
    EXPECT_EQ(ssid->text(), "KW9100");
    EXPECT_EQ(broadcast->currentText(), "Enable");
    EXPECT_EQ(channel->text(), "6");

    ssid->setText("lab-south");
    broadcast->setCurrentIndex(broadcast->findText("Disable"));
    EXPECT_TRUE(pages::apply(*request));
    EXPECT_EQ(sets(), QStringList{devMibOid("1.1.1.1.1=lab-south,") + devMibOid("1.1.1.2.1=0,") +
                                  devMibOid("1.1.1.3.1=6")});
}

// A page whose handler raises a configuration fault: the fault's text goes to the status bar
// and the event loop goes on.
class FaultyPage : public pages::Page {
public:
    explicit FaultyPage(QWidget* owner) : Page(owner) {
        button = new QPushButton(this);
        setStatusOutput(new QStatusBar(this));
        handle(button, &QPushButton::clicked, &FaultyPage::Bt_ApplyClick);
    }
    void Bt_ApplyClick() {
        ++runs;
        throw QvException(-516, QStringLiteral("Bad format: %q"));
    }
    QPushButton* button;
    int runs = 0;
};

TEST(PageHandlers, AFaultRaisedInAHandlerEndsInTheStatusBar) {
    FaultyPage page(nullptr);
    page.button->click();
    page.button->click();
    EXPECT_EQ(page.runs, 2);
    EXPECT_EQ(static_cast<QStatusBar*>(page.statusOutput())->currentMessage(), "Bad format: %q");
    EXPECT_FALSE(page.guard([] { throw QvException(-516, QStringLiteral("again")); }));
    EXPECT_EQ(static_cast<QStatusBar*>(page.statusOutput())->currentMessage(), "again");
    EXPECT_TRUE(page.guard([] {}));
}

// A page names its rules after clicks; on check boxes, radio buttons and radio groups they run on
// every choice, on push buttons on clicks only.
class ChoicePage : public pages::Page {
public:
    ChoicePage() : Page(nullptr) {
        auto* layout = new QVBoxLayout(this);
        for (QWidget* w : {static_cast<QWidget*>(box), static_cast<QWidget*>(radio),
                           static_cast<QWidget*>(group), static_cast<QWidget*>(button)})
            layout->addWidget(w);
        group->addItems({QStringLiteral("Disable"), QStringLiteral("Enable")});
        button->setCheckable(true); // even a push button that keeps a state keeps its clicks
        handle(box, &QCheckBox::clicked, &ChoicePage::CB_StatusClick);
        handle(box, &QCheckBox::toggled, &ChoicePage::CB_StatusToggled);
        handle(radio, &QRadioButton::clicked, &ChoicePage::RB_NoneClick);
        handle(group, &QvRadioGroup::clicked, &ChoicePage::RG_TrapStatusClick);
        handle(button, &QPushButton::clicked, &ChoicePage::Bt_ApplyClick);
        show();
    }
    void CB_StatusClick() { ++boxRuns; }
    void CB_StatusToggled() { ++toggles; }
    void RB_NoneClick() { ++radioRuns; }
    void RG_TrapStatusClick() { ++groupRuns; }
    void Bt_ApplyClick() { ++buttonRuns; }

    QCheckBox* box = new QCheckBox(QStringLiteral("Enable"), this);
    QRadioButton* radio = new QRadioButton(QStringLiteral("None "), this);
    QvRadioGroup* group = new QvRadioGroup(QStringLiteral("Trap Status"), this);
    QPushButton* button = new QPushButton(QStringLiteral("Apply"), this);
    int boxRuns = 0, toggles = 0, radioRuns = 0, groupRuns = 0, buttonRuns = 0;
};

TEST(PageHandlers, ChoiceRulesFollowAssistiveToolsAndProgramsButtonsOnlyClicks) {
    ChoicePage page;
    const auto toggle = [](QWidget* w) {
        QAccessible::queryAccessibleInterface(w)->actionInterface()->doAction(
            QAccessibleActionInterface::toggleAction());
    };
    toggle(page.box);
    toggle(page.radio);
    toggle(page.group->button(1));
    page.group->setCurrentIndex(0);
    page.box->setChecked(false);
    page.button->setChecked(true);
    EXPECT_EQ(page.boxRuns, 2);
    EXPECT_EQ(page.toggles, 2); // other signals stay as they are
    EXPECT_EQ(page.radioRuns, 1);
    EXPECT_EQ(page.groupRuns, 2);
    EXPECT_EQ(page.buttonRuns, 0);
    page.button->click();
    page.box->click();
    EXPECT_EQ(page.buttonRuns, 1);
    EXPECT_EQ(page.boxRuns, 3);
}

TEST(PageChecks, RefuseAndClearEmptiesTheFieldShowsTheMessageAndMovesTheFocus) {
    test::ScriptedPrompter prompter;
    QDialog dialog;
    auto* edit = new QLineEdit(QStringLiteral("10.1.1.0.5"), &dialog);
    dialog.show();
    EXPECT_FALSE(pages::refuseAndClear("Please input valid IP Address.", "Warning", edit));
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(dialog.focusWidget(), edit);
}

} // namespace
