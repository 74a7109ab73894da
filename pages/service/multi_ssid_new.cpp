#include "pages/service/multi_ssid_new.h"

#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "binding/list_view_rows.h"
#include "pages/common/messages.h"
#include "pages/common/wep_keys.h"
#include "platform/prompter.h"
#include "tables/multi_ssid_new.h"

#include <algorithm>
#include <array>
#include <QScopeGuard>
#include <QSignalBlocker>

using namespace tables::multi_ssid_new;
namespace msg = pages::msg;
namespace flags = pages::flags;

namespace {

const QString kEnable = QStringLiteral("Enable");
const QString kDisable = QStringLiteral("Disable");
const QString kNone = QStringLiteral("None");
const QString kBoth = QStringLiteral("Both");
const QString kPrimary = QStringLiteral("Primary");
const QString kWep = QStringLiteral("WEP");
const QString kOff = QStringLiteral("OFF");
const QString kAscii = QStringLiteral("ASCII");
const QString kHex = QStringLiteral("HEX");
const QString kSetError = QStringLiteral("Set error!");

// The security choices of CB_Sec by item index; CB_SecShow is the same without Enterprise modes.
const QStringList kSecItems = {
    kNone,
    QStringLiteral("Open System"),
    QStringLiteral("Shared Key"),
    QStringLiteral("WPA-Personal"),
    QStringLiteral("WPA-Enterprise"),
    QStringLiteral("WPA2-Personal"),
    QStringLiteral("WPA2-Enterprise"),
    QStringLiteral("WPA-Auto-Personal"),
    QStringLiteral("WPA-Auto-Enterprise"),
};
const QStringList kSecShowItems = {kNone,
                                   QStringLiteral("Open System"),
                                   QStringLiteral("Shared Key"),
                                   QStringLiteral("WPA-Personal"),
                                   QStringLiteral("WPA2-Personal"),
                                   QStringLiteral("WPA-Auto-Personal")};
const QStringList kWepModes = {QStringLiteral("Open System"), QStringLiteral("Shared Key"),
                               QStringLiteral("Open System / Shared Key")};

bool isPersonal(int item) {
    return item == 3 || item == 5 || item == 7;
}
bool isEnterprise(int item) {
    return item == 4 || item == 6 || item == 8;
}

// Key lengths by key size (64, 128, 152 bits): hexadecimal digits, ASCII characters.
constexpr std::array<int, 3> kHexLengths = {10, 26, 32};
constexpr std::array<int, 3> kAsciiLengths = {5, 13, 16};

constexpr int kSsidTableTimeout = 2000;
constexpr int kUserCaptionDigit = 10; // "Multi-SSID3": the digit after the prefix

void selectText(QComboBox* combo, const QString& text) {
    const int i = combo->findText(text);
    combo->setCurrentIndex(i < 0 ? 0 : i);
}

void setAllEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* w : widgets)
        w->setEnabled(enabled);
}

void setAllVisible(std::initializer_list<QWidget*> widgets, bool visible) {
    for (QWidget* w : widgets)
        w->setVisible(visible);
}

} // namespace

TFM_MultiSSIDNewForm::TFM_MultiSSIDNewForm(QWidget* owner) : FormPage(owner) {
    setStatusOutput(ui->StatusBar1);
    ui->CB_Idx->addItem(QStringLiteral("Primary SSID"));
    for (int i = 1; i <= 7; ++i)
        ui->CB_Idx->addItem(QStringLiteral("Multi-SSID %1").arg(i));
    ui->CB_Sec->addItems(kSecItems);
    ui->CB_SecShow->addItems(kSecShowItems);
    ui->CB_KeySize->addItems(
        {QStringLiteral("64 Bits"), QStringLiteral("128 Bits"), QStringLiteral("152 Bits")});
    for (int p = 0; p <= 7; ++p)
        ui->Cb_Priority->addItem(QString::number(p));
    ui->BandComboBox->addItems({QStringLiteral("IEEE 802.11a"), QStringLiteral("IEEE 802.11g")});
    ui->LV_MultiSSID_User->setHeaderLabels({QStringLiteral("Index"), QStringLiteral("SSID"),
                                            QStringLiteral("Encryption"),
                                            QStringLiteral("VLAN ID "), QStringLiteral("Band")});
    qv::PrepareListView(*ui->LV_MultiSSID_User);

    handle(ui->CB_Idx, &QComboBox::activated, &TFM_MultiSSIDNewForm::CB_IdxChange);
    handle(ui->CB_Sec, &QComboBox::activated, &TFM_MultiSSIDNewForm::CB_SecChange);
    handle(ui->CB_SecShow, &QComboBox::activated, &TFM_MultiSSIDNewForm::CB_SecShowChange);
    handle(ui->CB_KeyType, &QComboBox::activated, &TFM_MultiSSIDNewForm::CB_KeySizeChange);
    handle(ui->CB_KeySize, &QComboBox::activated, &TFM_MultiSSIDNewForm::CB_KeySizeChange);
    handle(ui->CB_IdxTmp, &QComboBox::activated, &TFM_MultiSSIDNewForm::CB_IdxTmpChange);
    handle(ui->CB_DyVlan, &QComboBox::activated, &TFM_MultiSSIDNewForm::CB_DyVlanChange);
    // Check boxes run their handler on every change, a value read from the device included.
    handle(ui->CB_VLanState, &QCheckBox::toggled, &TFM_MultiSSIDNewForm::CB_VLanStateClick);
    handle(ui->IfEnabMuSSID, &QCheckBox::toggled, &TFM_MultiSSIDNewForm::IfEnabMuSSIDClick);
    handle(ui->CheckBox_Priority, &QCheckBox::toggled,
           &TFM_MultiSSIDNewForm::CheckBox_PriorityClick);
    handle(ui->LV_MultiSSID_User, &QTreeWidget::itemSelectionChanged,
           &TFM_MultiSSIDNewForm::LV_MultiSSID_UserClick);
    handle(ui->SaveButton, &QPushButton::clicked, &TFM_MultiSSIDNewForm::SaveButtonClick);
    handle(ui->DelButton, &QPushButton::clicked, &TFM_MultiSSIDNewForm::DelButtonClick);
    handle(ui->ApplyBtn, &QPushButton::clicked, &TFM_MultiSSIDNewForm::ApplyBtnClick);
    handle(ui->CancelBtn, &QPushButton::clicked, &TFM_MultiSSIDNewForm::CancelBtnClick);

    FormCreate();
}

