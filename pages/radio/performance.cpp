#include "pages/radio/performance.h"

#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/edit_state.h"
#include "pages/common/messages.h"
#include "pages/common/selection.h"
#include "platform/prompter.h"
#include "tables/performance.h"

#include <algorithm>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <utility>

namespace tp = tables::performance;
namespace msg = pages::msg;

namespace {
// Rates in the order of the lists and of the device's table rows: the four CCK rates of 802.11b
// first, then the eight OFDM rates.
constexpr int kRates = 12;
constexpr int kCckRates = 4;
// The OFDM rates 6, 12 and 24 Mb/s, which 802.11g alone keeps basic.
constexpr int kMandatoryOfdm[] = {4, 6, 8};

const QString kDisable = QStringLiteral("Disable");
const QString kEnable = QStringLiteral("Enable");
const QString kBasic = QStringLiteral("Basic");
const QString kAuto = QStringLiteral("Auto");
const QString kMbps = QStringLiteral(" Mbps");
const QString kOnly11g = QStringLiteral("11g only");
const QString kOnly11b = QStringLiteral("11b only");
const QString kMixed = QStringLiteral("Mixed");

const QStringList kCckDataRates = {kAuto, "1 Mbps", "2 Mbps", "5.5 Mbps", "11 Mbps"};
const QStringList kAllDataRates = {kAuto,     "1 Mbps",  "2 Mbps",  "5.5 Mbps", "6 Mbps",
                                   "9 Mbps",  "11 Mbps", "12 Mbps", "18 Mbps",  "24 Mbps",
                                   "36 Mbps", "48 Mbps", "54 Mbps"};

struct Range {
    QLineEdit* Ui::TFM_Performace::*field;
    int low;
    int high;
};
constexpr Range kBeacon{&Ui::TFM_Performace::Ed_BeInta, 20, 1000};
constexpr Range kDtim{&Ui::TFM_Performace::Ed_DTIMa, 1, 255};
constexpr Range kFragment{&Ui::TFM_Performace::Ed_FragLena, 256, 2346};
constexpr Range kRts{&Ui::TFM_Performace::Ed_RTSa, 256, 2346};

// The field as a number; a text that is not one counts as `otherwise`.
int numberIn(const QLineEdit* field, int otherwise) {
    bool ok = false;
    const int value = field->text().trimmed().toInt(&ok);
    return ok ? value : otherwise;
}

void select(QComboBox* list, const QString& text) {
    list->setCurrentIndex(list->findText(text));
}
} // namespace

TFM_Performace::TFM_Performace(QWidget* owner) : FormPage(owner) {
    rateLists_ = {ui->CB_DRate1, ui->CB_DRate2,  ui->CB_DRate3,  ui->CB_DRate4,
                  ui->CB_DRate5, ui->CB_DRate6,  ui->CB_DRate7,  ui->CB_DRate8,
                  ui->CB_DRate9, ui->CB_DRate10, ui->CB_DRate11, ui->CB_DRate12};
    for (QLabel* label : findChildren<QLabel*>())
        for (int i = 0; i < kRates; ++i)
            if (label->buddy() == rateLists_[i])
                rateLabels_[i] = label;
    // The second radio's tab belongs to two-radio devices; this device has one 802.11g radio.
    ui->PC_Performace->setTabVisible(ui->PC_Performace->indexOf(ui->TabSheetG), false);
    ui->CB_SuperMode_jp->addItems({kDisable, kEnable});
    pages::setWritable(ui->Ed_Freqa, false);
    ratePanel_ = pages::addStatusPanel(ui->StatusBar);

    handle(ui->Bt_Apply_a, &QPushButton::clicked, &TFM_Performace::Bt_Apply_aClick);
    handle(ui->Bt_Refresh_a, &QPushButton::clicked, &TFM_Performace::Bt_Refresh_aClick);
    handle(ui->BT_RDateRate, &QPushButton::clicked, &TFM_Performace::BT_RDateRateClick);
    // The operator's choices; values the page or a read puts in run the rules themselves.
    handle(ui->CB_SupModea, &QComboBox::activated, &TFM_Performace::CB_SupModeaChange);
    handle(ui->CB_BgMode, &QComboBox::activated, &TFM_Performace::CB_BgModeChange);
    handle(ui->CB_DtRta, &QComboBox::activated, &TFM_Performace::CB_DtRtaChange);
    handle(ui->CB_DateStatus, &QComboBox::activated, &TFM_Performace::CB_DateStatusChange);
    exitCheck(ui->Ed_BeInta, &TFM_Performace::Ed_BeIntaExit);
    exitCheck(ui->Ed_DTIMa, &TFM_Performace::Ed_DTIMaExit);
    exitCheck(ui->Ed_FragLena, &TFM_Performace::Ed_FragLenaExit);
    exitCheck(ui->Ed_RTSa, &TFM_Performace::Ed_RTSaExit);
    FormCreate();
}

