#include "app/main_window.h"

#include "app/about_form.h"
#include "app/menu_items.h"
#include "app/menu_rules.h"
#include "app/module_texts.h"
#include "app/resources.h"
#include "app/startup.h"
#include "app/wait_dialog.h"
#include "binding/request2edits.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/registry.h"
#include "platform/timers.h"
#include "snmplib/messages.h"
#include "snmplib/qv_exception.h"
#include "snmplib/request.h"
#include "snmplib/session.h"
#include "tables/main_window.h"

#include "snmplib/error_codes.h"
#include "snmplib/exchange.h"
#include <algorithm>
#include <optional>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QTime>
#include <QWindow>
#include <utility>

using namespace qv::code;

namespace tmw = tables::main_window;

namespace {
// A start-up that could not go on (session or conversion failure), as opposed to a refusal.
constexpr int kFailureExitCode = 1;
constexpr char kErrorCaption[] = "Error";
constexpr char kWarningCaption[] = "Warning";
// The library's code of an SNMP request that timed out.

// The device picture and where it sits in the client area.
constexpr int kPictureX = 8;
constexpr int kPictureWidth = 220;
constexpr int kPictureHeight = 439;
constexpr int kStatusBarHeight = 19;

constexpr int kBlinkTicks = 100;
constexpr int kRefreshTicksBeforeEmptying = 7;

TMainForm* theMainForm = nullptr;

// A lit LED as seen through its window in the front panel.
QPixmap ledPixmap(int size, const QColor& colour) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QRadialGradient glow(size / 2.0, size / 2.0, size / 2.0);
    glow.setColorAt(0, colour.lighter(160));
    glow.setColorAt(1, colour);
    painter.setBrush(glow);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    return pixmap;
}

QLabel* makeLed(QWidget* parent, const char* name, const QString& role, QRect geometry,
                const QColor& colour) {
    auto* led = new QLabel(parent);
    led->setObjectName(QString::fromLatin1(name));
    led->setAccessibleName(role);
    led->setGeometry(geometry);
    led->setPixmap(ledPixmap(geometry.width(), colour));
    return led;
}

// The device picture, drawn once from its SVG: an LED that blinks repaints only its own square,
// which shows this pixmap beneath it instead of drawing the whole picture again.
QPixmap renderedPicture(const QString& path, QSize size) {
    const qreal ratio = qApp->devicePixelRatio();
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QSvgRenderer(path).render(&painter, QRectF(QPointF(0, 0), size));
    return pixmap;
}

void setVisibility(QAction* item, app::Visibility visible) {
    if (visible)
        item->setVisible(*visible);
}

} // namespace

namespace app {
TMainForm* mainForm() {
    return theMainForm;
}
} // namespace app

// A capability request and the table row it was made from.
struct TMainForm::FlagRequest {
    const tmw::CapabilityRequest* def;
    std::unique_ptr<QvSNMPRequest2Edits> request;
};

TMainForm::TMainForm(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), arguments_(std::move(arguments)) {
    theMainForm = this;
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(app::kModelName);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    app::loadMessageFiles(platform::executableDir(), app::MessageFileLoad::BesideExecutable);

    buildFrontPanel();
    buildFlags();
    buildMenus();

    // All three timers run from the window's creation: the start-up blink plays at once.
    LedStatus = platform::makeTimer(this, 2000);
    LedStatus->setObjectName(QStringLiteral("LedStatus"));
    connect(LedStatus, &QTimer::timeout, this, &TMainForm::LedStatusTimer);
    LedBlink = platform::makeTimer(this, 30);
    LedBlink->setObjectName(QStringLiteral("LedBlink"));
    connect(LedBlink, &QTimer::timeout, this, &TMainForm::LedBlinkTimer);
    Timer1 = platform::makeTimer(this, 2000);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    LedStatus->start();
    blinking_ = true; // the start-up blink; its timer runs once the window is exposed
    runBlinkTimer();
    Timer1->start();

    FormCreate();
}