TFM_MultiSSIDNewForm::~TFM_MultiSSIDNewForm() = default;

int TFM_MultiSSIDNewForm::ssidColumns() const {
    return table_ ? table_->vars.count() : 0;
}

bool TFM_MultiSSIDNewForm::tableBusy() const {
    return table_ && table_->busy;
}

void TFM_MultiSSIDNewForm::FormCreate() {
    ui->GP_PSK->hide();
    ui->DelButton->setEnabled(false);
    // The device-wide RADIUS settings are shown, not edited, here.
    setAllEnabled({ui->Ed_RiduisServ, ui->Ed_RadiusPort, ui->Ed_RadiusSec}, false);
    const auto on = [](pages::Flag f) { return pages::flag(f) == 1; };
    dyVlan_ = on(flags::Ed_DyvlanSupport);
    priority_ = on(flags::Ed_prioritybySSIDSupported);
    accounting_ = on(flags::Ed_spAccounting);
    suppress_ = on(flags::Ed_Suppress);
    wmm_ = on(flags::Ed_WMM);
    mssidAndWds_ = on(flags::Ed_MssidAndWdssupport);

    guard([this] {
        // Devices without a management VLAN or SSID priority do not answer them: that is no
        // failure to show, only a switch the page leaves alone.
        managerVlan_ = addRequest(kManagerVlan, {.silent = true});
        pages::bind(*managerVlan_, {{kManagerVlanStatus, ui->CB_VID}});
        managerVlanRead_ = managerVlan_->Refresh();

        priorityState_ = addRequest(kPriorityState, {.kind = MVT_SV, .silent = true});
        pages::bind(*priorityState_, {{kPriorityStateValue, ui->CheckBox_Priority}});
        priorityRead_ = priorityState_->Refresh();
        ui->CheckBox_Priority->setVisible(priorityRead_);

        radioMode_ = addRequest(kRadioMode, {.kind = MVT_SV, .status = ui->StatusBar1});
        pages::bind(*radioMode_,
                    {{kApModeValue, ui->CB_ApMode}, {kSuperModeValue, ui->CB_SuperMode}});
        radioMode_->Refresh();

        multiState_ = addRequest(kMultiSsidState, {.status = ui->StatusBar1});
        pages::bind(*multiState_, {{kStateValue, ui->IfEnabMuSSID}});
        if (multiState_->Refresh())
            firstEnableWarning_ = true;

        vlanState_ = addRequest(kVlanState, {.status = ui->StatusBar1});
        pages::bind(*vlanState_, {{kStateValue, ui->CB_VLanState}});
        vlanState_->Refresh();
        vlanOn_ = ui->CB_VLanState->isChecked();

        groupKey_ = addRequest(kGroupKey, {.kind = MVT_SV, .status = ui->StatusBar1});
        pages::bind(*groupKey_,
                    {{kGroupKeyValue, ui->Ed_GrpKey, QStringLiteral("%u{n300x9999999}")}});
        groupKey_->Refresh();
        storedGroupKey_ = ui->Ed_GrpKey->text();

        radius_ = addRequest(kRadius, {.status = ui->StatusBar1});
        pages::bind(*radius_, {{kRadiusServer, ui->Ed_RiduisServ},
                               {kRadiusPort, ui->Ed_RadiusPort, QStringLiteral("%u{n1x65535}")},
                               {kRadiusSecret, ui->Ed_RadiusSec}});
        radius_->Refresh();

        // Either capability needs the longer table; a column the device lacks is neither read
        // nor written.
        const bool longTable = dyVlan_ || priority_;
        table_ =
            addRequest(longTable ? kSsidTable18 : kSsidTable15, {.kind = MVT_UMV,
                                                                 .keyCount = kSsidKeys,
                                                                 .status = ui->StatusBar1,
                                                                 .asynchronous = true,
                                                                 .timeout = kSsidTableTimeout});
        if (longTable && !dyVlan_)
            table_->vars.item(kDyVlanState).access = QvAccess::invalid;
        if (longTable && !priority_) {
            table_->vars.item(kEthernetWithoutTag).access = QvAccess::invalid;
            table_->vars.item(kPriority).access = QvAccess::invalid;
        }
        const std::vector<int> order = qv::ColumnOrder(table_->vars);
        columnOrder_.assign(static_cast<size_t>(table_->vars.count()), -1);
        for (size_t c = 0; c < order.size(); ++c)
            columnOrder_[static_cast<size_t>(order[c])] = static_cast<int>(c);

        pages::bind(*table_, {{kIfIndex, ui->Lab_IfIdx},
                              {kSsidIndex, ui->Lab_Idx},
                              {kSsid, ui->Ed_SSID},
                              {kIdvState, ui->CB_IdvState},
                              {kAuth, ui->CB_Security},
                              {kEncryption, ui->CB_Encry},
                              {kKeyIndex, ui->CB_KeyIndex},
                              {kKey, ui->Ed_KeyValue},
                              {kVlanTag, ui->Ed_WLANID, QStringLiteral("%u{n1x4094}")},
                              {kCipherType, ui->CB_CipherType},
                              {kPassPhrase, ui->Ed_PassPhrase},
                              {kKeyType, ui->CB_KeyType}});
        if (accounting_)
            pages::bind(*table_, {{kAccountMode, ui->CB_AcnttingMode}});
        if (suppress_)
            pages::bind(*table_, {{kSuppress, ui->CB_Broadcast}});
        if (wmm_)
            pages::bind(*table_, {{kWmm, ui->CB_WMM}});
        if (dyVlan_)
            pages::bind(*table_, {{kDyVlanState, ui->CB_DyVlan}});
        else
            ui->CB_DyVlan->addItems({QStringLiteral("Manual"), QStringLiteral("Dynamic")});
        if (priority_)
            pages::bind(*table_, {{kEthernetWithoutTag, ui->CheckBox_EthernetTag},
                                  {kPriority, ui->Ed_Priority}});
        // Controls of columns the device lacks go, with their captions; the form closes up.
        setAllVisible({ui->CB_Broadcast, ui->La_Broadcast}, suppress_);
        setAllVisible({ui->CB_WMM, ui->La_WMM}, wmm_);
        setAllVisible({ui->CB_DyVlan, ui->Label_VlanTag}, dyVlan_);
        setAllVisible({ui->CheckBox_EthernetTag, ui->Cb_Priority, ui->Label_Priority}, priority_);

        table_->AttachListView(ui->MulSSIDListView, false);
        table_->OnGetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            if (e.code != 0)
                return; // the status bar has the failure
            pages::showStatus(ui->StatusBar1, QStringLiteral("Get OK!"));
            guard([this] { CB_IdxChange(); });
        };
        // A written row is read again (the walk follows a successful SET by itself).
        table_->OnSetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            if (e.code == 0)
                pages::showStatus(ui->StatusBar1, QStringLiteral("Save Multi-SSID complete!"));
        };
        table_->Refresh();

        account_ = addRequest(kAccountServer, {.kind = MVT_SV, .status = ui->StatusBar1});
        pages::bind(*account_,
                    {{kAccountServerValue, ui->Ed_AcntServ},
                     {kAccountPortValue, ui->Ed_AcntPort, QStringLiteral("%u{n1x65535}")}});
        account_->Refresh();
        setAllEnabled({ui->Ed_AcntServ, ui->Ed_AcntPort}, false);
    });
    ui->CB_Idx->setCurrentIndex(0);
    ui->BandComboBox->setCurrentIndex(ui->BandComboBox->findText(QStringLiteral("IEEE 802.11g")));
    ui->BandComboBox->setEnabled(false);
    setEditLimits();
}

