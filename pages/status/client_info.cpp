#include "pages/status/client_info.h"

#include "binding/list_view_rows.h"
#include "pages/transfer/command_step.h"
#include "platform/timers.h"
#include "tables/client_info.h"

#include <QRegularExpression>
#include <QStatusBar>
#include <QTimer>

namespace tci = tables::client_info;

namespace {

constexpr int kDetectMs = 10000;
constexpr int kTriggerTimeout = 1000; // hundredths: 10 s for the device to gather its stations

// The WDS table skips rows that name no station, and numbers the others from 1.
class WdsRows : public New_req2Edit {
public:
    using New_req2Edit::New_req2Edit;
    void RowReceived() override {
        if (listView && TClientInformation::noStation(vars.item(watchedIndex).value))
            return;
        New_req2Edit::RowReceived();
    }
};

} // namespace

TClientInformation::TClientInformation(QWidget* owner) : FormPage(owner) {
    panel_ = pages::addStatusPanel(ui->StatusBar);
    setStatusOutput(panel_);
    qv::PrepareListView(*ui->User_ListView);
    ui->User_ListView->setHeaderLabels({"Index", "Client MAC Address", "Band", "Authentication",
                                        "Signal", "Power Saving Mode", "SSID"});
    qv::PrepareListView(*ui->LV_WDSInfo_User);
    timer_ = platform::makeTimer(this, kDetectMs);
    connect(timer_, &QTimer::timeout, this, [this] { guard([this] { Timer1Timer(); }); });
    handle(ui->Bt_Rfrsh, &QPushButton::clicked, &TClientInformation::Bt_RfrshClick);
    handle(ui->Bt_WDSRefresh, &QPushButton::clicked, &TClientInformation::Bt_WDSRefreshClick);
    connect(ui->Bt_Close, &QPushButton::clicked, this, &TClientInformation::reject);
    connect(ui->Bt_WDSClose, &QPushButton::clicked, this, &TClientInformation::reject);
    guard([this] { FormCreate(); });
}

void TClientInformation::FormCreate() {
    mode_ = addRequest(tci::kMode, {.kind = MVT_SV, .status = panel_});
    pages::bind(*mode_, {{tci::kApMode, ui->CB_APMode11a}});
    mode_->Refresh();
    const int mode = ui->CB_APMode11a->currentIndex();
    const bool wds =
        (mode == 1 || mode == 2) && pages::flag(pages::flags::Ed_WDSInfoNotSupport) != 1;
    ui->PageControl1->setTabVisible(1, wds);

    clientTrigger_ = addRequest(tci::kClientTrigger,
                                {.kind = MVT_SV, .asynchronous = true, .timeout = kTriggerTimeout});
    pages::bind(*clientTrigger_, {{tci::kGetClient, ui->IfGetInfo0}});
    clientTrigger_->OnSetCompleteLater(
        this, [this](const QvSNMPError& e) { guard([&] { clientTriggerAnswered(e); }); });

    ssidVariant_ = pages::flag(pages::flags::Ed_ClientAddSSID) == 1;
    clientTable_ =
        addRequest(ssidVariant_ ? std::span<const QvSNMPVarDef>(tci::kClientTableSsid)
                                : std::span<const QvSNMPVarDef>(tci::kClientTable),
                   {.kind = MVT_UMV, .keyCount = 1, .status = panel_, .asynchronous = true});
    // Without the SSID the column takes no room (a header keeps a minimum width: hidden).
    ui->User_ListView->setColumnHidden(6, !ssidVariant_);
    if (ssidVariant_)
        ui->User_ListView->resizeColumnToContents(6);
    clientTable_->AttachListView(ui->ClientListView, true);
    clientTable_->OnGetCompleteLater(
        this, [this](const QvSNMPError& e) { guard([&] { clientTableRead(e); }); });
    detectClients();

    if (wds) {
        wdsTrigger_ = addRequest(tci::kWdsTrigger, {.kind = MVT_SV, .asynchronous = true});
        pages::bind(*wdsTrigger_, {{tci::kWdsGet, ui->CB_WDSGetA}});
        wdsTrigger_->OnSetCompleteLater(
            this, [this](const QvSNMPError& e) { guard([&] { wdsTriggerAnswered(e); }); });
        wdsTable_ = addRequest<WdsRows>(
            tci::kWdsTable,
            {.kind = MVT_UMV, .keyCount = 1, .status = panel_, .asynchronous = true});
        wdsTable_->AttachListView(ui->LV_WDSInfo_User, true);
        wdsTable_->rowNumber = 1;
        wdsTable_->OnGetCompleteLater(
            this, [this](const QvSNMPError& e) { guard([&] { wdsTableRead(e); }); });
        Bt_WDSRefreshClick();
    }
}

void TClientInformation::showEvent(QShowEvent* event) {
    FormPage::showEvent(event);
    if (!closeAsked())
        timer_->start();
}