TMainForm::~TMainForm() {
    // A request being released waits for its outstanding exchange while processing events: no
    // tick may reach a half-destroyed window meanwhile.
    LedStatus->stop();
    LedBlink->stop();
    Timer1->stop();
    delete waitDialog_.data();
    flagRequests_.clear();
    saveRequest_.reset();
    pollRequest_.reset();
    if (theMainForm == this)
        theMainForm = nullptr;
}

void TMainForm::buildFrontPanel() {
    kw::initAppResources();
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(client);

    auto* picture = new QLabel(client);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setAccessibleName(QStringLiteral("Device front panel"));
    picture->setGeometry(kPictureX, 0, kPictureWidth, kPictureHeight);
    picture->setPixmap(renderedPicture(QStringLiteral(":/app/device.svg"), picture->size()));

    const QColor green(0x2e, 0xe6, 0x4a);
    LED_WLan = makeLed(client, "LED_WLan", QStringLiteral("WLAN LED"), {89, 381, 7, 7}, green);
    LED_Lan = makeLed(client, "LED_Lan", QStringLiteral("LAN LED"), {106, 381, 7, 7}, green);
    LED_Power = makeLed(client, "LED_Power", QStringLiteral("Power LED"), {158, 380, 8, 8},
                        QColor(0xff, 0xa8, 0x1e));

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("MainStatusBar"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(kStatusBarHeight);
    statusPanel_ = new QLabel(bar);
    statusPanel_->setObjectName(QStringLiteral("StatusPanel"));
    statusPanel_->setAccessibleName(QStringLiteral("Device status"));
    statusPanel_->setMinimumWidth(50);
    // The whole status line fits the picture's width in a smaller face.
    QFont statusFont = statusPanel_->font();
    statusFont.setPointSizeF(statusFont.pointSizeF() * 0.8);
    statusPanel_->setFont(statusFont);
    statusPanel_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    bar->addWidget(statusPanel_, 1);
    setStatusBar(bar);
}

void TMainForm::buildFlags() {
    // The capability flags and the save-and-activate variables: hidden controls that start with
    // their design texts (their names), which read as 0.
    auto* holder = new QWidget(centralWidget());
    holder->setObjectName(QStringLiteral("CapabilityFlags"));
    holder->hide();
    const auto addFlag = [&](const QString& name) {
        if (flags_.contains(name))
            return;
        auto* edit = new QLineEdit(name, holder);
        edit->setObjectName(name);
        flags_.insert(name, edit);
    };
    for (const tmw::CapabilityRequest& def : tmw::kCapabilityRequests)
        for (const tmw::FlagEdit& e : def.edits)
            if (e.control)
                addFlag(QString::fromLatin1(e.control));
    addFlag(QString::fromLatin1(tmw::kClientInfoControl));
    addFlag(QStringLiteral("Ed_ExitPing")); // never filled

    CB_Active = new QComboBox(holder);
    CB_Active->setObjectName(QStringLiteral("CB_Active"));
    CB_Discard = new QComboBox(holder);
    CB_Discard->setObjectName(QStringLiteral("CB_Discard"));
}

void TMainForm::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    // The five menus share the picture's width: a slightly smaller face keeps "Help" on the bar
    // instead of behind an overflow button.
    QFont menuFont = bar->font();
    menuFont.setPointSizeF(menuFont.pointSizeF() * 0.8);
    bar->setFont(menuFont);
    // Captions and pages come from the menu list (app/menu_items.h).
    const auto addMenu = [&](QWidget* parent, const char* name) {
        const QString caption = app::menuCaption(name);
        QMenu* menu =
            parent == bar ? bar->addMenu(caption) : static_cast<QMenu*>(parent)->addMenu(caption);
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        menus_.insert(menu->objectName(), menu);
        items_.insert(menu->objectName(), menu->menuAction());
        return menu;
    };
    // A page item: opens its page when the page exists.
    const auto addItem = [&](QMenu* menu, const char* name, std::function<void()> action) {
        QAction* item = menu->addAction(app::menuCaption(name));
        item->setObjectName(QString::fromLatin1(name));
        connect(item, &QAction::triggered, this, std::move(action));
        items_.insert(item->objectName(), item);
        return item;
    };
    const auto page = [this](const char* item) {
        return [this, className = app::menuEntry(item).page] {
            openPage(QString::fromLatin1(className));
        };
    };

    QMenu* home = addMenu(bar, "Home1");
    addItem(home, "Information1", page("Information1"));
    addItem(home, "hWirelessBand1", page("hWirelessBand1"));
    addItem(home, "hLan1", page("hLan1"));

    QMenu* advanced = addMenu(bar, "advanced2");
    addItem(advanced, "adMode1", page("adMode1"));
    addItem(advanced, "adPerformance1", page("adPerformance1"));
    QMenu* filters = addMenu(advanced, "adFilters2");
    addItem(filters, "WirelessMACACL1", page("WirelessMACACL1"));
    addItem(filters, "WirelessPatrition1", page("WirelessPatrition1"));
    addItem(advanced, "adEncryption2", page("adEncryption2"));
    addItem(advanced, "adGrouping2", page("adGrouping2"));
    addItem(advanced, "adDHCPServer2", page("adDHCPServer2"));
    addItem(advanced, "Ad_MultiSSID", [this] {
        openPage(app::multiSsidPage(flagText(QStringLiteral("NewMultiSupport"))));
    })->setVisible(false);
    addItem(advanced, "RogueAP", page("RogueAP"));
    connect(advanced, &QMenu::aboutToShow, this, &TMainForm::advanced2Click);

    QMenu* tools = addMenu(bar, "tools2");
    addItem(tools, "tAdmin2",
            [this] { openPage(app::adminPage(flagText(QStringLiteral("Ed_ManagerIP")))); });
    addItem(tools, "tSystem2", page("tSystem2"));
    addItem(tools, "Firmware1",
            [this] { openPage(app::firmwarePage(flagText(QStringLiteral("Ed_SSLSupport")))); });
    addItem(tools, "tUpdate2", page("tUpdate2"));
    addItem(tools, "tMisc1", page("tMisc1"));
    addItem(tools, "SNTP1", page("SNTP1"));
    connect(tools, &QMenu::aboutToShow, this, &TMainForm::tools2Click);

    QMenu* status = addMenu(bar, "status2");
    addItem(status, "stDeviceInfo2", page("stDeviceInfo2"));
    QMenu* stats = addMenu(status, "stStats1");
    addItem(stats, "Ethernet1", page("Ethernet1"));
    addItem(stats, "WLAN80211G1", page("WLAN80211G1"));
    connect(stats, &QMenu::aboutToShow, this, &TMainForm::stStats1Click);
    addItem(status, "Client1", page("Client1"));
    QMenu* log = addMenu(status, "SystemLog");
    addItem(log, "stViewLog1", page("stViewLog1"));
    addItem(log, "stLogSetting1", page("stLogSetting1"));
    QMenu* configuration = addMenu(status, "Configration1");
    addItem(configuration, "cfgSave1", [this] { cfgSave1Click(); });
    addItem(configuration, "cfgDiscard1", [this] { cfgDiscard1Click(); });
    // Decided once, by the capability probe.
    configuration->menuAction()->setVisible(false);
    connect(status, &QMenu::aboutToShow, this, &TMainForm::status2Click);

    QMenu* help = addMenu(bar, "Help1");
    addItem(help, "About1", [this] { About1Click(); });

    // Menus of the design that have no function: hidden for the whole run.
    addMenu(bar, "WirelessLAN1")->menuAction()->setVisible(false);
    addMenu(bar, "MIBII1")->menuAction()->setVisible(false);
    addMenu(bar, "APManagement1")->menuAction()->setVisible(false);
}