void TFM_MultiSSIDNewForm::setEditLimits() {
    const std::pair<QLineEdit*, int> limits[] = {
        {ui->Ed_WLANID, 4},      {ui->Ed_SSID, 32},      {ui->Ed_GrpKey, 7},
        {ui->Ed_PassPhrase, 63}, {ui->Ed_RadiusSec, 32}, {ui->Ed_RadiusPort, 5},
        {ui->Ed_RiduisServ, 15}, {ui->Ed_AcntPort, 5},   {ui->Ed_AcntServ, 15},
    };
    for (const auto& [edit, length] : limits)
        QvEditHooks::of(*edit).setMaxLength(length);
}

QString TFM_MultiSSIDNewForm::cell(int row, int var) const {
    const QTreeWidgetItem* item = ui->MulSSIDListView->topLevelItem(row);
    if (!item || var < 0 || var >= static_cast<int>(columnOrder_.size()))
        return {};
    return item->text(columnOrder_[static_cast<size_t>(var)]);
}

int TFM_MultiSSIDNewForm::rowCount() const {
    return ui->MulSSIDListView->topLevelItemCount();
}

void TFM_MultiSSIDNewForm::selectRow(int row) {
    QTreeWidgetItem* item = ui->MulSSIDListView->topLevelItem(row);
    if (!item || !table_)
        return;
    ui->MulSSIDListView->setCurrentItem(item);
    // Also when the row was selected already: the editor shows the row as listed.
    table_->SelectItem(ui->MulSSIDListView, item, true);
}