// The check runs when the operator leaves the field; the text stays for the operator to mend.
void TFM_Performace::exitCheck(QLineEdit* field, void (TFM_Performace::*check)()) {
    QvEditHooks::of(*field).setExitHandler([this, check](QLineEdit&) {
        guard([this, check] { (this->*check)(); });
        return true;
    });
}

TFM_Performace::Optional TFM_Performace::optional(std::span<const QvSNMPVarDef> table, quint8 kind,
                                                  QComboBox* list, QLabel* label) {
    // A device that does not answer for the setting has no row for it.
    Optional row;
    row.request = addRequest(table, {.kind = kind, .silent = true});
    pages::bind(*row.request, {{tp::kValue, list}});
    row.answered = row.request->Refresh();
    row.request->silentFailures = false; // a refused write of a setting it has is reported
    list->setVisible(row.answered);
    if (label)
        label->setVisible(row.answered);
    return row;
}

void TFM_Performace::FormCreate() {
    rogue_ = pages::flag(pages::flags::Ed_Rogue);
    turbo_ = pages::flag(pages::flags::ED_Turbomode);
    storedRates_ = QStringList(kRates, kDisable);
    guard([this] {
        apMode_ = addRequest(tp::kApModeList, {.kind = MVT_SV});
        pages::bind(*apMode_, {{tp::kValue, ui->CB_APModea}});
        apMode_->Refresh();
        priority_ = optional(tp::kPriority, MVT_SV, ui->CB_Priority, nullptr);
        ui->CB_Priority->setVisible(false);
        multiSsid_ = addRequest(tp::kMultiState, {.silent = true});
        pages::bind(*multiSsid_, {{tp::kValue, ui->CB_Mutienable}});
        multiSsid_->Refresh();

        gOnly_ = optional(tp::kGOnly, MVT_SV, ui->CB_Gonly, ui->La_Gonly);
        xr_ = optional(tp::kXr, MVT_SV, ui->CB_XRa, ui->La_XRa);
        autoScan_ = addRequest(tp::kAutoChannelScan, {.kind = MVT_SV});
        pages::bind(*autoScan_, {{tp::kValue, ui->CB_AuSc}});
        wmm_ = optional(tp::kWmm, SVT_SV, ui->CB_WMM, ui->La_WMM);
        preamble_ = optional(tp::kPreambleList, SVT_SV, ui->CB_Preamble, ui->La_Preamble);
        bgMode_ = optional(tp::kBgModeList, SVT_SV, ui->CB_BgMode, ui->Lb_BgMode);
        antenna_ = optional(tp::kAntennaList, SVT_SV, ui->CB_Antenna, ui->Lab_Antenna);

        if (rogue_ == 0 || rogue_ == 1) {
            superG_ = addRequest(rogue_ == 0 ? std::span(tp::kSuperG0) : std::span(tp::kSuperG1));
            pages::bind(*superG_, {{tp::kValue, ui->CB_SupModea}});
            superG_->Refresh();
        }
        if (bgMode_.answered && bgMode() == kOnly11b)
            ui->CB_SupModea->setCurrentIndex(2);
        if (turbo_ == 0)
            ui->CB_SuperMode_jp->setCurrentText(superGAtThird() ? kDisable : kEnable);

        radio_ = addRequest(tp::kRadio, {.kind = MVT_SV, .status = ui->StatusBar});
        pages::bind(*radio_, {{tp::kFrequency, ui->Ed_Freqa},
                              {tp::kDataRate, ui->Ed_DtRta},
                              {tp::kDataRateList, ui->Ed_DtLista},
                              {tp::kBeaconInterval, ui->Ed_BeInta, QStringLiteral("%u")},
                              {tp::kDtim, ui->Ed_DTIMa, QStringLiteral("%u")},
                              {tp::kFragmentLength, ui->Ed_FragLena, QStringLiteral("%u")},
                              {tp::kRtsLength, ui->Ed_RTSa, QStringLiteral("%u")},
                              {tp::kTransmitPowerValue, ui->CB_TranPa},
                              {tp::kRadioWaveValue, ui->CB_RadWava}});
        radio_->Refresh();

        support_ = addRequest(tp::kDataRateSupport, {.silent = true});
        pages::bind(*support_, {{tp::kValue, ui->Ed_dataratecontrolsupport}});
        support_->Refresh();
        ui->GroupBox2->setVisible(dataRateControl());
        if (dataRateControl()) {
            rateControl_ = addRequest(tp::kDataRateControl, {.kind = MVT_SV});
            pages::bind(*rateControl_, {{tp::kValue, ui->CB_DateStatus}});
            rateControl_->Refresh();
            rates_ = addRequest(
                tp::kRateTable,
                {.kind = MVT_UMV, .keyCount = 1, .status = ratePanel_, .asynchronous = true});
            rates_->AttachListView(ui->ListView1, true);
            rates_->OnGetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& answer) {
                if (answer.last)
                    guard([this, answer] { rateTableRead(answer); });
            };
            rates_->OnSetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& answer) {
                rowWritten_ = answer;
            };
        }
        snooping_ = optional(tp::kSnooping, MVT_SV, ui->CB_Snooping, ui->Label_Snoop);
    });
    // The data-rate list and the rules hold in every case, with or without the rate table (its
    // read runs them again when it ends).
    guard([this] {
        bgModeRule();
        superGRule();
        rateItemsRule();
        if (rates_) {
            setButtons(false);
            rates_->Refresh();
        }
    });
}

