#include "pages/status/rogue_ap.h"

#include "binding/list_view_rows.h"
#include "binding/operator_choice.h"
#include "pages/transfer/command_step.h"
#include "platform/timers.h"
#include "tables/rogue_ap.h"

#include <QStatusBar>
#include <QTimer>

namespace tra = tables::rogue_ap;

namespace {
constexpr int kCommandTimeout = 1000; // hundredths: 10 s
constexpr int kAfterScanMs = 1000;    // the device's list settles after its scan
} // namespace

TFM_RogueForm::TFM_RogueForm(QWidget* owner) : FormPage(owner) {
    panel_ = pages::addStatusPanel(ui->StatusBar1);
    setStatusOutput(panel_);
    for (QTreeWidget* list : {ui->RogueListView, ui->AP_ListView})
        qv::PrepareListView(*list);
    handle(ui->DetectBtn, &QPushButton::clicked, &TFM_RogueForm::DetectBtnClick);
    handle(ui->AddBtn, &QPushButton::clicked, &TFM_RogueForm::AddBtnClick);
    handle(ui->DelBtn, &QPushButton::clicked, &TFM_RogueForm::DelBtnClick);
    handle(ui->ListDelBtn, &QPushButton::clicked, &TFM_RogueForm::ListDelBtnClick);
    handle(ui->Apply_Btn, &QPushButton::clicked, &TFM_RogueForm::Apply_BtnClick);
    connect(ui->Cancel_Btn, &QPushButton::clicked, this, &TFM_RogueForm::reject);
    for (QCheckBox* box : {ui->CheckBox_11a, ui->CheckBox_11b, ui->CheckBox_11g})
        handle(box, &QCheckBox::clicked, &TFM_RogueForm::bandClicked);
    for (QCheckBox* box : securityBoxes())
        handle(box, &QCheckBox::clicked, &TFM_RogueForm::securityClicked);
    handle(ui->BSSTypRadGrp, &QvRadioGroup::clicked, &TFM_RogueForm::bssTypeClicked);
    if (!guard([this] { FormCreate(); }) && !exchangesOutstanding())
        idle_ = true; // no list read to wait for
    // Whatever the opening brought, the operator can leave (once its list reads are in).
    ui->Cancel_Btn->setEnabled(true);
}

std::array<QCheckBox*, 8> TFM_RogueForm::securityBoxes() const {
    return {ui->ChcBxo_off,   ui->ChcBxo_wep,   ui->ChcBxo_eap,    ui->ChcBxo_psk,
            ui->WPA2EAPCkBox, ui->WPA2PSKCkBox, ui->WPA2AUTECkBox, ui->WPA2AUTPCkBox};
}

std::array<QCheckBox*, 6> TFM_RogueForm::wpaBoxes() const {
    return {ui->ChcBxo_eap,   ui->ChcBxo_psk,    ui->WPA2EAPCkBox,
            ui->WPA2PSKCkBox, ui->WPA2AUTECkBox, ui->WPA2AUTPCkBox};
}

int TFM_RogueForm::bandBits(bool a, bool b, bool g) {
    return (a ? 1 : 0) | (b ? 4 : 0) | (g ? 8 : 0);
}

int TFM_RogueForm::securityBits(const std::array<bool, 8>& boxes, bool adHoc) {
    int bits = 0;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i] && (i < 2 || !adHoc))
            bits |= 1 << i;
    return bits;
}