void TMainForm::FormCreate() {
    sizeToPicture();

    try {
        qv::CreateSession(QString());
    } catch (const QvException& e) {
        refuse(app::kModelName, e.text(), kFailureExitCode);
        return;
    }
    const app::SessionRecords session{qv::sessionDevice(), qv::sessionScope(),
                                      qv::sessionSecurity()};
    session.security.version = 0;

    platform::Registry& registry = platform::registry();
    app::loadMessageFiles(app::helpDirectory(registry), app::MessageFileLoad::FromHelpDirectory);
    const QString deviceFileDir = app::deviceFileDirectory(registry);

    if (arguments_.isEmpty()) {
        refuse(app::kModelName, app::kNoArgumentsMessage, 0);
        return;
    }

    std::optional<QString> badValue;
    try {
        addressText_ = app::applyArguments(arguments_, deviceFileDir, session, addressText_);
    } catch (const app::StartupError& e) {
        badValue = e.text();
    }
    // From here on the module holds the user's keys, not the pass phrases.
    app::wipeArguments(arguments_);
    qv::makeUserKeys(session.security);
    if (badValue) {
        refuse(kErrorCaption, *badValue, kFailureExitCode);
        return;
    }

    setWindowTitle(windowTitle() + QStringLiteral(" : ") + addressText_);
    instanceLock_ = std::make_unique<platform::SingleInstanceLock>(windowTitle());
    if (instanceLock_->acquire() != platform::SingleInstanceLock::Result::Acquired) {
        instanceLock_.reset();
        refuse(kWarningCaption, app::kAnotherModuleMessage, 0);
        return;
    }

    started_ = true;
    startPollAndProbe();
}