bool TFM_Performace::dataRateControl() const {
    return ui->Ed_dataratecontrolsupport->text() == QStringLiteral("1");
}

QString TFM_Performace::bgMode() const {
    return bgMode_.answered ? ui->CB_BgMode->currentText() : QString();
}

// A device without data-rate control has it off: the data rate is the operator's to choose.
bool TFM_Performace::rateControlDisabled() const {
    return !rates_ || ui->CB_DateStatus->currentText() == kDisable;
}

bool TFM_Performace::superGAtThird() const {
    return ui->CB_SupModea->currentIndex() == 2;
}

bool TFM_Performace::bridgeMode() const {
    const QString mode = ui->CB_APModea->currentText();
    return mode == "PtP Bridge" || mode == "PtMP Bridge" || mode == "PtP Without" ||
           mode == "P2MP Without";
}

void TFM_Performace::setButtons(bool enabled) {
    ui->Bt_Apply_a->setEnabled(enabled);
    ui->Bt_Refresh_a->setEnabled(enabled);
}

void TFM_Performace::fillDataRates() {
    {
        const QSignalBlocker quiet(ui->CB_DtRta);
        ui->CB_DtRta->clear();
        ui->CB_DtRta->addItems(bgMode() == kOnly11b ? kCckDataRates : kAllDataRates);
        const QString rate = ui->Ed_DtRta->text();
        const int at = ui->CB_DtRta->findText(rate == kAuto ? rate : rate + kMbps);
        ui->CB_DtRta->setCurrentIndex(at < 0 ? 0 : at);
    }
    CB_DtRtaChange();
}

void TFM_Performace::CB_DtRtaChange() {
    const QString text = ui->CB_DtRta->currentText();
    ui->Ed_DtRta->setText(text.endsWith(QStringLiteral("Mbps")) ? text.chopped(5) : text);
}

