#include "pages/service/multi_ssid.h"

#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "binding/operator_choice.h"
#include "pages/common/messages.h"
#include "pages/common/wep_keys.h"
#include "platform/prompter.h"
#include "tables/multi_ssid.h"

#include <algorithm>
#include <QSignalBlocker>

using namespace tables::multi_ssid;
namespace msg = pages::msg;

namespace {

const QString kEnable = QStringLiteral("Enable");
const QString kDisable = QStringLiteral("Disable");
const QString kNone = QStringLiteral("None");
const QString kOpenSystem = QStringLiteral("Open System");
const QString kSharedKey = QStringLiteral("Shared Key");
const QString kAscii = QStringLiteral("ASCII");
const QString kSetErrorDot = QStringLiteral("Set Error.");
const QStringList kKeySizes = {QStringLiteral("64 Bits"), QStringLiteral("128 Bits"),
                               QStringLiteral("152 Bits")};
constexpr int kHexLengths[] = {10, 26, 32};
constexpr int kAsciiLengths[] = {5, 13, 16};
constexpr int kVlanTimeout = 10000;

void selectText(QComboBox* combo, const QString& text) {
    const int i = combo->findText(text);
    if (i >= 0)
        combo->setCurrentIndex(i);
}

} // namespace

TFM_MultiSSIDForm::TFM_MultiSSIDForm(QWidget* owner) : FormPage(owner) {
    setStatusOutput(ui->StatusBar1);
    guests_ = {{
        {ui->Guest1CheckBox, ui->GuestSSIDEdit1, ui->TempComboBox1, ui->GuestKeyType1,
         ui->GuestKeySize1, ui->GuestKey1, ui->GuestKeyvalueEdit1, ui->GuestGroupID1,
         ui->GuestSSID1, ui->GuestSecurity1, ui->EnableEncryption1},
        {ui->Guest2CheckBox, ui->GuestSSIDEdit2, ui->TempComboBox2, ui->GuestKeyType2,
         ui->GuestKeySize2, ui->GuestKey2, ui->GuestKeyvalueEdit2, ui->GuestGroupID2,
         ui->GuestSSID2, ui->GuestSecurity2, ui->EnableEncryption2},
        {ui->Guest3CheckBox, ui->GuestSSIDEdit3, ui->TempComboBox3, ui->GuestKeyType3,
         ui->GuestKeySize3, ui->GuestKey3, ui->GuestKeyvalueEdit3, ui->GuestGroupID3,
         ui->GuestSSID3, ui->GuestSecurity3, ui->EnableEncryption3},
    }};
    handle(ui->Bt_Refresh, &QPushButton::clicked, &TFM_MultiSSIDForm::Bt_RefreshClick);
    handle(ui->Bt_Apply, &QPushButton::clicked, &TFM_MultiSSIDForm::Bt_ApplyClick);
    handle(ui->Bt_Close, &QPushButton::clicked, &TFM_MultiSSIDForm::Bt_CloseClick);
    handle(ui->CheckBox1, &QCheckBox::toggled, &TFM_MultiSSIDForm::CheckBox1Click);
    for (int g = 0; g < kGuests; ++g) {
        Guest& guest = guests_[static_cast<size_t>(g)];
        guest.selector->addItems({kNone, kOpenSystem, kSharedKey});
        const auto run = [this, g](void (TFM_MultiSSIDForm::*handler)(int)) {
            return [this, g, handler] { guard([&] { (this->*handler)(g); }); };
        };
        QvOnChoice(guest.box, this, run(&TFM_MultiSSIDForm::GuestCheckBoxClick));
        connect(guest.selector, &QComboBox::activated, this,
                run(&TFM_MultiSSIDForm::GuestSecurityChange));
        connect(guest.keyType, &QComboBox::activated, this,
                run(&TFM_MultiSSIDForm::GuestKeySizeChange));
        connect(guest.keySize, &QComboBox::activated, this,
                run(&TFM_MultiSSIDForm::GuestKeySizeChange));
        connect(guest.keyIndex, &QComboBox::activated, this,
                run(&TFM_MultiSSIDForm::GuestKeyChange));
        for (QLineEdit* e : {guest.ssid, guest.groupId})
            QvEditHooks::of(*e).setExitHandler([this, g](QLineEdit&) {
                guard([&] { GuestSSIDEditExit(g); });
                return true;
            });
    }
    FormCreate();
}