void TMainForm::refuse(const QString& caption, const QString& text, int exitCode) {
    stopCapabilityRefresh();
    platform::message(caption, text);
    started_ = false;
    exitCode_ = exitCode;
}

void TMainForm::sizeToPicture() {
    // Client area: the picture with 8 pixels either side, the status bar below it; the menu bar
    // on top takes what its items need at that width.
    const int clientWidth = kPictureWidth + 2 * kPictureX;
    centralWidget()->setFixedSize(clientWidth, kPictureHeight);
    const int menuHeight = menuBar()->heightForWidth(clientWidth) > 0
                               ? menuBar()->heightForWidth(clientWidth)
                               : menuBar()->sizeHint().height();
    setFixedSize(clientWidth, menuHeight + kPictureHeight + kStatusBarHeight);
}

void TMainForm::stopCapabilityRefresh() {
    Timer1->stop();
}

void TMainForm::startPollAndProbe() {
    // The window shows at once and stays painted while the probe's synchronous reads wait, which
    // against a silent device takes many seconds; the menus, which its answers decide, wait.
    menuBar()->setEnabled(false);
    statusPanel_->setText(QStringLiteral("Asking %1 ...").arg(addressText_));
    show();
    windowHandle()->installEventFilter(this);
    cover_ = new platform::WindowCover(windowHandle(), [this](bool) { exposureChanged(); });
    probing_ = true;
    {
        const qv::PaintWhileWaiting paint;
        pollRequest_ = std::make_unique<QvSNMPRequest>();
        pollRequest_->vars = QvSNMPVarList(tmw::kPoll, SVT_SV, 0);
        LedStatusTimer();
        Timer1->start();
        probeCapabilities();
    }
    probing_ = false;
    menuBar()->setEnabled(true);
}

// ---- Front-panel poll ------------------------------------------------------------------------

void TMainForm::LedStatusTimer() {
    LedStatus->stop();
    if (!pollRequest_)
        return; // the start-up has not finished (or was refused): nothing to ask
    const int before = pollRequest_->outstanding();
    QvSNMPError refused;
    bool reported = false;
    pollRequest_->onComplete = [&](const QvSNMPError& record) {
        refused = record;
        reported = true;
    };
    try {
        pollRequest_->GetStepAsync(
            [this](const QvSNMPError& record, QvSNMPVarList&) { pollAnswer(record); }, true);
    } catch (const QvException& e) {
        pollRequest_->onComplete = nullptr;
        powerLedOnly();
        showStatus(e.text(), e.code());
        LedStatus->start();
        return;
    }
    pollRequest_->onComplete = nullptr;
    // A send that could not be made is reported at once and never answered: without this the
    // poll would stop for good.
    if (pollRequest_->outstanding() == before && reported)
        pollAnswer(refused);
}

void TMainForm::pollAnswer(const QvSNMPError& record) {
    QString text;
    if (record.code != 0) {
        powerLedOnly();
        text = record.text;
    } else {
        text = qv::StatusLine(0, record.text, QString());
        LedBlinkTimer();
    }
    showStatus(text, record.code);
    LedStatus->start();
}