QString TClientInformation::bandText(const QString& value) {
    if (value == u"0")
        return QStringLiteral("A");
    if (value == u"1")
        return QStringLiteral("B");
    if (value == u"2" || value == u"3")
        return QStringLiteral("G");
    return QStringLiteral(" ");
}

QString TClientInformation::authenticationText(const QString& value) {
    for (const QvOptionSource& o : tci::kAuthenticationOptions)
        if (value == QString::number(o.value))
            return QString::fromLatin1(o.label);
    return QStringLiteral(" ");
}

QString TClientInformation::powerSavingText(const QString& value) {
    if (value == u"0")
        return QStringLiteral("Off");
    if (value == u"1")
        return QStringLiteral("On");
    return QStringLiteral(" ");
}

bool TClientInformation::noStation(const QString& mac) {
    static const QRegularExpression kZeros(QStringLiteral("^[0:\\- ]*$"));
    return kZeros.match(mac).hasMatch();
}

void TClientInformation::status(const QString& text) {
    pages::showStatus(panel_, text);
}

void TClientInformation::detectClients() {
    clientDetecting_ = true;
    ui->IfGetInfo0->setCurrentIndex(1); // "acquire"
    status(QStringLiteral("Detect Client Info..."));
    ui->User_ListView->clear();
    QvSNMPError failure;
    if (!pages::applyCommand(*clientTrigger_, failure))
        clientTriggerAnswered(failure);
}

void TClientInformation::Bt_RfrshClick() {
    if (clientDetecting_ || closeAsked())
        return; // the detection under way will show its rows
    detectClients();
}

void TClientInformation::Timer1Timer() {
    if (clientDetecting_ || closeAsked())
        return; // a slow walk is not overtaken by the next detection
    detectClients();
}

void TClientInformation::clientTriggerAnswered(const QvSNMPError& answer) {
    if (answer.code != 0) {
        status(QStringLiteral("Detect timed out!") + answer.text);
        ui->NumOfRecord->setText(QString::number(ui->User_ListView->topLevelItemCount()));
        clientDetecting_ = false;
        return;
    }
    clientTable_->Refresh();
    status(QStringLiteral("Get Client info...!"));
}

void TClientInformation::clientTableRead(const QvSNMPError& result) {
    clientDetecting_ = false;
    status(result.text);
    if (result.code == 0)
        rebuildClientList();
    ui->NumOfRecord->setText(QString::number(ui->User_ListView->topLevelItemCount()));
}

void TClientInformation::rebuildClientList() {
    const int columns = ssidVariant_ ? 7 : 6;
    ui->User_ListView->clear();
    int number = 0;
    for (int r = 0; r < ui->ClientListView->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* raw = ui->ClientListView->topLevelItem(r);
        // Column 0 of the raw list is the row's index; the values follow.
        auto sub = [raw](int i) { return raw->text(i + 1); };
        if (noStation(sub(0)))
            continue;
        QStringList row{QString::number(++number),
                        sub(0),
                        bandText(sub(1)),
                        ssidVariant_ ? sub(2) : authenticationText(sub(2)),
                        sub(3) + QStringLiteral("  %"),
                        powerSavingText(sub(4))};
        if (columns == 7)
            row << sub(5);
        new QTreeWidgetItem(ui->User_ListView, row);
    }
    // Whole addresses and SSIDs: a cut MAC address cannot be told from its neighbours.
    for (int c = 1; c < columns; ++c)
        ui->User_ListView->resizeColumnToContents(c);
}

void TClientInformation::Bt_WDSRefreshClick() {
    if (!wdsTrigger_ || wdsDetecting_ || closeAsked())
        return;
    wdsDetecting_ = true;
    ui->CB_WDSGetA->setCurrentIndex(1); // "get"
    status(QStringLiteral("Detect WDS Info..."));
    QvSNMPError failure;
    if (!pages::applyCommand(*wdsTrigger_, failure))
        wdsTriggerAnswered(failure);
}

void TClientInformation::wdsTriggerAnswered(const QvSNMPError& answer) {
    if (answer.code != 0) {
        status(QStringLiteral("Detect timed out!") + answer.text);
        ui->Lab_WDSRecordNum->setText(QString::number(ui->LV_WDSInfo_User->topLevelItemCount()));
        wdsDetecting_ = false;
        return;
    }
    wdsTable_->rowNumber = 1;
    wdsTable_->Refresh();
    status(QStringLiteral("Get WDS info...!"));
}

void TClientInformation::wdsTableRead(const QvSNMPError& result) {
    wdsDetecting_ = false;
    status(result.text);
    ui->Lab_WDSRecordNum->setText(QString::number(ui->LV_WDSInfo_User->topLevelItemCount()));
}

bool TClientInformation::FormCloseQuery() {
    // Answers still to come would reach a closed page: the close waits for them (the page kit
    // carries it out once they are in), and no detection starts meanwhile.
    timer_->stop();
    return !clientDetecting_ && !wdsDetecting_ && Page::FormCloseQuery();
}