TFM_MultiSSIDForm::~TFM_MultiSSIDForm() = default;

void TFM_MultiSSIDForm::FormCreate() {
    guard([this] {
        vlan_ = addRequest(kVlanState, {.status = ui->StatusBar1, .timeout = kVlanTimeout});
        pages::bind(*vlan_, {{kVlanStateValue, ui->VLan_State}});

        master_ =
            addRequest(kMaster, {.kind = MVT_SV, .status = ui->StatusBar1, .asynchronous = true});
        pages::bind(*master_, {{kMasterSsid, ui->MasterSSIDEdit},
                               {kMasterAuth, ui->SecurityBox},
                               {kMasterEncryption, ui->Encryption_ComboBox},
                               {kMasterKeyIndex, ui->DefaultKey},
                               {kMasterVlanTag, ui->GroupIDBox, QStringLiteral("%u{n1x4095}")}});

        const std::span<const QvSNMPVarDef> rows[] = {kGuest1, kGuest2, kGuest3};
        for (int g = 0; g < kGuests; ++g) {
            Guest& guest = guests_[static_cast<size_t>(g)];
            guest.request = addRequest(rows[g], {.kind = MVT_SV, .status = ui->StatusBar1});
            pages::bind(*guest.request,
                        {{kGuestState, guest.state},
                         {kGuestSsid, guest.ssid},
                         {kGuestAuth, guest.security},
                         {kGuestEncryption, guest.encryption},
                         {kGuestKeyIndexValue, guest.keyIndex},
                         {kGuestKey, guest.key},
                         {kGuestVlanTag, guest.groupId, QStringLiteral("%u{n1x4095}")}});
        }

        radio_ = addRequest(kRadioMode,
                            {.kind = MVT_SV, .status = ui->StatusBar1, .asynchronous = true});
        pages::bind(*radio_, {{tables::multi_ssid_new::kApModeValue, ui->AP_ModeComboBox},
                              {tables::multi_ssid_new::kSuperModeValue, ui->Supermode_ComboBox}});

        for (Guest& guest : guests_) {
            guest.keySize->addItems(kKeySizes);
            guest.keyType->addItems({QStringLiteral("HEX"), kAscii});
        }
        readAll();
        resetKeyTypesAndSizes();
        keySizesFromKeys();
        showRules();
    });
}

void TFM_MultiSSIDForm::readAll() {
    vlan_->Refresh();
    master_->Refresh();
    for (Guest& guest : guests_)
        guest.request->Refresh();
    radio_->Refresh();
    // The guests' rules look at the master's security: its answer first.
    pages::waitForAnswer(*master_);
}

void TFM_MultiSSIDForm::resetKeyTypesAndSizes() {
    for (Guest& guest : guests_) {
        guest.keySize->setCurrentIndex(0);
        guest.keyType->setCurrentIndex(0);
    }
}

void TFM_MultiSSIDForm::keySizesFromKeys() {
    for (Guest& guest : guests_) {
        const auto length = guest.key->text().size();
        for (int s = 0; s < 3; ++s)
            if (length == kHexLengths[s])
                guest.keySize->setCurrentIndex(s);
    }
}