void TMainForm::showStatus(const QString& text, int code) {
    statusText_ = text;
    statusCode_ = code;
    statusPanel_->setText(text);
    statusPanel_->setToolTip(text);
}

bool TMainForm::pollTimedOut() const {
    return statusCode_ == kTimedOut;
}

void TMainForm::powerLedOnly() {
    LED_Power->setHidden(false);
    LED_Lan->setHidden(true);
    LED_WLan->setHidden(true);
}

void TMainForm::LedBlinkTimer() {
    catchUpBlink();
    if (!blinking_) {
        blinkCounter_ = 0;
        blinking_ = true;
        runBlinkTimer();
    }
    blinkStep();
}

void TMainForm::blinkStep() {
    LED_Power->setHidden(true);
    LED_Lan->setHidden(!LED_Lan->isHidden());
    if (blinkCounter_ % 4 == 0)
        LED_WLan->setHidden(!LED_WLan->isHidden());
    if (++blinkCounter_ >= kBlinkTicks) {
        blinking_ = false;
        LedBlink->stop();
        blinkPaused_.invalidate();
    }
}

// The blink's timer wakes the process 33 times a second: it runs only while the window can be
// seen. Otherwise the pause is timed, and the ticks held back are played at once when the window
// shows again or a poll answer comes, so the LEDs and the counter are where the timer would have
// left them.
void TMainForm::runBlinkTimer() {
    if (seen()) {
        blinkPaused_.invalidate();
        LedBlink->start();
        return;
    }
    LedBlink->stop();
    if (!blinkPaused_.isValid()) {
        blinkPaused_.start();
        blinkTicksPlayed_ = 0;
    }
}

void TMainForm::catchUpBlink() {
    if (!blinkPaused_.isValid())
        return;
    const qint64 due = blinkPaused_.elapsed() / std::max(1, LedBlink->interval());
    while (blinking_ && blinkTicksPlayed_ < due) {
        ++blinkTicksPlayed_;
        blinkStep();
    }
}

bool TMainForm::seen() const {
    return windowHandle() && windowHandle()->isExposed() && !(cover_ && cover_->covered());
}

void TMainForm::exposureChanged() {
    if (seen())
        catchUpBlink();
    if (blinking_)
        runBlinkTimer();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle())
        exposureChanged();
    return QMainWindow::eventFilter(watched, event);
}

// ---- Capability flags ------------------------------------------------------------------------

QLineEdit* TMainForm::flagEdit(const QString& name) const {
    return flags_.value(name, nullptr);
}

QString TMainForm::flagText(const QString& name) const {
    const QLineEdit* edit = flagEdit(name);
    return edit ? edit->text() : QString();
}

int TMainForm::flag(const QString& name) const {
    return app::flagNumber(flagText(name));
}

void TMainForm::probeCapabilities() {
    probeOutstanding_ = 1; // until every request below has been sent
    int position = 0;
    for (const tmw::CapabilityRequest& def : tmw::kCapabilityRequests) {
        if (position++ == tmw::kSaveRequestPosition)
            probeSaveRequest();
        auto flagRequest = std::make_unique<FlagRequest>();
        flagRequest->def = &def;
        auto request = std::make_unique<QvSNMPRequest2Edits>(this);
        request->vars.Assign(QvSNMPVarList(def.vars(), SVT_SV, 0));
        // A failed get only means the device lacks the object: nothing is shown.
        request->silentFailures = true;
        if (def.read == tmw::FlagRead::SyncOnce)
            request->mode = QvSNMPRequest2Controls::synchronous;
        for (const tmw::FlagEdit& e : def.edits)
            if (e.control)
                request->BindFormat(e.var, QString::fromLatin1(def.format),
                                    flagEdit(QString::fromLatin1(e.control)));
        flagRequest->request = std::move(request);
        refreshFlag(*flagRequest);
        if (flagRequest->request->busy) { // answered later: the probe ends with its answer
            ++probeOutstanding_;
            // Only its first answer counts: periodic refreshes may answer before a slow one.
            flagRequest->request->OnGetComplete = [this, counted = false](auto&,
                                                                          const auto&) mutable {
                if (!std::exchange(counted, true))
                    probeAnswered();
            };
        }
        flagRequests_.push_back(std::move(flagRequest));
    }
    probeAnswered();
}

