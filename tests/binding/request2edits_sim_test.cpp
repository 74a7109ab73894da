// Binding objects against the simulated access point: a small form refreshed from the device
// and applied back, with what was sent read from the device's journal.
#include "binding/request2edits.h"

#include "binding/radio_group.h"
#include "snmplib/messages.h"
#include "tests/snmplib/raised_code.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/sim_fixture.h"

#include <gtest/gtest.h>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTreeWidget>

namespace {

using kwtest::SimDevice;

constexpr const char* kProfile = R"(
community read fenrow
community write quillet
1.3.6.1.2.1.1.1.0  string     ro  "KW-9100 test device"
devMib.1.1.0       string     rw  "KW9100"        now
devMib.1.2.0       integer    rw  1               enum=0,1 now
devMib.1.3.0       ipaddress  rw  192.168.0.50    now
devMib.1.4.0       integer    rw  6               range=1..11 now
devMib.2.1.1.1.1   integer    ro  1
devMib.2.1.1.1.2   integer    ro  2
devMib.2.1.1.1.3   integer    ro  3
devMib.2.1.1.2.1   string     rw  "guest"         now
devMib.2.1.1.2.2   string     rw  "office"        now
devMib.2.1.1.2.3   string     rw  "lab"           now
devMib.2.1.1.3.1   integer    rw  1               enum=0,1 now
devMib.2.1.1.3.2   integer    rw  0               enum=0,1 now
devMib.2.1.1.3.3   integer    rw  1               enum=0,1 now
)";

constexpr QvOptionSource kDisableEnable[] = {{0, "Disable"}, {1, "Enable"}};

constexpr QvSNMPVarDef kSettings[] = {
    {"1.3.6.1.2.1.1.1", "description", QvSyntax::displaystr, QvAccess::readonly},
    {"devMib.1.1", "ssid", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.1.2", "state", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
    {"devMib.1.3", "address", QvSyntax::ipaddress, QvAccess::readwrite},
    {"devMib.1.4", "channel", QvSyntax::integer, QvAccess::readwrite},
};

// The index is the key (shown, never fetched as a column of its own would be).
constexpr QvSNMPVarDef kSsidTable[] = {
    {"devMib.2.1.1.1", "Index", QvSyntax::integer, QvAccess::readonly | QvAccess::notaccess},
    {"devMib.2.1.1.2", "SSID", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.2.1.1.3", "State", QvSyntax::integer, QvAccess::readwrite, kDisableEnable},
};

const QString kSsidOid = QStringLiteral("1.3.6.1.4.1.32473.1.2.1.1");

struct Bind {
    QString oid;
    QString type;
    QString value;
    bool operator==(const Bind&) const = default;
};

void PrintTo(const Bind& b, std::ostream* os) {
    *os << b.oid.toStdString() << " " << b.type.toStdString() << " " << b.value.toStdString();
}

QList<Bind> bindsOf(const QJsonObject& pdu) {
    QList<Bind> out;
    for (const QJsonValue& v : pdu.value(QStringLiteral("varbinds")).toArray()) {
        const QJsonObject b = v.toObject();
        out.append(
            {b.value("oid").toString(), b.value("type").toString(), b.value("value").toString()});
    }
    return out;
}

class BindingSim : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        kwtest::SimOptions options;
        options.profileText = kProfile;
        sim = std::make_unique<SimDevice>(options);
    }
    static void TearDownTestSuite() { sim.reset(); }
    void SetUp() override {
        ASSERT_TRUE(sim->ok()) << sim->error().toStdString();
        sim->command(QStringLiteral("clear"));
        sim->clearJournal();
    }

    template <class R = QvSNMPRequest2Edits>
    std::unique_ptr<R> request(std::span<const QvSNMPVarDef> table, quint8 kind, int keys = 0) {
        auto r = std::make_unique<R>(&form);
        r->device.address = sim->address();
        r->device.port = sim->port();
        r->security.version = 1;
        r->security.readCommunity = QLatin1String(SimDevice::kReadCommunity);
        r->security.writeCommunity = QLatin1String(SimDevice::kWriteCommunity);
        r->timeout = 50;
        r->retries = 0;
        r->vars.Assign(QvSNMPVarList(table, kind, keys));
        r->mode = 0;
        return r;
    }

    template <class W> W* make(const char* name) {
        auto* w = new W(&form);
        w->setObjectName(QLatin1String(name));
        return w;
    }

    static std::unique_ptr<SimDevice> sim;
    test::ScriptedPrompter prompter;
    QWidget form;
};

std::unique_ptr<SimDevice> BindingSim::sim;