int TFM_MultiSSIDNewForm::ssidOfCaption(const QString& caption) {
    if (caption == kPrimary)
        return 0;
    return caption.mid(kUserCaptionDigit, 1).toInt();
}

void TFM_MultiSSIDNewForm::CB_IdxChange() {
    wpaElsewhere_ = false;
    const int row = ui->CB_Idx->currentIndex();
    selectRow(row);
    selectText(ui->Cb_Priority, ui->Ed_Priority->text());
    CB_VLanStateClick();
    showSecuritySelector();
    CB_SecChange();

    // The key size follows the stored key's length (hexadecimal digits).
    const int length = static_cast<int>(ui->Ed_KeyValue->text().size());
    const auto* size = std::find(kHexLengths.begin(), kHexLengths.end(), length);
    ui->CB_KeySize->setCurrentIndex(
        size == kHexLengths.end() ? 0 : static_cast<int>(size - kHexLengths.begin()));
    setKeyLimit();
    setEditLimits();

    const QString index = cell(row, kSsidIndex);
    for (int r = 0; r < rowCount(); ++r) {
        if (cell(r, kSsidIndex) == index || cell(r, kIdvState) != kEnable ||
            cell(r, kEncryption) == kDisable || kWepModes.contains(cell(r, kAuth)))
            continue;
        wpaElsewhere_ = true;
    }
    ui->CB_IdxTmp->clear();
    if (wpaElsewhere_)
        ui->CB_IdxTmp->addItems({QStringLiteral("First"), QStringLiteral("Fourth")});
    else
        ui->CB_IdxTmp->addItems({QStringLiteral("First"), QStringLiteral("Second"),
                                 QStringLiteral("Third"), QStringLiteral("Fourth")});
    selectText(ui->CB_IdxTmp, ui->CB_KeyIndex->currentText());

    // The device keeps every key as hexadecimal digits; an ASCII key is shown as characters.
    // A masked key stays masked, as many "*" as the key has characters.
    if (ui->CB_KeyType->currentText() == kAscii) {
        const QString key = ui->Ed_KeyValue->text();
        ui->Ed_KeyValue->setText(pages::isMaskedKey(key) ? QString(key.size() / 2, QLatin1Char('*'))
                                                         : pages::hexToAscii(key));
    }
    if (priority_)
        CheckBox_PriorityClick();
}

void TFM_MultiSSIDNewForm::showSecuritySelector() {
    const bool encrypted = ui->CB_Encry->currentText() == kEnable;
    const QString security = ui->CB_Security->currentText();
    if (additional()) {
        ui->CB_Sec->setEditable(false);
        selectText(ui->CB_Sec, encrypted ? security : kNone);
    } else {
        ui->CB_Sec->setEditable(true);
        if (encrypted && security == kWepModes.last()) {
            ui->CB_Sec->setCurrentIndex(-1);
            ui->CB_Sec->setEditText(kBoth);
        } else {
            selectText(ui->CB_Sec, encrypted ? security : kNone);
        }
    }
    // Additional SSIDs may use Enterprise (RADIUS) modes only while the primary SSID does.
    const bool enterprise = cell(0, kAuth).contains(QStringLiteral("Enterprise"));
    ui->CB_Sec->setVisible(enterprise);
    ui->CB_SecShow->setVisible(!enterprise);
    if (enterprise)
        return;
    if (ui->CB_Sec->currentText() == kBoth) {
        ui->CB_SecShow->setEditable(true);
        ui->CB_SecShow->setCurrentIndex(-1);
        ui->CB_SecShow->setEditText(kBoth);
    } else {
        ui->CB_Sec->setEditable(false);
        ui->CB_SecShow->setEditable(false);
        selectText(ui->CB_SecShow, ui->CB_Sec->currentText());
    }
}

void TFM_MultiSSIDNewForm::CB_SecShowChange() {
    selectText(ui->CB_Sec, ui->CB_SecShow->currentText());
    CB_SecChange();
}

void TFM_MultiSSIDNewForm::CB_SecChange() {
    const int s = secItem();
    if (s == 0 || s == 1 || s == 2) {
        ui->GP_PSK->hide();
        ui->GP_KeySetting->show();
    }
    if (s != 0)
        ui->CB_DyVlan->setEnabled(isEnterprise(s));
    selectText(ui->CB_Security, ui->CB_Sec->currentText());
    groupVisibility();
    applyEnablingRules();
}

void TFM_MultiSSIDNewForm::groupVisibility() {
    const int s = secItem();
    const bool personal = isPersonal(s);
    const bool enterprise = isEnterprise(s);
    ui->GP_PSK->setVisible(personal || enterprise);
    ui->GP_KeySetting->setVisible(!personal && !enterprise);
    if (personal)
        ui->GP_PSK->setTitle(QStringLiteral("PassPhrase Settings"));
    else if (enterprise)
        ui->GP_PSK->setTitle(QStringLiteral("Radius Server Settings"));
    setAllVisible({ui->La_PassPhrase, ui->Ed_PassPhrase}, personal);
    setAllVisible({ui->La_RadiusServ, ui->Ed_RiduisServ, ui->La_RadiusPort, ui->Ed_RadiusPort,
                   ui->La_RadiusSec, ui->Ed_RadiusSec, ui->La_AcntServ, ui->Ed_AcntServ,
                   ui->La_AcntPort, ui->Ed_AcntPort},
                  enterprise);
    setAllVisible({ui->La_AcntMode, ui->CB_AcnttingMode}, enterprise && accounting_);
}