// The data rate follows Super G: a turbo mode chooses its rate itself.
void TFM_Performace::superGDataRates() {
    const bool rateControlOff = rateControlDisabled();
    if (turbo_ != 0) {
        if (!superGAtThird()) {
            ui->CB_DtRta->setCurrentText(kAuto);
            CB_DtRtaChange();
            ui->CB_DtRta->setEnabled(false);
            ui->CB_DateStatus->setCurrentText(kDisable);
            ui->CB_DateStatus->setEnabled(false);
        } else {
            ui->CB_DtRta->setEnabled(rateControlOff);
            if (rogue_ != 0)
                ui->CB_DateStatus->setEnabled(!bridgeMode());
        }
    } else if (ui->CB_SuperMode_jp->currentText() == kEnable) {
        ui->CB_DtRta->setCurrentText(kAuto);
        CB_DtRtaChange();
        ui->CB_DtRta->setEnabled(false);
    } else {
        ui->CB_DtRta->setEnabled(true);
    }
}

void TFM_Performace::bgModeRule() {
    const bool only11b = bgMode() == kOnly11b;
    if (only11b) {
        ui->CB_Preamble->setCurrentText(QStringLiteral("Long Only"));
        ui->CB_Preamble->setEnabled(false);
        ui->CB_SupModea->setCurrentIndex(2);
        ui->CB_SupModea->setEnabled(false);
        ui->CB_DtRta->setEnabled(rateControlDisabled() && superGAtThird());
        ui->CB_DateStatus->setEnabled(superGAtThird() && !bridgeMode());
    } else {
        ui->CB_SupModea->setEnabled(true);
        ui->CB_Preamble->setEnabled(true);
    }
    for (int i = kCckRates; i < kRates; ++i) {
        rateLists_[i]->setVisible(!only11b);
        if (rateLabels_[i])
            rateLabels_[i]->setVisible(!only11b);
    }
    if (!only11b)
        superGDataRates();
    fillDataRates();
    dataRateStatusRule();
    rateItemsRule();
}

void TFM_Performace::CB_BgModeChange() {
    bgModeRule();
}

void TFM_Performace::superGRule() {
    superGDataRates();
    QvEditHooks::of(*ui->Ed_BeInta).setMaxLength(4);
    QvEditHooks::of(*ui->Ed_DTIMa).setMaxLength(3);
    QvEditHooks::of(*ui->Ed_FragLena).setMaxLength(4);
    QvEditHooks::of(*ui->Ed_RTSa).setMaxLength(4);
    if (dataRateControl())
        dataRateStatusRule();
    if (priority_.answered && ui->CB_Priority->currentText() == kEnable) {
        ui->CB_WMM->setCurrentText(kEnable);
        ui->CB_WMM->setEnabled(false);
    }
}

void TFM_Performace::CB_SupModeaChange() {
    superGRule();
    const int disableAt = rogue_ == 0 ? 3 : 2;
    if (pages::flag(pages::flags::NewMultiSupport) == 1 &&
        ui->CB_Mutienable->currentText() == kEnable && ui->CB_SupModea->currentIndex() != disableAt)
        platform::message(msg::kWarning,
                          QStringLiteral("If AP Mode is not \"Access Point\" or Super G is not "
                                         "\"Disable\",\nThe Multi-SSID should be set to "
                                         "\"Disabled\"."));
}

void TFM_Performace::dataRateStatusRule() {
    const bool accessPoint = ui->CB_APModea->currentText() == QStringLiteral("Access Point") &&
                             ui->CB_SupModea->currentText().contains(kDisable);
    const QString status = ui->CB_DateStatus->currentText();
    if (status == kEnable) {
        if (!accessPoint)
            return; // other combinations leave the rate lists as they are
        const QString g = bgMode();
        for (int i = 0; i < kCckRates; ++i)
            rateLists_[i]->setEnabled(g == kOnly11b && i >= 2);
        for (int i = kCckRates; i < kRates; ++i)
            rateLists_[i]->setEnabled(g != kOnly11g || std::ranges::find(kMandatoryOfdm, i) ==
                                                           std::end(kMandatoryOfdm));
        ui->BT_RDateRate->setEnabled(true);
        ui->CB_DtRta->setCurrentText(kAuto);
        CB_DtRtaChange();
        ui->CB_DtRta->setEnabled(false);
        rateItemsRule();
    } else if (status == kDisable) {
        for (QComboBox* list : rateLists_)
            list->setEnabled(false);
        ui->BT_RDateRate->setEnabled(false);
        if (accessPoint)
            ui->CB_DtRta->setEnabled(true);
    }
}

void TFM_Performace::CB_DateStatusChange() {
    dataRateStatusRule();
}