void TFM_RogueForm::FormCreate() {
    radio_ = addRequest(tra::kRadio, {.kind = MVT_SV, .status = panel_});
    pages::bind(*radio_, {{tra::kRadioWave, ui->CB_Radio}});
    const bool radioRead = radio_->Refresh();

    filter_ = addRequest(tra::kFilter, {.kind = MVT_SV, .status = panel_});
    pages::bind(*filter_, {{tra::kBssType, ui->BSSTypRadGrp},
                           {tra::kBandType, ui->BandEdit, QStringLiteral("%u")},
                           {tra::kSecurityType, ui->SecEdit, QStringLiteral("%u")}});
    const bool filterRead = filter_->Refresh();
    showFilter();

    const pages::RequestOptions command{
        .status = panel_, .asynchronous = true, .timeout = kCommandTimeout};
    detect_ = addRequest(tra::kDetect, command);
    pages::bind(*detect_, {{tra::kDetectCommand, ui->DetectRogueCoBox}});
    detect_->Refresh();
    detect_->OnSetCompleteLater(this, [this](const QvSNMPError& e) { afterDetect(e); });
    add_ = addRequest(tra::kAdd, command);
    pages::bind(*add_, {{tra::kAddIndex, ui->AddCoBox, QStringLiteral("%u")}});
    add_->Refresh();
    add_->OnSetCompleteLater(this, [this](const QvSNMPError& e) { afterAdd(e); });
    deleteRogue_ = addRequest(tra::kDeleteRogue, command);
    pages::bind(*deleteRogue_, {{tra::kDeleteRogueIndex, ui->DelDetcetEdit, QStringLiteral("%u")}});
    deleteRogue_->Refresh();
    deleteRogue_->OnSetCompleteLater(this, [this](const QvSNMPError& e) { afterDeleteRogue(e); });

    const pages::RequestOptions table{.kind = MVT_UMV,
                                      .keyCount = 1,
                                      .status = panel_,
                                      .asynchronous = true,
                                      .timeout = kCommandTimeout};
    rogueTable_ = addRequest(tra::kRogueTable, table);
    rogueTable_->AttachListView(ui->RogueListView, false);
    qv::MakeColumns(*ui->RogueListView, rogueTable_->vars);
    // The row's caption is its index, invisible to the operator (a header keeps a minimum width:
    // hidden).
    ui->RogueListView->setColumnHidden(tra::kIndex, true);
    rogueTable_->OnGetCompleteLater(
        this, [this](const QvSNMPError& e) { guard([&] { listRead(e, false); }); });

    deleteAccepted_ = addRequest(tra::kDeleteAccepted, command);
    pages::bind(*deleteAccepted_,
                {{tra::kDeleteAcceptedIndex, ui->DelCoBox, QStringLiteral("%u")}});
    deleteAccepted_->Refresh();
    deleteAccepted_->OnSetCompleteLater(this,
                                        [this](const QvSNMPError& e) { afterDeleteAccepted(e); });
    apTable_ = addRequest(tra::kApTable, table);
    apTable_->AttachListView(ui->AP_ListView, false);
    qv::MakeColumns(*ui->AP_ListView, apTable_->vars);
    ui->AP_ListView->setColumnHidden(tra::kIndex, true);
    apTable_->OnGetCompleteLater(
        this, [this](const QvSNMPError& e) { guard([&] { listRead(e, true); }); });

    support_ = addRequest(tra::kSupport, {.silent = true});
    pages::bind(*support_, {{tra::kProtectionSupported, ui->Ed_RogueSupport}});
    support_->Refresh();
    const bool protection = ui->Ed_RogueSupport->text() == u"1";
    ui->CB_RogueAP->setVisible(protection);
    ui->Lab_RogueAP->setVisible(protection);
    if (protection) {
        // Written synchronously: the apply reports what the device answered.
        protection_ = addRequest(tra::kProtection, {.status = panel_});
        pages::bind(*protection_, {{tra::kProtectionState, ui->CB_RogueAP}});
        protection_->Refresh();
    }
    if (ui->BSSTypRadGrp->currentIndex() < 0)
        ui->BSSTypRadGrp->setCurrentIndex(0); // "AP BSS"
    opened_ = radioRead && filterRead;
    // The opening is the first command: the others wait for both lists.
    readLists(true, true);
}

void TFM_RogueForm::showFilter() {
    const QvShowingValues showing; // the filter read, not the operator's choices
    const int band = ui->BandEdit->text().toInt();
    ui->CheckBox_11a->setChecked(band & 1);
    ui->CheckBox_11b->setChecked(band & 4);
    ui->CheckBox_11g->setChecked(band & 8);
    const int security = ui->SecEdit->text().toInt();
    const auto boxes = securityBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setChecked(security & (1 << i));
    const bool wpa = !adHoc();
    for (QCheckBox* box : wpaBoxes())
        box->setEnabled(wpa);
}

bool TFM_RogueForm::adHoc() const {
    return ui->BSSTypRadGrp->currentText() == u"Ad Hoc";
}

void TFM_RogueForm::bandClicked() {
    ui->BandEdit->setText(
        QString::number(bandBits(ui->CheckBox_11a->isChecked(), ui->CheckBox_11b->isChecked(),
                                 ui->CheckBox_11g->isChecked())));
}

void TFM_RogueForm::securityClicked() {
    std::array<bool, 8> checked{};
    const auto boxes = securityBoxes();
    for (std::size_t i = 0; i < boxes.size(); ++i)
        checked[i] = boxes[i]->isChecked();
    ui->SecEdit->setText(QString::number(securityBits(checked, adHoc())));
}

void TFM_RogueForm::bssTypeClicked() {
    const bool wpa = !adHoc();
    for (QCheckBox* box : wpaBoxes())
        box->setEnabled(wpa);
    securityClicked();
}

void TFM_RogueForm::status(const QString& text) {
    pages::showStatus(panel_, text);
}

bool TFM_RogueForm::radioOn() const {
    return ui->CB_Radio->currentIndex() == 1;
}

void TFM_RogueForm::setCommands(bool enabled) {
    // Nothing is offered after an opening that could not read the radio or the filter.
    const bool on = enabled && opened_;
    for (QPushButton* b : {ui->DetectBtn, ui->AddBtn, ui->DelBtn, ui->ListDelBtn, ui->Apply_Btn})
        b->setEnabled(on);
    ui->Cancel_Btn->setEnabled(enabled);
}

void TFM_RogueForm::startCommand(const QString& text) {
    setCommands(false);
    idle_ = false;
    status(text);
}