void TFM_MultiSSIDNewForm::applyEnablingRules() {
    const std::initializer_list<QWidget*> details = {
        ui->CB_CipherType, ui->Ed_GrpKey, ui->Ed_PassPhrase, ui->CB_KeyType,     ui->CB_KeySize,
        ui->CB_KeyIndex,   ui->CB_IdxTmp, ui->Ed_KeyValue,   ui->CB_AcnttingMode};
    const int s = secItem();
    if (!ui->IfEnabMuSSID->isChecked()) {
        setAllEnabled({ui->GroupBox2, ui->MultiGroupBox, ui->CB_Idx, ui->SaveButton, ui->Ed_SSID,
                       ui->CB_Broadcast, ui->CB_WMM, ui->CB_Sec, ui->CB_SecShow, ui->Ed_WLANID},
                      false);
        setAllEnabled(details, false);
        if (extended())
            setAllEnabled({ui->CheckBox_Priority, ui->CB_DyVlan, ui->CheckBox_EthernetTag}, false);
    } else {
        setAllEnabled({ui->GroupBox2, ui->MultiGroupBox, ui->CB_Idx, ui->SaveButton}, true);
        if (extended())
            ui->CheckBox_Priority->setEnabled(true);
        const bool vlan = ui->CB_VLanState->isChecked();
        if (!extended()) {
            ui->Ed_WLANID->setEnabled(vlan);
        } else if (vlan) {
            ui->CB_DyVlan->setEnabled(isEnterprise(s));
            CB_DyVlanChange();
            ui->CheckBox_EthernetTag->setEnabled(true);
        } else {
            ui->Ed_WLANID->setEnabled(false);
            ui->CB_DyVlan->setCurrentIndex(0); // "Manual"
            setAllEnabled({ui->CB_DyVlan, ui->CheckBox_EthernetTag}, false);
        }
        if (!additional()) {
            setAllEnabled({ui->Ed_SSID, ui->CB_Sec, ui->CB_SecShow, ui->CB_WMM, ui->CB_Broadcast},
                          false);
            setAllEnabled(details, false);
        } else {
            // The visible selector stays usable on every device, so an additional SSID's
            // security can always be changed.
            setAllEnabled({ui->CB_Sec, ui->CB_SecShow, ui->Ed_SSID, ui->CB_Broadcast}, true);
            if (extended())
                CheckBox_PriorityClick();
            else
                ui->CB_WMM->setEnabled(true);
            const bool secured = ui->CB_Sec->currentText() != kNone;
            setAllEnabled(details, secured);
            if (secured)
                ui->Ed_GrpKey->setEnabled(!isEnterprise(s));
        }
    }
    setAllEnabled({ui->Ed_AcntPort, ui->Ed_AcntServ}, false);
}

void TFM_MultiSSIDNewForm::CB_DyVlanChange() {
    ui->Ed_WLANID->setEnabled(ui->CB_DyVlan->currentIndex() == 0);
}

void TFM_MultiSSIDNewForm::CheckBox_PriorityClick() {
    const bool checked = ui->CheckBox_Priority->isChecked();
    if (!additional()) {
        ui->Cb_Priority->setEnabled(checked);
        return;
    }
    if (checked) {
        selectText(ui->CB_WMM, kEnable);
        ui->CB_WMM->setEnabled(false);
    } else {
        ui->CB_WMM->setEnabled(true);
    }
    ui->Cb_Priority->setEnabled(checked);
}

void TFM_MultiSSIDNewForm::CB_VLanStateClick() {
    {
        // VLAN tagging needs multiple SSIDs: the rule below runs once, here.
        const QSignalBlocker quiet(ui->IfEnabMuSSID);
        if (ui->CB_VLanState->isChecked())
            ui->IfEnabMuSSID->setChecked(true);
        ui->IfEnabMuSSID->setEnabled(!ui->CB_VLanState->isChecked());
    }
    IfEnabMuSSIDClick();
}

void TFM_MultiSSIDNewForm::IfEnabMuSSIDClick() {
    if (ui->IfEnabMuSSID->isChecked()) {
        if (!listClick_)
            rebuildUserList();
        if (firstEnableWarning_) {
            firstEnableWarning_ = false;
            const int mode = ui->CB_ApMode->currentIndex();
            const bool compatible = mode <= (mssidAndWds_ ? 2 : 0);
            const bool superG = ui->CB_SuperMode->currentText() != kDisable;
            QString text;
            if (!compatible && superG)
                text = QStringLiteral("If you enable Multi-SSID,\nAP Mode will be Access Point and "
                                      "Super G will be Disabled!");
            else if (compatible && superG)
                text = QStringLiteral("If you enable Multi-SSID,Super G will be Disabled!");
            else if (!compatible)
                text = QStringLiteral("If you enable Multi-SSID,AP Mode will be Access Point!");
            if (!text.isEmpty())
                platform::message(msg::kWarning, text);
        }
    } else {
        const QSignalBlocker quiet(ui->LV_MultiSSID_User);
        ui->LV_MultiSSID_User->clear();
        firstEnableWarning_ = true;
        ui->DelButton->setEnabled(false);
    }
    applyEnablingRules();
}