// The states a rate must have in the b/g mode: the rates every station of the mode needs are
// basic. From the table, 802.11b alone offers the OFDM rates as enabled; for the lists, the CCK
// rates 5.5 and 11 Mb/s stay selectable there.
QStringList TFM_Performace::fixedRates(QStringList rates, bool fromTable) const {
    const QString g = bgMode();
    if (g == kOnly11g) {
        for (int i = 0; i < kCckRates; ++i)
            rates[i] = kBasic;
        for (int i : kMandatoryOfdm)
            rates[i] = kBasic;
    } else if (g == kOnly11b) {
        rates[0] = rates[1] = kBasic;
        if (fromTable) {
            for (int i = kCckRates; i < kRates; ++i)
                rates[i] = kEnable;
        } else {
            for (int i : {2, 3})
                if (rates[i] == kBasic)
                    rates[i] = kEnable;
        }
    } else if (g == kMixed) {
        for (int i = 0; i < kCckRates; ++i)
            rates[i] = kBasic;
    }
    return rates;
}

void TFM_Performace::rateItemsRule() {
    const QStringList rates = fixedRates(storedRates_, false);
    for (int i = 0; i < kRates; ++i) {
        QComboBox* list = rateLists_[i];
        if (list->isHidden())
            continue;
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(list->isEnabled() ? QStringList{kDisable, kEnable}
                                         : QStringList{kDisable, kEnable, kBasic});
        select(list, rates[i]);
    }
}

void TFM_Performace::rateTableRead(const QvSNMPError& answer) {
    const bool resetRefused = std::exchange(resetRefused_, false);
    ratesRead_ = answer.code == 0;
    if (!ratesRead_) {
        // The rates stay unknown and are not written; the other settings can be, and reading
        // again stays possible.
        pages::showStatus(ratePanel_, answer.text);
        setButtons(true);
        return;
    }
    // The rows the device has, at most one per list.
    QStringList rates = storedRates_;
    const int rows = std::min(ui->ListView1->topLevelItemCount(), kRates);
    for (int i = 0; i < rows; ++i)
        rates[i] = ui->ListView1->topLevelItem(i)->text(1);
    storedRates_ = fixedRates(rates, true);
    bgModeRule();
    superGRule();
    rateItemsRule();
    setButtons(true);
    if (resetRefused)
        return; // the lists show what the device kept; the refusal stays on the status bar
    ui->StatusBar->clearMessage();
    pages::showStatus(ratePanel_, QStringLiteral("Get OK!"));
}

// Each row of the rate table is written on its own, with the state of its list.
bool TFM_Performace::writeRates(const QStringList& states) {
    const int rows = std::min(ui->ListView1->topLevelItemCount(), kRates);
    if (rows == 0)
        return false;
    const QString column = QString::number(tp::kRateStatusValue);
    for (int i = 0; i < rows; ++i) {
        QTreeWidgetItem* row = ui->ListView1->topLevelItem(i);
        ui->ListView1->setCurrentItem(row);
        rates_->SelectItem(ui->ListView1, row, true);
        row->setText(1, states[i]);
        rowWritten_ = {};
        if (!rates_->Apply(false, true, column))
            return false;
        pages::waitForAnswer(*rates_);
        if (rowWritten_.code != 0)
            return false;
    }
    return true;
}

void TFM_Performace::Ed_BeIntaExit() {
    const QString& text = ui->Ed_BeInta->text();
    const int value = numberIn(ui->Ed_BeInta, -1);
    if (text.isEmpty() || value < kBeacon.low || value > kBeacon.high)
        pages::refuse(msg::numberBetween(kBeacon.low, kBeacon.high), msg::kWarning, ui->Ed_BeInta);
}

void TFM_Performace::Ed_DTIMaExit() {
    const int value = numberIn(ui->Ed_DTIMa, 0);
    if (value < kDtim.low || value > kDtim.high)
        pages::refuse(msg::numberBetween(kDtim.low, kDtim.high), msg::kWarning, ui->Ed_DTIMa);
}

void TFM_Performace::Ed_FragLenaExit() {
    const int value = numberIn(ui->Ed_FragLena, 0);
    if (value < kFragment.low || value > kFragment.high)
        pages::refuse(msg::numberBetween(kFragment.low, kFragment.high), msg::kWarning,
                      ui->Ed_FragLena);
}