TEST_F(BindingSim, ScalarsRefreshIntoControlsAndApplyBackAsOneSet) {
    auto* descr = make<QLabel>("La_Descr");
    auto* ssid = make<QLineEdit>("Ed_SSID");
    auto* state = make<QComboBox>("CB_State");
    QList<QLineEdit*> address;
    for (const char* name : {"Ed_IP1", "Ed_IP2", "Ed_IP3", "Ed_IP4"})
        address << make<QLineEdit>(name);
    auto* channel = make<QLineEdit>("Ed_Channel");

    auto r = request(kSettings, SVT_SV);
    r->BindControl(0, descr);
    r->BindFormat(1, "%s{l32}", ssid);
    r->BindComboBox(2, state);
    r->BindFormat(3, "%u{n0x255}%u{n0x255}%u{n0x255}%u{n1x254}", address);
    r->BindFormat(4, "%u{n1x11}", channel);

    ASSERT_TRUE(r->Refresh());
    EXPECT_FALSE(r->busy);
    EXPECT_EQ(r->rowsReceived, 1);
    EXPECT_EQ(descr->text(), "KW-9100 test device");
    EXPECT_EQ(ssid->text(), "KW9100");
    EXPECT_EQ(state->currentText(), "Enable");
    EXPECT_EQ(address[0]->text() + "." + address[3]->text(), "192.50");
    EXPECT_EQ(channel->text(), "6");
    ASSERT_EQ(sim->requests(QStringLiteral("get")).size(), 1);

    sim->clearJournal();
    ssid->setText("Lab AP");
    state->setCurrentIndex(0);
    address[0]->setText("10");
    address[1]->setText("1");
    address[2]->setText("2");
    address[3]->setText("3");
    ASSERT_TRUE(r->Apply(true, true));
    EXPECT_FALSE(r->busy);

    const auto pdus = sim->journal();
    ASSERT_EQ(pdus.size(), 1) << "a scalar list is not read again after its set";
    EXPECT_EQ(pdus[0].value("op").toString(), "set");
    const QString m = QStringLiteral("1.3.6.1.4.1.32473.1.1.");
    EXPECT_EQ(bindsOf(pdus[0]), (QList<Bind>{{m + "1.0", "string", "Lab AP"},
                                             {m + "2.0", "integer", "0"},
                                             {m + "3.0", "ipaddress", "10.1.2.3"},
                                             {m + "4.0", "integer", "6"}}));
    EXPECT_TRUE(prompter.shown.isEmpty());
}

// A walk fills the list view; kind 2 keeps the bound controls disabled until a row is
// selected, kind 3 leaves them enabled. Selecting a row shows it in the controls.
TEST_F(BindingSim, TableWalksIntoTheListView) {
    for (const quint8 kind : {MVT_FMV, MVT_UMV}) {
        SCOPED_TRACE(int(kind));
        sim->clearJournal();
        auto* lv = make<QTreeWidget>("LV_SSID");
        auto* name = make<QLineEdit>("Ed_SSID");
        auto* state = make<QComboBox>("CB_State");
        auto r = request(kSsidTable, kind, 1);
        r->BindFormat(1, "%s", name);
        r->BindComboBox(2, state);
        r->AttachListView(lv, true);

        ASSERT_TRUE(r->Refresh());
        EXPECT_EQ(r->rowsReceived, 3);
        ASSERT_EQ(lv->topLevelItemCount(), 3);
        EXPECT_EQ(lv->headerItem()->text(1), "SSID");
        EXPECT_EQ(lv->topLevelItem(1)->text(0), "2");
        EXPECT_EQ(lv->topLevelItem(1)->text(1), "office");
        EXPECT_EQ(lv->topLevelItem(1)->text(2), "Disable");
        EXPECT_EQ(sim->requests(QStringLiteral("getnext")).size(), 4); // n + 1 exchanges
        EXPECT_EQ(name->isEnabled(), kind == MVT_UMV);
        EXPECT_EQ(state->isEnabled(), kind == MVT_UMV);

        lv->topLevelItem(2)->setSelected(true);
        EXPECT_TRUE(name->isEnabled());
        EXPECT_EQ(name->text(), "lab");
        EXPECT_EQ(state->currentText(), "Enable");
        delete lv;
        delete name;
        delete state;
    }
}