void TFM_RogueForm::readLists(bool rogue, bool accepted) {
    setCommands(false);
    idle_ = false;
    readFailure_ = {};
    acceptedRead_ = false;
    bool sent = false;
    for (auto [read, table] : {std::pair{rogue, rogueTable_}, std::pair{accepted, apTable_}})
        sent = (read && table->Refresh()) || sent;
    if (!sent) // nothing could be sent (and that was reported)
        listsRead();
}

void TFM_RogueForm::listRead(const QvSNMPError& e, bool accepted) {
    if (e.code != 0 && readFailure_.code == 0)
        readFailure_ = e;
    acceptedRead_ = acceptedRead_ || (accepted && e.code == 0);
    // An answer of a read this page no longer waits for changes nothing; while the other list's
    // answer is still to be handled, that one ends the reading.
    if (idle_ || (accepted ? rogueTable_ : apTable_)->busy)
        return;
    listsRead();
}

void TFM_RogueForm::send(QvSNMPRequest2Edits* command) {
    QvSNMPError failure;
    if (!pages::applyCommand(*command, failure))
        commandFailed(failure);
}

void TFM_RogueForm::commandFailed(const QvSNMPError& e) {
    setCommands(true);
    idle_ = true;
    status(e.text);
}

void TFM_RogueForm::DetectBtnClick() {
    if (!opened_ || !idle_)
        return;
    startCommand(QStringLiteral("Detecting..."));
    ui->DetectRogueCoBox->setCurrentIndex(1); // "detect"
    QvSNMPError failure;
    if (!pages::applyCommand(*filter_, failure))
        return commandFailed(failure); // no scan with a filter the device refused
    send(detect_);
}

void TFM_RogueForm::afterDetect(const QvSNMPError& e) {
    if (e.code != 0)
        return commandFailed(e);
    // The window stays live while the device's list settles.
    QTimer* settle = platform::makeTimer(this, kAfterScanMs, true);
    connect(settle, &QTimer::timeout, this, [this, settle] {
        settle->deleteLater();
        status(QStringLiteral("Detecting success. Getting data..."));
        readLists(true, false);
    });
    settle->start();
}

void TFM_RogueForm::AddBtnClick() {
    const QTreeWidgetItem* row = ui->RogueListView->currentItem();
    if (!row || !idle_)
        return;
    if (ui->AP_ListView->topLevelItemCount() >= kMaxAccepted) {
        pages::refuse(QStringLiteral("Miximum number of AP list is 30!"),
                      QStringLiteral("Warning"));
        return;
    }
    startCommand(QStringLiteral("Adding..."));
    ui->AddCoBox->setText(row->text(0));
    send(add_);
}

void TFM_RogueForm::afterAdd(const QvSNMPError& e) {
    if (e.code != 0)
        return commandFailed(e);
    status(QStringLiteral("Add to AP list successfully! Getting data..."));
    readLists(true, true);
}

void TFM_RogueForm::DelBtnClick() {
    const QTreeWidgetItem* row = ui->RogueListView->currentItem();
    if (!row || !idle_)
        return;
    startCommand(QStringLiteral("Deleting..."));
    ui->DelDetcetEdit->setText(row->text(0));
    send(deleteRogue_);
}

void TFM_RogueForm::afterDeleteRogue(const QvSNMPError& e) {
    if (e.code != 0)
        return commandFailed(e);
    status(QStringLiteral("Delete rogue AP successfully! Getting data..."));
    readLists(true, false);
}

void TFM_RogueForm::ListDelBtnClick() {
    const QTreeWidgetItem* row = ui->AP_ListView->currentItem();
    if (!row || !idle_)
        return;
    for (QPushButton* b : {ui->ListDelBtn, ui->Cancel_Btn, ui->Apply_Btn})
        b->setEnabled(false);
    idle_ = false;
    status(QStringLiteral("Deleting..."));
    ui->DelCoBox->setText(row->text(0));
    send(deleteAccepted_);
}

void TFM_RogueForm::afterDeleteAccepted(const QvSNMPError& e) {
    if (e.code != 0)
        return commandFailed(e);
    status(QStringLiteral("Delete successfully! Getting data..."));
    readLists(false, true);
}

void TFM_RogueForm::listsRead() {
    setCommands(true);
    ui->DetectBtn->setEnabled(opened_ && radioOn());
    idle_ = true;
    if (readFailure_.code != 0)
        return status(readFailure_.text);
    status(QStringLiteral("Get OK!"));
    if (acceptedRead_ && !radioOn())
        pages::refuse(
            QStringLiteral("Radio has been turned off,the rogue ap detection will be invalid! "),
            QStringLiteral("Warning"));
}

void TFM_RogueForm::Apply_BtnClick() {
    if (!opened_ || !idle_)
        return;
    // A drop-down the device left without a value is not written.
    const bool writeProtection = protection_ && ui->CB_RogueAP->currentIndex() >= 0;
    const bool ok = pages::writeInOrder({{filter_}, {protection_, writeProtection}});
    status(ok ? QStringLiteral("Set Success!") : QStringLiteral("Set Error!"));
    if (ok)
        pages::waitForRestartUnlessSaved(this);
}

bool TFM_RogueForm::FormCloseQuery() {
    return idle_ && Page::FormCloseQuery();
}