void TFM_MultiSSIDNewForm::rebuildUserList() {
    {
        const QSignalBlocker quiet(ui->LV_MultiSSID_User);
        ui->LV_MultiSSID_User->clear();
        for (int r = 0; r < rowCount(); ++r) {
            if (cell(r, kIdvState) != kEnable)
                continue;
            const QString auth = cell(r, kAuth);
            QString encryption = auth;
            if (cell(r, kEncryption) == kDisable)
                encryption = kOff;
            else if (kWepModes.contains(auth))
                encryption = kWep;
            QString vlan = cell(r, kVlanTag);
            if (!vlanOn_)
                vlan = kOff;
            else if (dyVlan_ && cell(r, kDyVlanState) == QLatin1String("Dynamic") &&
                     auth.contains(QStringLiteral("Enterprise")))
                vlan = QStringLiteral("Dynamic");
            const QString index =
                r == 0 ? kPrimary : QStringLiteral("Multi-SSID") + cell(r - 1, kSsidIndex);
            new QTreeWidgetItem(ui->LV_MultiSSID_User, // owned by the list
                                {index, cell(r, kSsid), encryption, vlan, QStringLiteral("11g")});
        }
        for (int c = 0; c < ui->LV_MultiSSID_User->columnCount(); ++c)
            ui->LV_MultiSSID_User->resizeColumnToContents(c);
    }
    ui->DelButton->setEnabled(false);
}

void TFM_MultiSSIDNewForm::LV_MultiSSID_UserClick() {
    listClick_ = true;
    const auto cleared = qScopeGuard([this] { listClick_ = false; });
    const QList<QTreeWidgetItem*> selected = ui->LV_MultiSSID_User->selectedItems();
    if (selected.isEmpty()) {
        ui->DelButton->setEnabled(false);
        return;
    }
    selectText(ui->Cb_Priority, ui->Ed_Priority->text());
    const int ssid = ssidOfCaption(selected.first()->text(0));
    ui->CB_Idx->setCurrentIndex(ssid);
    ui->DelButton->setEnabled(ssid != 0);
    CB_IdxChange();
}

void TFM_MultiSSIDNewForm::CB_IdxTmpChange() {
    selectText(ui->CB_KeyIndex, ui->CB_IdxTmp->currentText());
}

void TFM_MultiSSIDNewForm::setKeyLimit() {
    const QString type = ui->CB_KeyType->currentText();
    const int size = ui->CB_KeySize->currentIndex();
    if (type != kHex && type != kAscii)
        return platform::message(QString(), QStringLiteral("Key type is NULL!"));
    if (size < 0 || size > 2)
        return platform::message(QString(), QStringLiteral("Please select key size!"));
    const auto& lengths = type == kHex ? kHexLengths : kAsciiLengths;
    QvEditHooks::of(*ui->Ed_KeyValue).setMaxLength(lengths[static_cast<size_t>(size)]);
}

void TFM_MultiSSIDNewForm::CB_KeySizeChange() {
    ui->Ed_KeyValue->clear();
    setKeyLimit();
}

bool TFM_MultiSSIDNewForm::saveChecks(bool primary) {
    using pages::refuse;
    const bool vlanIdNeeded = ui->CB_VLanState->isChecked() &&
                              (!dyVlan_ || ui->CB_DyVlan->currentText() == QLatin1String("Manual"));
    if (vlanIdNeeded && ui->Ed_WLANID->text().isEmpty())
        return refuse(QStringLiteral("Please input VLAN ID!"), msg::kWarning, ui->Ed_WLANID);
    if (primary)
        return true;

    if (ui->IfEnabMuSSID->isChecked()) {
        const QString ssid = ui->Ed_SSID->text();
        if (ssid.isEmpty())
            return refuse(QStringLiteral("Please input SSID!"), msg::kWarning, ui->Ed_SSID);
        if (ssid.startsWith(QLatin1Char(' ')))
            return refuse(QStringLiteral("The first character can't be blank!"), msg::kWarning,
                          ui->Ed_SSID);
        if (ssid.size() > 32)
            return refuse(QStringLiteral("The Max Length of SSID is 32!"), msg::kWarning,
                          ui->Ed_SSID);
    }
    const int s = secItem();
    if (!ui->GP_PSK->isHidden()) {
        if (ui->Ed_GrpKey->text().isEmpty())
            return refuse(msg::numberBetween(300, 9999999), msg::kWarning, ui->Ed_GrpKey);
        const qsizetype phrase = ui->Ed_PassPhrase->text().size();
        if (isPersonal(s) && (phrase < 8 || phrase > 63))
            return refuse(QStringLiteral("The length of 802.11g PassPhrase is between 8 and 63."),
                          msg::kError, ui->Ed_PassPhrase);
        if (isEnterprise(s) && !qv::isHostAddress(ui->Ed_RiduisServ->text()))
            return refuse(QStringLiteral("The Radius server's IP is illegal."), msg::kError,
                          ui->Ed_RiduisServ);
        if (isEnterprise(s) && ui->Ed_RadiusPort->text().isEmpty())
            return refuse(msg::numberBetween(1, 65535), msg::kError, ui->Ed_RadiusPort);
    }

    // An SSID may not repeat one of another enabled SSID.
    const int row = ui->CB_Idx->currentIndex();
    const QString index = cell(row, kSsidIndex);
    for (int r = 0; r < rowCount(); ++r) {
        if (cell(r, kSsidIndex) == index || !cell(r, kIdvState).contains(kEnable) ||
            cell(r, kSsid) != ui->Ed_SSID->text())
            continue;
        const int other = cell(r, kSsidIndex).toInt();
        QString text = QStringLiteral("The 11g Multi-SSID %1").arg(index.toInt() - 1);
        text += other == 1 ? QStringLiteral("'s SSID is same as Primary SSID")
                           : QStringLiteral("'s SSID is same as Multi-SSID %1").arg(other - 1);
        return refuse(text, msg::kWarning, ui->Ed_SSID);
    }
    return true;
}