// The set of a selected row goes to that row; a failed set still refreshes the list.
TEST_F(BindingSim, ApplyOnATableRefreshesAfterAFailedSet) {
    auto* lv = make<QTreeWidget>("LV_SSID");
    auto* name = make<QLineEdit>("Ed_SSID");
    auto* state = make<QComboBox>("CB_State");
    auto* bar = make<QStatusBar>("StatusBar");
    auto r = request(kSsidTable, MVT_FMV, 1);
    r->BindFormat(1, "%s", name);
    r->BindComboBox(2, state);
    r->AttachListView(lv, true);
    r->SetStatusOutput(bar);
    ASSERT_TRUE(r->Refresh());
    lv->topLevelItem(1)->setSelected(true);
    name->setText("changed");

    ASSERT_TRUE(sim->command(QStringLiteral("error devMib.2.1.1.2 4 set")));
    sim->clearJournal();
    EXPECT_FALSE(r->Apply(true, true));
    EXPECT_FALSE(r->busy);

    const auto pdus = sim->journal();
    ASSERT_GE(pdus.size(), 2u);
    EXPECT_EQ(pdus[0].value("op").toString(), "set");
    EXPECT_EQ(bindsOf(pdus[0]), (QList<Bind>{{kSsidOid + ".2.2", "string", "changed"},
                                             {kSsidOid + ".3.2", "integer", "0"}}));
    for (qsizetype i = 1; i < pdus.size(); ++i)
        EXPECT_EQ(pdus[i].value("op").toString(), "getnext") << i;
    ASSERT_EQ(lv->topLevelItemCount(), 3);
    EXPECT_EQ(lv->topLevelItem(1)->text(1), "office");
    EXPECT_FALSE(name->isEnabled()); // refreshed: disabled until a row is selected again
    // The set's failure was reported before the refresh, which succeeded.
    EXPECT_TRUE(bar->currentMessage().startsWith("Set: " + qv::codeText(-104) + ". Receive at "))
        << bar->currentMessage().toStdString();
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(BindingSim, NumberedRowsLeaveOutTheSkippedValue) {
    auto* lv = make<QTreeWidget>("LV_WDS");
    auto r = request<New_req2Edit>(kSsidTable, MVT_UMV, 1);
    r->watchedIndex = 2;
    r->skipText = "Disable";
    r->AttachListView(lv, true);
    r->rowNumber = 1;
    ASSERT_TRUE(r->Refresh());
    EXPECT_EQ(r->rowsReceived, 3);
    ASSERT_EQ(lv->topLevelItemCount(), 2);
    EXPECT_EQ(lv->topLevelItem(0)->text(0), "1");
    EXPECT_EQ(lv->topLevelItem(0)->text(1), "guest");
    EXPECT_EQ(lv->topLevelItem(1)->text(0), "2");
    EXPECT_EQ(lv->topLevelItem(1)->text(1), "lab");
}

TEST_F(BindingSim, AsynchronousWalkEndsWithOnGetCompleteAndBusyCleared) {
    auto* lv = make<QTreeWidget>("LV_SSID");
    auto r = request(kSsidTable, MVT_UMV, 1);
    r->mode = 1;
    r->AttachListView(lv, false);
    int completions = 0;
    int ends = 0;
    int lastCode = -1;
    r->onComplete = [&](const QvSNMPError& e) {
        ++completions;
        lastCode = e.code;
    };
    r->OnGetComplete = [&](QvSNMPRequest2Controls& sender, const QvSNMPError& e) {
        EXPECT_EQ(&sender, r.get());
        EXPECT_FALSE(sender.busy);
        ++ends;
        lastCode = e.code;
    };
    ASSERT_TRUE(r->Refresh());
    EXPECT_TRUE(r->busy);
    ASSERT_TRUE(SimDevice::waitUntil([&] { return ends > 0; }, 10000));
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(completions, 1);
    EXPECT_EQ(lastCode, 0);
    EXPECT_FALSE(r->busy);
    EXPECT_EQ(lv->topLevelItemCount(), 3);
}

// A second reading asked for before the first is answered: the request stays busy until both
// have been answered, whichever answer comes first.
TEST_F(BindingSim, OverlappingReadingsKeepTheRequestBusyUntilTheLastAnswer) {
    auto r = request(kSettings, SVT_SV);
    r->mode = 1;
    r->timeout = 500;
    int ends = 0;
    r->OnGetComplete = [&](QvSNMPRequest2Controls&, const QvSNMPError&) { ++ends; };
    // The first reading is held by the device until the second has come and gone.
    ASSERT_TRUE(sim->command("delay devMib.1 600 get"));
    ASSERT_TRUE(r->Refresh());
    ASSERT_TRUE(SimDevice::waitUntil([&] { return sim->requests("get").size() == 1; }, 5000));
    ASSERT_TRUE(sim->command("clear"));
    ASSERT_TRUE(r->Refresh());
    ASSERT_TRUE(SimDevice::waitUntil([&] { return ends == 1; }, 5000));
    EXPECT_TRUE(r->busy) << "the first reading is still unanswered";
    ASSERT_TRUE(SimDevice::waitUntil([&] { return !r->busy; }, 5000));
    EXPECT_EQ(ends, 2);
}

// Who hears of a failed get or set (a device answering genErr), by what the object has.
TEST_F(BindingSim, FailuresGoWhereTheRuleSays) {
    const QString genErr = qv::codeText(-105);
    struct Case {
        const char* what;
        bool statusOutput;
        bool callback;
        bool silent;
        bool asynchronous;
        bool set;
        bool line; // a status line written
        bool box;  // a message box shown
        int heard; // calls of the page's callback with the failure
    };
    const Case cases[] = {
        {"get, status output", true, false, false, false, false, true, false, 0},
        {"get, status output and callback", true, true, false, false, false, true, false, 1},
        {"get, callback only", false, true, false, false, false, false, false, 1},
        {"get, nothing", false, false, false, false, false, false, true, 0},
        {"get, silent", false, false, true, false, false, false, false, 0},
        {"set, nothing", false, false, false, false, true, false, true, 0},
        {"set, silent with callback", false, true, true, false, true, false, false, 1},
        {"async get, status output", true, false, false, true, false, true, false, 0},
        {"async get, handler", false, true, false, true, false, false, false, 1},
        {"async get, nothing", false, false, false, true, false, false, true, 0},
        {"async set, status output and handler", true, true, false, true, true, true, false, 1},
        {"async set, nothing", false, false, false, true, true, false, true, 0},
    };
    ASSERT_TRUE(sim->command(QStringLiteral("error devMib.1.4 5")));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.shown.clear();
        auto* memo = make<QPlainTextEdit>("Memo");
        auto r = request(kSettings, SVT_SV);
        r->BindFormat(4, "%u", make<QLineEdit>("Ed_Channel"));
        r->mode = c.asynchronous ? 1 : 0;
        r->silentFailures = c.silent;
        if (c.statusOutput)
            r->SetStatusOutput(memo);
        int heard = 0;
        if (c.callback && !c.asynchronous)
            r->onComplete = [&](const QvSNMPError& e) { heard += e.code == -105; };
        const auto handler = [&](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            heard += e.code == -105;
        };
        if (c.callback && c.asynchronous)
            (c.set ? r->OnSetComplete : r->OnGetComplete) = handler;
        const QStringList six = {"6"};
        const bool result = c.set ? r->Apply(false, false, "4", &six) : r->Refresh();
        if (c.asynchronous) {
            EXPECT_TRUE(result);
            ASSERT_TRUE(SimDevice::waitUntil([&] { return !r->busy; }, 10000));
        } else {
            EXPECT_FALSE(result);
            EXPECT_FALSE(r->busy);
        }
        const QString expectedLine = (c.set ? "Set: " : "Get: ") + genErr + ". Receive at ";
        EXPECT_EQ(memo->toPlainText().startsWith(expectedLine), c.line)
            << memo->toPlainText().toStdString();
        EXPECT_EQ(prompter.shown.size(), c.box ? 1 : 0);
        if (c.box && !prompter.shown.isEmpty()) {
            EXPECT_EQ(prompter.shown[0].text, genErr);
        }
        EXPECT_EQ(heard, c.heard);
    }
}