void TFM_MultiSSIDForm::showRules() {
    {
        const QSignalBlocker quiet(ui->CheckBox1);
        ui->CheckBox1->setChecked(ui->VLan_State->currentText() == kEnable);
    }
    CheckBox1Click();
    for (int g = 0; g < kGuests; ++g) {
        Guest& guest = guests_[static_cast<size_t>(g)];
        {
            const QvShowingValues showing; // the state read, not a choice
            guest.box->setChecked(guest.state->currentText() == kEnable);
        }
        guestRule(g);
        showSelector(g);
        keyLimit(g);
        QvEditHooks::of(*guest.ssid).setMaxLength(32);
        QvEditHooks::of(*guest.groupId).setMaxLength(4);
    }
    QvEditHooks::of(*ui->GroupIDBox).setMaxLength(4);
}

void TFM_MultiSSIDForm::Bt_RefreshClick() {
    readAll();
    showRules();
    keySizesFromKeys();
    for (int g = 0; g < kGuests; ++g)
        keyLimit(g);
}

void TFM_MultiSSIDForm::Bt_CloseClick() {
    close();
}

void TFM_MultiSSIDForm::CheckBox1Click() {
    const bool on = ui->CheckBox1->isChecked();
    ui->GroupIDBox->setEnabled(on);
    for (Guest& guest : guests_)
        guest.groupId->setEnabled(on);
    selectText(ui->VLan_State, on ? kEnable : kDisable);
}

bool TFM_MultiSSIDForm::masterEncrypted() const {
    return ui->Encryption_ComboBox->currentText() == kEnable;
}

void TFM_MultiSSIDForm::guestRule(int g) {
    Guest& guest = guests_[static_cast<size_t>(g)];
    const bool on = guest.box->isChecked();
    const QString masterAuth = ui->SecurityBox->currentText();
    const bool masterLocks =
        (masterEncrypted() && masterAuth == QLatin1String("Open System / Shared Key")) ||
        masterAuth.startsWith(QLatin1String("WPA"));
    const bool keys = on && guest.encryption->currentText() == kEnable;
    guest.ssid->setEnabled(on);
    guest.selector->setEnabled(on && !masterLocks);
    for (QWidget* w :
         std::initializer_list<QWidget*>{guest.keyIndex, guest.keyType, guest.keySize, guest.key})
        w->setEnabled(keys);
}

void TFM_MultiSSIDForm::showSelector(int g) {
    Guest& guest = guests_[static_cast<size_t>(g)];
    const QString security = guest.security->currentText();
    const bool wep = security == kOpenSystem || security == kSharedKey;
    guest.selector->setCurrentIndex(
        guest.encryption->currentText() == kEnable && wep ? guest.selector->findText(security) : 0);
}

void TFM_MultiSSIDForm::GuestCheckBoxClick(int g) {
    Guest& guest = guests_[static_cast<size_t>(g)];
    selectText(guest.state, guest.box->isChecked() ? kEnable : kDisable);
    guestRule(g);
}

void TFM_MultiSSIDForm::GuestSecurityChange(int g) {
    Guest& changed = guests_[static_cast<size_t>(g)];
    const QString choice = changed.selector->currentText();
    if (choice == kOpenSystem || choice == kSharedKey)
        selectText(changed.security, choice);
    for (Guest& guest : guests_) {
        const QString shown = guest.selector->currentText();
        selectText(guest.encryption,
                   shown == kOpenSystem || shown == kSharedKey ? kEnable : kDisable);
    }
    guestRule(g);
}

void TFM_MultiSSIDForm::keyLimit(int g) {
    Guest& guest = guests_[static_cast<size_t>(g)];
    const int size = std::max(0, guest.keySize->currentIndex());
    const bool ascii = guest.keyType->currentText() == kAscii;
    QvEditHooks::of(*guest.key).setMaxLength(ascii ? kAsciiLengths[size] : kHexLengths[size]);
}

void TFM_MultiSSIDForm::GuestKeySizeChange(int g) {
    keyLimit(g);
}

void TFM_MultiSSIDForm::GuestKeyChange(int g) {
    keyIndexConflict(g);
}

void TFM_MultiSSIDForm::GuestSSIDEditExit(int g) {
    ssidConflict(g);
}