void TMainForm::probeAnswered() {
    if (probeOutstanding_ == 0 || --probeOutstanding_ > 0)
        return;
    // For start-up measurements (benchmarks/startup): the file named by KW9100_PROBE_MARKER is
    // written when the capability probe has ended.
    const QString marker = qEnvironmentVariable("KW9100_PROBE_MARKER");
    if (marker.isEmpty())
        return;
    QFile file(marker);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write("probe finished\n");
}

void TMainForm::refreshFlag(FlagRequest& flagRequest) {
    try {
        flagRequest.request->Refresh();
    } catch (const QvException&) {
        // A bad address: the front-panel poll shows it.
    }
}

void TMainForm::probeSaveRequest() {
    saveRequest_ = std::make_unique<QvSNMPRequest2Edits>(this);
    saveRequest_->vars.Assign(QvSNMPVarList(tmw::kSaveActivate, SVT_SV, 0));
    saveRequest_->mode = QvSNMPRequest2Controls::synchronous;
    saveRequest_->silentFailures = true;
    saveRequest_->BindComboBox(0, CB_Active);
    saveRequest_->BindComboBox(1, CB_Discard);
    saveRequest_->onComplete = [this](const QvSNMPError& record) {
        if (record.code != 0)
            saveFailure_ = record;
    };
    saveRequest_->OnAfterSet = [this] { waitHook(); };
    bool ok = false;
    try {
        ok = saveRequest_->Refresh();
    } catch (const QvException&) {
        ok = false;
    }
    app::setSaveSupported(ok);
    items_.value(QStringLiteral("Configration1"))->setVisible(ok);
}

bool TMainForm::capabilityRefreshPending() const {
    return std::any_of(flagRequests_.begin(), flagRequests_.end(),
                       [](const auto& request) { return request->request->outstanding() > 0; });
}

void TMainForm::Timer1Timer() {
    if (refreshCounter_ == kRefreshTicksBeforeEmptying) {
        for (const char* name : tmw::kEmptiedFlags)
            flagEdit(QString::fromLatin1(name))->clear();
        refreshCounter_ = 0;
    }
    for (const auto& request : flagRequests_)
        if (request->def->read == tmw::FlagRead::AsyncPeriodic)
            refreshFlag(*request);
    ++refreshCounter_;
}

// ---- Menus -----------------------------------------------------------------------------------

QAction* TMainForm::menuItem(const QString& name) const {
    return items_.value(name, nullptr);
}

QMenu* TMainForm::menu(const QString& name) const {
    return menus_.value(name, nullptr);
}

void TMainForm::advanced2Click() {
    const app::AdvancedMenu rule = app::advancedMenu(flagText(QStringLiteral("ifMultiSSID_Edit")),
                                                     flagText(QStringLiteral("Ed_Rogue")),
                                                     flagText(QStringLiteral("Ed_Grouping")));
    menuItem(QStringLiteral("adMode1"))->setVisible(rule.mode);
    menuItem(QStringLiteral("adEncryption2"))->setVisible(rule.encryption);
    menuItem(QStringLiteral("Ad_MultiSSID"))->setVisible(rule.multiSsid);
    setVisibility(menuItem(QStringLiteral("RogueAP")), rule.rogueAp);
    setVisibility(menuItem(QStringLiteral("adGrouping2")), rule.grouping);
}

void TMainForm::tools2Click() {
    const app::ToolsMenu rule = app::toolsMenu(flagText(QStringLiteral("Ed_spSNTP")),
                                               flagText(QStringLiteral("Ed_ManagerIP")));
    menuItem(QStringLiteral("SNTP1"))->setVisible(rule.sntp);
    menuItem(QStringLiteral("tMisc1"))->setVisible(rule.misc);
}