// A request that is not active sends nothing; busy does not stay set behind it.
TEST_F(BindingSim, BusyIsClearedWhenNothingCanBeSent) {
    for (const quint8 mode : {quint8(0), quint8(1)}) {
        auto r = request(kSettings, SVT_SV);
        r->mode = mode;
        r->active = false;
        EXPECT_FALSE(r->Refresh());
        EXPECT_FALSE(r->busy);
        EXPECT_FALSE(r->Apply(true, true));
        EXPECT_FALSE(r->busy);
    }
    EXPECT_TRUE(sim->journal().isEmpty());

    // An address that cannot be used raises; busy is cleared all the same.
    auto bad = request(kSettings, SVT_SV);
    bad->device.address = "no address";
    for (const quint8 mode : {quint8(0), quint8(1)}) {
        bad->mode = mode;
        EXPECT_EQ(RaisedCode([&] { bad->Refresh(); }), -509);
        EXPECT_FALSE(bad->busy);
    }
}

// A send the engine refuses at once (an SNMP version it does not speak) is reported at once,
// and busy does not stay set waiting for an answer that never comes.
TEST_F(BindingSim, RefusedAsynchronousSendsClearBusyAndAreReported) {
    auto r = request(kSettings, SVT_SV);
    r->mode = 1;
    r->security.version = 2;
    EXPECT_FALSE(r->Refresh());
    EXPECT_FALSE(r->busy);
    const QStringList six = {"6"};
    EXPECT_FALSE(r->Apply(false, false, "4", &six));
    EXPECT_FALSE(r->busy);
    ASSERT_EQ(prompter.shown.size(), 2);
    EXPECT_EQ(prompter.shown[0].text, qv::codeText(-416));
    EXPECT_EQ(prompter.shown[1].text, qv::codeText(-416));
    EXPECT_TRUE(sim->journal().isEmpty());
}