bool TFM_MultiSSIDNewForm::wepKeyChecks(std::vector<int>& columns, QString& hexKey) {
    const QString key = ui->Ed_KeyValue->text();
    const bool ascii = ui->CB_KeyType->currentText() == kAscii;
    const int size = std::clamp(ui->CB_KeySize->currentIndex(), 0, 2);
    const int needed = (ascii ? kAsciiLengths : kHexLengths)[static_cast<size_t>(size)];
    if (key.size() != needed) {
        // The device generation's own spelling for the longest key.
        const QString text =
            ascii && needed == 16
                ? QStringLiteral("The Lengh of key value must be 16!")
                : QStringLiteral("The Length of key value must be %1!").arg(needed);
        return pages::refuse(text, msg::kWarning, ui->Ed_KeyValue);
    }
    // A masked key is the device's key, unchanged: only the key index goes.
    if (pages::isMaskedKey(key)) {
        columns.push_back(kKeyIndex);
        return true;
    }
    // Converted on a copy: the field keeps what the operator typed, so a retry after a failed
    // write passes the same checks.
    const std::optional<QString> hex = ascii ? pages::asciiToHex(key) : std::optional(key);
    if (!hex || !pages::isHexText(*hex))
        return pages::refuseAndClear(msg::kHexDigits, QString(), ui->Ed_KeyValue);
    hexKey = *hex;
    columns.insert(columns.end(), {kKey, kKeyType, kKeyIndex});
    return true;
}

bool TFM_MultiSSIDNewForm::writeStates() {
    const bool ok = pages::writeInOrder({{priorityState_, priorityRead_}, {multiState_}, {[this] {
                                             if (!pages::apply(*vlanState_))
                                                 return false;
                                             vlanOn_ = ui->CB_VLanState->isChecked();
                                             return true;
                                         }}});
    if (!ok)
        pages::showStatus(ui->StatusBar1, kSetError);
    return ok;
}

void TFM_MultiSSIDNewForm::SaveButtonClick() {
    // A walk or a write under way ends by reloading the editor: nothing to save meanwhile.
    if (tableBusy())
        return;
    const bool primary = !additional();
    if (!primary) {
        ui->CB_Encry->setCurrentIndex(
            ui->CB_Encry->findText(ui->CB_Sec->currentText() != kNone ? kEnable : kDisable));
        ui->CB_IdvState->setCurrentIndex(ui->CB_IdvState->findText(kEnable));
        if (!ui->GP_KeySetting->isHidden())
            selectText(ui->CB_KeyIndex, ui->CB_IdxTmp->currentText());
    }
    ui->Ed_Priority->setText(ui->Cb_Priority->currentText());
    // Everything is checked before anything is written.
    if (!saveChecks(primary))
        return;

    std::vector<int> columns;
    QString hexKey;
    const int s = secItem();
    if (primary) {
        // The primary SSID's name and security belong to the wireless page: only its VLAN
        // settings and priority go.
        columns.push_back(kVlanTag);
    } else if (ui->IfEnabMuSSID->isChecked()) {
        columns.push_back(kIdvState);
        if (ui->CB_Encry->currentText() == kEnable) {
            if (!ui->GP_KeySetting->isHidden() && (s == 1 || s == 2) &&
                !wepKeyChecks(columns, hexKey))
                return;
            if (!ui->GP_PSK->isHidden()) {
                columns.push_back(kCipherType);
                if (isPersonal(s))
                    columns.push_back(kPassPhrase);
            }
        }
        columns.insert(columns.end(), {kSsid, kAuth, kEncryption, kVlanTag});
    }
    if (primary || ui->IfEnabMuSSID->isChecked()) {
        if (dyVlan_)
            columns.push_back(kDyVlanState);
        if (priority_)
            columns.insert(columns.end(), {kEthernetWithoutTag, kPriority});
    }
    if (!primary) {
        if (accounting_)
            columns.push_back(kAccountMode);
        if (suppress_)
            columns.push_back(kSuppress);
        if (wmm_)
            columns.push_back(kWmm);
    }

    if (!writeStates())
        return;
    if (!primary) {
        warnSharedWepKey();
        if (!ui->GP_PSK->isHidden()) {
            if (!pages::apply(*groupKey_))
                return pages::showStatus(ui->StatusBar1, kSetError);
            warnGroupKey();
            if (isEnterprise(s) && !pages::apply(*radius_))
                return pages::showStatus(ui->StatusBar1, kSetError);
            warnKeySlots();
        }
    }
    startRowSet(columns, hexKey.isEmpty() ? nullptr : &hexKey);
}