// True (after saying so) when guest g's key index is one the master or another guest uses.
bool TFM_MultiSSIDForm::keyIndexConflict(int g) {
    const Guest& guest = guests_[static_cast<size_t>(g)];
    if (!guest.keyIndex->isEnabled())
        return false;
    const QString index = guest.keyIndex->currentText();
    const QString name = QStringLiteral("The 11g Guest SSID%1's key index is same as ").arg(g + 1);
    if (masterEncrypted() && index == ui->DefaultKey->currentText()) {
        platform::message(msg::kWarning, name + QStringLiteral("master SSID"));
        return true;
    }
    for (int o = 0; o < kGuests; ++o) {
        const Guest& other = guests_[static_cast<size_t>(o)];
        if (o == g || !other.keyIndex->isEnabled() || other.keyIndex->currentText() != index)
            continue;
        platform::message(msg::kWarning, name + QStringLiteral("Guest SSID%1").arg(o + 1));
        return true;
    }
    return false;
}

bool TFM_MultiSSIDForm::ssidConflict(int g) {
    const Guest& guest = guests_[static_cast<size_t>(g)];
    if (!guest.ssid->isEnabled())
        return false;
    const QString ssid = guest.ssid->text();
    const QString name = QStringLiteral("The 11g Guest SSID%1's SSID is same as ").arg(g + 1);
    if (masterEncrypted() && ssid == ui->MasterSSIDEdit->text())
        return !pages::refuse(name + QStringLiteral("master SSID"), msg::kWarning, guest.ssid);
    for (int o = 0; o < kGuests; ++o) {
        const Guest& other = guests_[static_cast<size_t>(o)];
        if (o == g || !other.ssid->isEnabled() || other.ssid->text() != ssid)
            continue;
        return !pages::refuse(name + QStringLiteral("SSID%1's SSID").arg(o + 1), msg::kWarning,
                              guest.ssid);
    }
    return false;
}

bool TFM_MultiSSIDForm::applyChecks() {
    using pages::refuse;
    // Every guest's SSID, enabled or not: the device keeps them all.
    for (int g = 0; g < kGuests; ++g) {
        const Guest& guest = guests_[static_cast<size_t>(g)];
        const QString ssid = guest.ssid->text();
        const int n = g + 1;
        if (ssid.size() >= 33)
            return refuse(QStringLiteral("The Max Length of Guest SSID%1's SSID is 32.!").arg(n),
                          msg::kWarning, guest.ssid);
        if (ssid.isEmpty())
            return refuse(QStringLiteral("Please Input SSID in Guest SSID%1.").arg(n),
                          msg::kWarning, guest.ssid);
        if (ssid.startsWith(QLatin1Char(' ')))
            return refuse(
                QStringLiteral("The first character can't be blank in Guest SSID%1.").arg(n),
                msg::kError, guest.ssid);
    }
    if (ui->GroupIDBox->text().isEmpty())
        return refuse(
            QStringLiteral("The 11g master SSID's ID is invalid.The range of ID is 1 to 4095."),
            msg::kWarning, ui->GroupIDBox);
    for (int g = 0; g < kGuests; ++g) {
        const Guest& guest = guests_[static_cast<size_t>(g)];
        if (guest.groupId->text().isEmpty())
            return refuse(
                QStringLiteral("The 11g guest SSID%1's ID is invalid.The range of ID is 1 "
                               "to 4095.")
                    .arg(g + 1),
                msg::kWarning, guest.groupId);
    }
    for (int g = 0; g < kGuests; ++g)
        if (keyIndexConflict(g))
            return false;
    for (int g = 0; g < kGuests; ++g)
        if (ssidConflict(g))
            return false;
    return true;
}