void TFM_Performace::Ed_RTSaExit() {
    const int value = numberIn(ui->Ed_RTSa, 0);
    if (value < kRts.low || value > kRts.high)
        pages::refuseAndClear(msg::numberBetween(kRts.low, kRts.high), msg::kWarning, ui->Ed_RTSa);
}

void TFM_Performace::Bt_Apply_aClick() {
    for (const Range& range : {kBeacon, kDtim, kFragment, kRts}) {
        QLineEdit* field = (*ui).*(range.field);
        const int value = numberIn(field, 0);
        if (value < range.low || value > range.high)
            return void(pages::refuseAndClear(msg::numberBetween(range.low, range.high),
                                              msg::kError, field));
    }
    CB_DtRtaChange();

    // Lists showing no value have none to write.
    std::vector<QComboBox*> lists = {ui->CB_DtRta, ui->CB_TranPa, ui->CB_RadWava};
    if (superG_)
        lists.push_back(ui->CB_SupModea);
    for (auto [row, list] : {std::pair{&bgMode_, ui->CB_BgMode},
                             {&xr_, ui->CB_XRa},
                             {&gOnly_, ui->CB_Gonly},
                             {&wmm_, ui->CB_WMM},
                             {&preamble_, ui->CB_Preamble},
                             {&antenna_, ui->CB_Antenna},
                             {&snooping_, ui->CB_Snooping}})
        if (row->answered)
            lists.push_back(list);
    if (rates_) {
        lists.push_back(ui->CB_DateStatus);
        for (QComboBox* list : rateLists_)
            if (!list->isHidden())
                lists.push_back(list);
    }
    for (QComboBox* list : lists)
        if (!pages::selectionsMade({list}))
            return;

    QStringList states;
    for (QComboBox* list : rateLists_)
        states << list->currentText();
    const bool written = pages::writeInOrder({
        {rateControl_, rates_ != nullptr},
        {[this, states] { return writeRates(states); }, rates_ != nullptr && ratesRead_},
        {bgMode_.request, bgMode_.answered},
        {superG_, superG_ != nullptr},
        {radio_},
        {xr_.request, xr_.answered},
        {gOnly_.request, gOnly_.answered},
        {wmm_.request, wmm_.answered},
        {preamble_.request, preamble_.answered},
        {antenna_.request, antenna_.answered},
        {snooping_.request, snooping_.answered},
    });
    if (!written)
        return pages::showStatus(ui->StatusBar, msg::k11gSettingError);
    pages::waitForRestartUnlessSaved(this);
    pages::showStatus(ui->StatusBar, msg::k11gSettingSuccess);
}

void TFM_Performace::BT_RDateRateClick() {
    if (!platform::confirm(msg::kWarning,
                           QStringLiteral("It will Reset Date Settings to Default Status! "
                                          "Continue?")))
        return;
    if (bgMode_.answered)
        bgMode_.request->Refresh();
    const QString g = bgMode();
    QStringList states(kRates, kEnable);
    states[0] = states[1] = kBasic;
    if (g != kOnly11b) {
        states[2] = states[3] = kBasic;
        for (int i : kMandatoryOfdm)
            states[i] = g == kOnly11g ? kBasic : kEnable;
    }
    resetRefused_ = !writeRates(states);
    if (resetRefused_)
        pages::showStatus(ui->StatusBar, msg::k11gSettingError);
    setButtons(false);
    rates_->Refresh();
}

void TFM_Performace::Bt_Refresh_aClick() {
    setButtons(false);
    guard([this] {
        for (Optional* row : {&gOnly_})
            if (row->answered)
                row->request->Refresh();
        radio_->Refresh();
        for (Optional* row : {&preamble_, &wmm_, &bgMode_, &antenna_})
            if (row->answered)
                row->request->Refresh();
        if (superG_)
            superG_->Refresh();
        if (snooping_.answered)
            snooping_.request->Refresh();
    });
    if (rates_) {
        rateControl_->Refresh();
        rates_->Refresh();
        return;
    }
    guard([this] {
        bgModeRule();
        superGRule();
        rateItemsRule();
    });
    setButtons(true);
}