void TFM_MultiSSIDNewForm::warnSharedWepKey() {
    if (ui->GP_KeySetting->isHidden() || ui->CB_Sec->currentText() == kNone)
        return;
    const QString index = cell(ui->CB_Idx->currentIndex(), kSsidIndex);
    for (int i = 0; i < ui->LV_MultiSSID_User->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ui->LV_MultiSSID_User->topLevelItem(i);
        const int row = ssidOfCaption(item->text(0));
        if (item->text(2) != kWep || cell(row, kSsidIndex) == index ||
            cell(row, kKeyIndex) != ui->CB_KeyIndex->currentText())
            continue;
        platform::message(msg::kWarning,
                          QStringLiteral("Key value is used by SSID! \nTo change Key value affects "
                                         "other SSID settings."));
        return;
    }
}

void TFM_MultiSSIDNewForm::warnGroupKey() {
    const QString interval = ui->Ed_GrpKey->text();
    if (!isPersonal(secItem()) || storedGroupKey_.isEmpty() || storedGroupKey_ == interval)
        return;
    const QString index = cell(ui->CB_Idx->currentIndex(), kSsidIndex);
    for (int i = 0; i < ui->LV_MultiSSID_User->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ui->LV_MultiSSID_User->topLevelItem(i);
        const QString encryption = item->text(2);
        if (cell(ssidOfCaption(item->text(0)), kSsidIndex) == index || encryption == kWep ||
            encryption == kOff)
            continue;
        platform::message(msg::kWarning,
                          QStringLiteral("Group Key Update Interval is used by SSID!\nTo change "
                                         "Group Key Update Interval affects other SSID settings."));
        storedGroupKey_ = interval;
        return;
    }
}

void TFM_MultiSSIDNewForm::warnKeySlots() {
    for (int i = 0; i < ui->LV_MultiSSID_User->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = ui->LV_MultiSSID_User->topLevelItem(i);
        const int row = ssidOfCaption(item->text(0));
        const QString slot = cell(row, kKeyIndex);
        if (row == ui->CB_Idx->currentIndex() || item->text(2) != kWep ||
            slot == QLatin1String("First") || slot == QLatin1String("Fourth"))
            continue;
        platform::message(msg::kWarning,
                          QStringLiteral("WPA-Enterprise or WPA-Personal will use second and third "
                                         "key slot .\nOther Multiple SSID which uses second and "
                                         "third key for WEP will be set to no security."));
        return;
    }
}

void TFM_MultiSSIDNewForm::startRowSet(const std::vector<int>& columns, const QString* hexKey) {
    std::vector<int> sorted = columns;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    QStringList selection;
    for (int c : sorted)
        selection << QString::number(c);
    // The selected row with the editor's values; an ASCII key goes as its hexadecimal digits.
    table_->CollectControls();
    if (hexKey)
        table_->vars.item(kKey).value = *hexKey;
    if (!table_->Apply(true, false, selection.join(QLatin1Char(','))))
        return;
    groupVisibility();
    pages::showStatus(ui->StatusBar1, QStringLiteral("Save Multi-SSID...!"));
}

void TFM_MultiSSIDNewForm::DelButtonClick() {
    if (tableBusy())
        return;
    const QList<QTreeWidgetItem*> selected = ui->LV_MultiSSID_User->selectedItems();
    if (selected.isEmpty() || selected.first()->text(0) == kPrimary)
        return;
    // The row the operator chose, whatever the editor shows now.
    const int row = ssidOfCaption(selected.first()->text(0));
    ui->CB_Idx->setCurrentIndex(row);
    selectRow(row);
    ui->CB_IdvState->setCurrentIndex(ui->CB_IdvState->findText(kDisable));
    pages::showStatus(ui->StatusBar1, QStringLiteral("Deleting..."));
    table_->CollectControls();
    table_->Apply(true, false, QString::number(kIdvState));
}

void TFM_MultiSSIDNewForm::ApplyBtnClick() {
    pages::showStatus(ui->StatusBar1, QStringLiteral("Apply the settings..."));
    const bool bothOn = ui->IfEnabMuSSID->isChecked() && ui->CB_VLanState->isChecked();
    if (managerVlanRead_ && ui->CB_VID->currentText() == kEnable && !bothOn) {
        // The management VLAN needs both: it goes first, before either is switched off.
        platform::message(msg::kWaring, QStringLiteral("The manage vlan status will be disabled"));
        ui->CB_VID->setCurrentIndex(ui->CB_VID->findText(kDisable));
        if (!pages::apply(*managerVlan_))
            return pages::showStatus(ui->StatusBar1, kSetError);
    }
    if (!pages::writeInOrder({{multiState_}, {vlanState_}, {priorityState_, priorityRead_}}))
        return pages::showStatus(ui->StatusBar1, kSetError);
    vlanOn_ = ui->CB_VLanState->isChecked();
    pages::showStatus(ui->StatusBar1, QStringLiteral("Setting success!"));
    pages::waitForRestartUnlessSaved(this);
}

void TFM_MultiSSIDNewForm::CancelBtnClick() {
    close();
}