bool TFM_MultiSSIDForm::keyToSend(int g, std::optional<QString>& hex) {
    const Guest& guest = guests_[static_cast<size_t>(g)];
    const QString key = guest.key->text();
    const int size = std::max(0, guest.keySize->currentIndex());
    const bool ascii = guest.keyType->currentText() == kAscii;
    const int needed = ascii ? kAsciiLengths[size] : kHexLengths[size];
    if (key.size() != needed) {
        const QString verb =
            ascii && needed == 16 ? QStringLiteral("Lengh") : QStringLiteral("Length");
        return pages::refuse(
            QStringLiteral("The %1 of Guest SSID%2's key in IEEE802.11g must be %3!")
                .arg(verb)
                .arg(g + 1)
                .arg(needed),
            msg::kWarning, guest.key);
    }
    // A masked key is the device's own, unchanged: it is not sent back.
    if (pages::isMaskedKey(key))
        return true;
    // Converted on a copy, so the field keeps what the operator typed.
    const std::optional<QString> digits = ascii ? pages::asciiToHex(key) : std::optional(key);
    if (!digits || !pages::isHexText(*digits))
        return pages::refuseAndClear(msg::kHexDigits, QString(), guest.key);
    hex = digits;
    return true;
}

void TFM_MultiSSIDForm::Bt_ApplyClick() {
    if (!applyChecks())
        return;
    // Keys first: a refused key ends Apply before anything is written.
    std::array<std::optional<QString>, kGuests> keys;
    for (int g = 0; g < kGuests; ++g)
        if (guests_[static_cast<size_t>(g)].key->isEnabled() &&
            !keyToSend(g, keys[static_cast<size_t>(g)]))
            return;

    // What each list sends, chosen for this Apply alone. The master's name and security are the
    // wireless page's: only its VLAN group goes.
    const bool vlanOn = ui->VLan_State->currentText() == kEnable;
    bool anyGuest = false;
    std::array<QStringList, kGuests> columns;
    for (int g = 0; g < kGuests; ++g) {
        const Guest& guest = guests_[static_cast<size_t>(g)];
        QStringList& c = columns[static_cast<size_t>(g)];
        c << QString::number(kGuestState);
        if (vlanOn)
            c << QString::number(kGuestVlanTag);
        if (guest.state->currentText() != kEnable)
            continue;
        anyGuest = true;
        c << QString::number(kGuestSsid) << QString::number(kGuestEncryption);
        if (guest.encryption->currentText() != kEnable)
            continue;
        c << QString::number(kGuestAuth) << QString::number(kGuestKeyIndexValue);
        if (keys[static_cast<size_t>(g)])
            c << QString::number(kGuestKey);
    }

    if (vlanOn || anyGuest) {
        selectText(ui->AP_ModeComboBox, QStringLiteral("Access Point"));
        selectText(ui->Supermode_ComboBox, kDisable);
        radio_->Apply(false, true);
    }
    // The master is read in the background, but its write counts only once the device answered.
    const auto writeMaster = [this, vlanOn] {
        if (!vlanOn)
            return true;
        master_->mode = QvSNMPRequest2Controls::synchronous;
        const bool ok = master_->Apply(false, true, QString::number(kMasterVlanTag));
        master_->mode = QvSNMPRequest2Controls::asynchronous;
        return ok;
    };
    const auto writeGuest = [this, &columns, &keys](int g) {
        Guest& guest = guests_[static_cast<size_t>(g)];
        guest.request->CollectControls();
        if (const auto& hex = keys[static_cast<size_t>(g)])
            guest.request->vars.item(kGuestKey).value = *hex;
        return guest.request->Apply(false, false, columns[static_cast<size_t>(g)].join(u','));
    };
    const bool ok = pages::writeInOrder({{vlan_},
                                         {writeMaster},
                                         {[&] { return writeGuest(0); }},
                                         {[&] { return writeGuest(1); }},
                                         {[&] { return writeGuest(2); }}});
    if (!ok)
        return pages::showStatus(ui->StatusBar1, kSetErrorDot);
    pages::waitForRestart(this);
    pages::showStatus(ui->StatusBar1, msg::kSetSuccess);
    resetKeyTypesAndSizes();
    for (int g = 0; g < kGuests; ++g)
        keyLimit(g);
}