// An asynchronous Apply of a table row: OnSetComplete hears of the success, then the list is
// walked again into the list view.
TEST_F(BindingSim, AsynchronousApplyOfARowRefreshesTheTable) {
    auto* lv = make<QTreeWidget>("LV_SSID");
    auto* name = make<QLineEdit>("Ed_SSID");
    auto r = request(kSsidTable, MVT_FMV, 1);
    r->BindFormat(1, "%s", name);
    r->AttachListView(lv, true);
    ASSERT_TRUE(r->Refresh());
    lv->topLevelItem(0)->setSelected(true);
    name->setText("visitors");
    r->mode = 1;
    int setResults = 0;
    r->OnSetComplete = [&](QvSNMPRequest2Controls&, const QvSNMPError& e) {
        EXPECT_EQ(e.code, 0);
        ++setResults;
    };
    sim->clearJournal();
    ASSERT_TRUE(r->Apply(true, true));
    EXPECT_TRUE(r->busy);
    ASSERT_TRUE(SimDevice::waitUntil([&] { return setResults == 1 && !r->busy; }, 10000));
    ASSERT_TRUE(
        SimDevice::waitUntil([&] { return lv->topLevelItemCount() == 3 && !r->busy; }, 10000));
    EXPECT_EQ(lv->topLevelItem(0)->text(1), "visitors");
    const auto pdus = sim->journal();
    ASSERT_EQ(pdus.size(), 5);
    EXPECT_EQ(pdus[0].value("op").toString(), "set");
    EXPECT_EQ(bindsOf(pdus[0]).value(0), (Bind{kSsidOid + ".2.1", "string", "visitors"}));
    EXPECT_EQ(sim->requests(QStringLiteral("getnext")).size(), 4);
    ASSERT_TRUE(sim->command(QStringLiteral("set devMib.2.1.1.2.1 guest")));
}

// A conversion failure while an asynchronous answer is shown cannot travel up the event loop: it
// is written to the status output, busy is cleared, and the page's answer callback hears of it
// once (a page that waits for that callback to end a command would otherwise wait for ever).
TEST_F(BindingSim, FailureWhileShowingAnAsynchronousAnswerIsReported) {
    auto* memo = make<QPlainTextEdit>("Memo");
    auto r = request(kSettings, SVT_SV);
    r->mode = 1;
    r->SetStatusOutput(memo);
    r->BindPartial(1, 20, QvSyntax::uint16, nullptr, make<QLineEdit>("Ed_Part"));
    QList<int> ends;
    r->OnGetComplete = [&](QvSNMPRequest2Controls&, const QvSNMPError& e) { ends << e.code; };
    ASSERT_TRUE(r->Refresh());
    ASSERT_TRUE(SimDevice::waitUntil([&] { return !r->busy; }, 10000));
    EXPECT_TRUE(memo->toPlainText().startsWith("Get: " + qv::codeText(-519) + ". Receive at "))
        << memo->toPlainText().toStdString();
    EXPECT_EQ(ends, QList<int>{-519});
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(BindingSim, StatusLineNamesTheListWhenItHasAName) {
    auto* panel = make<QLabel>("StatusPanel");
    auto r = request(kSettings, SVT_SV);
    r->SetStatusOutput(panel);
    r->lastOperation = 0;
    r->ReportStatus("(QvSNMP++) Invalid IP Address or DNS name!");
    const QRegularExpression get(
        R"(^Get: \(QvSNMP\+\+\) Invalid IP Address or DNS name!\. Receive at \d\d:\d\d:\d\d (AM|PM)\.$)");
    EXPECT_TRUE(get.match(panel->text()).hasMatch()) << panel->text().toStdString();
    r->vars.Name = "wlan";
    r->lastOperation = 1;
    r->ReportStatus("failed");
    EXPECT_TRUE(panel->text().startsWith("Set: failed Request:wlan. Receive at "))
        << panel->text().toStdString();
}

} // namespace