bool TMainForm::refreshClientInfo() {
    // One request per opening, released here.
    QvSNMPRequest2Edits request(this);
    request.vars.Assign(QvSNMPVarList(tmw::kClientInfoSupported, SVT_SV, 0));
    request.mode = QvSNMPRequest2Controls::synchronous;
    request.silentFailures = true;
    request.BindFormat(0, QStringLiteral("%u"),
                       flagEdit(QString::fromLatin1(tmw::kClientInfoControl)));
    try {
        return request.Refresh();
    } catch (const QvException&) {
        return false;
    }
}

void TMainForm::status2Click() {
    app::StatusMenuFlags flags;
    flags.pollTimedOut = pollTimedOut();
    if (!flags.pollTimedOut) {
        if (refreshClientInfo())
            flags.clientInfo = flagText(QString::fromLatin1(tmw::kClientInfoControl));
        flags.pollTimedOutAfterRefresh = pollTimedOut();
    }
    flags.firmwareVersion = flagText(QStringLiteral("Ed_FwVer"));
    flags.syslog = flagText(QStringLiteral("SyslogSupport"));
    flags.packetStatNotSupported = flagText(QStringLiteral("Ed_PacketStatNotSupport"));
    const app::StatusMenu rule = app::statusMenu(flags);
    menuItem(QStringLiteral("Client1"))->setVisible(rule.clientInfo);
    setVisibility(menuItem(QStringLiteral("SystemLog")), rule.systemLog);
    setVisibility(menuItem(QStringLiteral("stStats1")), rule.stats);
}

void TMainForm::stStats1Click() {
    menuItem(QStringLiteral("Ethernet1"))
        ->setVisible(app::ethernetStats(flagText(QStringLiteral("Ed_Ethernet"))));
}

void TMainForm::openPage(const QString& className) {
    const app::PageFactory factory = app::pageFactories().value(className);
    if (!factory)
        return; // a page that does not exist yet, or no page for this flag value
    try {
        std::unique_ptr<QDialog> page = factory(this);
        page->exec();
    } catch (const QvException& e) {
        platform::message(QString::fromLatin1(app::kModelName), e.text());
    } catch (const std::exception& e) {
        platform::message(QString::fromLatin1(app::kModelName), QString::fromLocal8Bit(e.what()));
    }
}

void TMainForm::About1Click() {
    TAboutForm about(this);
    about.exec();
}

// ---- Save and Active, Discard Changes ----------------------------------------------------------

void TMainForm::cfgSave1Click() {
    if (!saveRequest_)
        return;
    QvSNMPVarList& vars = saveRequest_->vars;
    vars.item(0).access = QvAccess::readwrite;
    vars.item(1).access = QvAccess::invalid;
    CB_Active->setCurrentIndex(1); // "Activate"
    savePending_ = true;
    applySaveRequest();
}

void TMainForm::cfgDiscard1Click() {
    if (!saveRequest_)
        return;
    if (!platform::confirm(QString::fromLatin1(kWarningCaption),
                           QStringLiteral("All of your changes will be discarded! continue?")))
        return;
    QvSNMPVarList& vars = saveRequest_->vars;
    vars.item(1).access = QvAccess::readwrite;
    vars.item(0).access = QvAccess::invalid;
    CB_Discard->setCurrentIndex(1); // "Discard"
    applySaveRequest();
}

void TMainForm::applySaveRequest() {
    saveFailure_.reset();
    try {
        saveRequest_->Apply(true, true);
    } catch (const QvException& e) {
        // Raised before anything was sent: the hook has not run.
        QvSNMPError failure;
        failure.code = e.code();
        failure.text = e.text();
        saveFailure_ = failure;
        waitHook();
    }
}

void TMainForm::waitHook() {
    if (!savePending_)
        return;
    savePending_ = false;
    // A device that refused the save says why, and does not restart. One that did not answer
    // may be restarting already: the count-down is shown all the same.
    if (saveFailure_ && saveFailure_->code != kTimedOut) {
        platform::message(QString::fromLatin1(kErrorCaption), saveFailure_->text);
        return;
    }
    delete waitDialog_.data();
    waitDialog_ = new TFM_Waiting(this);
    waitDialog_->show();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    Timer1->stop();
    QMainWindow::closeEvent(event);
}
