// The security of the primary SSID on the wireless page: authentication, WEP keys, pass phrase,
// RADIUS and accounting, and the secondary SSIDs kept consistent with it.
#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/edit_state.h"
#include "pages/common/wep_keys.h"
#include "pages/radio/wireless.h"
#include "platform/prompter.h"
#include "tables/wireless.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>

namespace tw = tables::wireless;

namespace {

bool isWep(int p) {
    return p >= 0 && p <= 2;
}
bool isPersonal(int p) {
    return p == 3 || p == 5 || p == 7;
}
bool isEnterprise(int p) {
    return p == 4 || p == 6 || p == 8;
}

// The group key interval: a number from 300 to 9999999 (a text that is not one counts as 0).
// A RADIUS or accounting server: a host address and a port, each refused with its own text.
bool serverGiven(QLineEdit* server, QLineEdit* port, const QString& badServer,
                 const QString& badPort, const QString& title) {
    if (!qv::isHostAddress(server->text()))
        return pages::refuse(badServer, title, server);
    if (port->text().isEmpty())
        return pages::refuse(badPort, title, port);
    return true;
}

bool groupKeyInRange(const QString& text) {
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    return !text.isEmpty() && ok && n >= 300 && n <= 9999999;
}

const QStringList kWepTypes = {QStringLiteral("Open System"), QStringLiteral("Shared Key"),
                               QStringLiteral("Open System / Shared Key")};

} // namespace

// --- Building and reading ---

void TFM_Wirless::buildSecurityLists() {
    // 1. Primary security.
    primarySecurity_ = addRequest(tw::kPrimarySecurity, {.kind = MVT_SV});
    primarySecurity_->BindComboBox(tw::kSecAuthentication, ui->Ed_SecAutha);
    primarySecurity_->BindComboBox(tw::kSecEncryption, ui->Ed_SecEncypa);
    primarySecurity_->BindComboBox(tw::kSecValidKey, ui->Ed_SecValKeya);
    for (int k = 0; k < 4; ++k)
        primarySecurity_->BindFormat(tw::kSecFirstKey + k, "%s", Ed_Keya[k]);
    primarySecurity_->Refresh();
    storedValidKey_ = ui->Ed_SecValKeya->currentText();
    // 2. Key type.
    if (keyTypeSup_ == 1) {
        keyType_ = addRequest(tw::kKeyTypeList);
        keyType_->BindComboBox(0, ui->Ed_KeyType);
        keyTypeSupported = keyType_->Refresh();
    }
    // 3. Secondary SSIDs.
    if (newMulti_ == 1) {
        multiState_ = addRequest(tw::kMultiState);
        multiState_->BindComboBox(0, ui->CB_MultEnable);
        multiState_->Refresh();
        multiSsidAtLoad = ui->CB_MultEnable->currentIndex() > 0;
        ssidTable_ = addRequest(tw::kSsidTable, {.kind = MVT_UMV, .keyCount = 2});
        ssidTable_->AttachListView(ui->LV_Multi2, true);
        ssidTable_->Refresh();
        validKeyItemsRule();
    } else if (newMulti_ == 0) {
        guestState_ = addRequest(tw::kGuestState, {.kind = MVT_SV});
        guestState_->BindComboBox(0, ui->Master_ComboBox);
        for (int i = 0; i < tw::kGuests; ++i) {
            guestState_->BindComboBox(1 + i, Guest_ComboBox[i]);
            guestState_->BindComboBox(4 + i, GuestEncry_ComboBox[i]);
        }
        guestState_->Refresh();
        guestKeyIndex_ = addRequest(tw::kGuestKeyIndexList, {.kind = MVT_SV});
        for (int i = 0; i < tw::kGuests; ++i)
            guestKeyIndex_->BindComboBox(i, GuestKeyIndex_ComboBox[i]);
        guestKeyIndex_->Refresh();
    }
    // 4. RADIUS, primary and secondary, and the secondary accounting.
    primaryRadius_ = addRequest(tw::kPrimaryRadius, {.kind = MVT_SV});
    primaryRadius_->BindComboBox(0, ui->CiphertypeComboBox);
    primaryRadius_->BindFormat(1, "%u{n1x65535}", ui->RadiusportEdit);
    primaryRadius_->BindFormat(2, "%u{n300x9999999}", ui->GroupKeyEdit);
    primaryRadius_->BindFormat(3, "%s", ui->RadiusServerEdit);
    primaryRadius_->BindFormat(4, "%s", ui->RadiusSecretEdit);
    primaryRadius_->Refresh();
    radiusSupport_ = addRequest(tw::kRadiusBackupSupport);
    radiusSupport_->BindFormat(0, "%s", ui->Ed_RaduisSupport);
    radiusSupport_->Refresh();
    accountSupport_ = addRequest(tw::kAccountBackupSupport);
    accountSupport_->BindFormat(0, "%s", ui->Ed_AccountSupport);
    accountSupport_->Refresh();
    if (ui->Ed_RaduisSupport->text() == QLatin1String("1")) {
        secondaryRadius_ = addRequest(tw::kSecondaryRadius);
        secondaryRadius_->BindFormat(0, "%s", ui->Ed_SecRadiusServer);
        secondaryRadius_->BindFormat(1, "%u{n1x65535}", ui->Ed_SecRadiusport);
        secondaryRadius_->BindFormat(2, "%s", ui->Ed_SecRadiusSecret);
        secondaryRadius_->BindComboBox(3, ui->CB_SecRadiusMode);
        secondaryRadius_->Refresh();
    }
    if (ui->Ed_AccountSupport->text() == QLatin1String("1")) {
        secondaryAccounting_ = addRequest(tw::kSecondaryAccounting, {.kind = MVT_SV});
        secondaryAccounting_->BindComboBox(0, ui->CB_SecAccountMode);
        secondaryAccounting_->BindFormat(1, "%s", ui->Ed_SecAccountServer);
        secondaryAccounting_->BindFormat(2, "%u{n1x65535}", ui->Ed_SecAccountPort);
        secondaryAccounting_->Refresh();
    }
    rememberRadiusTexts();
    // 5. Accounting.
    const QList<QWidget*> accountingControls = {ui->CB_AcntEnable, ui->Ed_AcntServer,
                                                ui->Ed_AcntPort,   ui->Label25,
                                                ui->Label5,        ui->Label26};
    accountingShown = spAccounting_ == 1;
    for (QWidget* w : accountingControls)
        w->setVisible(accountingShown);
    if (accountingShown) {
        accounting_ = addRequest(tw::kAccounting, {.kind = MVT_SV});
        accounting_->BindComboBox(0, ui->CB_AcntEnable);
        accounting_->BindFormat(1, "%s", ui->Ed_AcntServer);
        accounting_->BindFormat(2, "%u{n1x65535}", ui->Ed_AcntPort);
        accounting_->Refresh();
        CB_AcntEnableChange();
        CB_SecRadiusModeChange();
    }
    // 6. Pass phrase.
    passPhrase_ = addRequest(tw::kPassPhrase, {.kind = MVT_SV});
    passPhrase_->BindComboBox(0, ui->CipherforPSKBox);
    passPhrase_->BindFormat(1, "%u{n300x9999999}", ui->GroupKeyPSKEdit);
    passPhrase_->BindFormat(2, "%s", ui->PassPhrasePSKEdit);
    passPhrase_->Refresh();
}

void TFM_Wirless::buildMultiSecurityLists() {
    if (newMulti_ != 1)
        return;
    multiEncryption_ = addRequest(tw::kMultiSecurity, {.kind = MVT_SV});
    multiAuthentication_ = addRequest(tw::kMultiSecurity, {.kind = MVT_SV});
    for (int i = 0; i < tw::kSecondarySsids; ++i) {
        multiEncryption_->BindComboBox(i, CB_MultEncyt[i]);
        multiAuthentication_->BindComboBox(tw::kSecondarySsids + i, CB_MultiAuth[i]);
    }
}

void TFM_Wirless::rememberRadiusTexts() {
    storedGroupKey_ = ui->GroupKeyEdit->text();
    storedCipher_ = ui->CiphertypeComboBox->currentText();
    storedRadiusServer_ = ui->RadiusServerEdit->text();
    storedRadiusPort_ = ui->RadiusportEdit->text();
    storedRadiusSecret_ = ui->RadiusSecretEdit->text();
}

void TFM_Wirless::readSecurityAtRefresh() {
    // Items an earlier Apply left out of its writes are read again.
    for (int i : {tw::kSecEncryption, tw::kSecValidKey, tw::kSecFirstKey, tw::kSecFirstKey + 1,
                  tw::kSecFirstKey + 2, tw::kSecFirstKey + 3})
        primarySecurity_->vars.item(i).access = QvAccess::readwrite;
    for (int i = 0; i < passPhrase_->vars.count(); ++i)
        passPhrase_->vars.item(i).access = QvAccess::readwrite;
    for (int i = 0; i < primaryRadius_->vars.count(); ++i)
        primaryRadius_->vars.item(i).access = QvAccess::readwrite;
    if (accounting_) {
        for (int i = 0; i < accounting_->vars.count(); ++i)
            accounting_->vars.item(i).access = QvAccess::readwrite;
    }

    primarySecurity_->Refresh();
    if (keyTypeSup_ == 1 && keyType_) {
        if (keyType_->Refresh())
            keyTypeSupported = true;
    } else {
        ui->Ed_KeyType->setCurrentIndex(0);
    }
    if (newMulti_ == 1) {
        ssidTable_->Refresh();
        multiState_->Refresh();
        storedValidKey_ = ui->Ed_SecValKeya->currentText();
        validKeyItemsRule();
    } else if (newMulti_ == 0) {
        guestState_->Refresh();
        guestKeyIndex_->Refresh();
    }
    primaryRadius_->Refresh();
    rememberRadiusTexts();
    if (accountingShown) {
        accounting_->Refresh();
        CB_AcntEnableChange();
    }
    passPhrase_->Refresh();
    if (secondaryRadius_) {
        secondaryRadius_->Refresh();
        CB_SecRadiusModeChange();
    }
    if (secondaryAccounting_)
        secondaryAccounting_->Refresh();
}

// --- Keys ---

void TFM_Wirless::keySizeAndTypeItems() {
    ui->Ed_KeySize->clear();
    ui->Ed_KeySize->addItems(
        {QStringLiteral("64 Bits"), QStringLiteral("128 Bits"), QStringLiteral("152 Bits")});
    ui->Ed_KeySize->setCurrentIndex(0);
    if (keyTypeSup_ == 0) {
        ui->Ed_KeyType->clear();
        ui->Ed_KeyType->addItems({QStringLiteral("HEX"), QStringLiteral("ASCII")});
        ui->Ed_KeyType->setCurrentIndex(0);
    }
    keyFieldsRule();
}

int TFM_Wirless::keyEditIndex() const {
    const int i = ui->Ed_SecValKeya->currentIndex();
    if (i < 0)
        return -1;
    if (ui->Ed_SecValKeya->count() == 2)
        return i == 0 ? 0 : 3;
    return i;
}

void TFM_Wirless::keyFieldsRule() {
    const int named = keyEditIndex();
    if (named >= 0) {
        switch (Ed_Keya[named]->text().size()) {
        case 10:
            ui->Ed_KeySize->setCurrentIndex(0);
            break;
        case 26:
            ui->Ed_KeySize->setCurrentIndex(1);
            break;
        case 32:
            ui->Ed_KeySize->setCurrentIndex(2);
            break;
        default:
            break;
        }
    }
    for (int k = 0; k < 4; ++k)
        pages::setWritable(Ed_Keya[k], k == named);
}

void TFM_Wirless::keyLengths() {
    const int length =
        pages::wepKeyLength(ui->Ed_KeyType->currentIndex(), ui->Ed_KeySize->currentIndex());
    if (length == 0)
        return;
    for (QLineEdit* key : Ed_Keya)
        QvEditHooks::of(*key).setMaxLength(length);
}

void TFM_Wirless::Ed_KeyTypeChange() {
    keyLengths();
}

void TFM_Wirless::Ed_KeySizeChange() {
    keyLengths();
}

// ASCII keys are kept as hexadecimal digits by the device and shown as characters. A key the
// device masks is left as it is.
void TFM_Wirless::asciiKeyDisplay() {
    if (keyTypeSup_ != 1 || ui->Ed_KeyType->currentText() != QLatin1String("ASCII"))
        return;
    for (QLineEdit* key : Ed_Keya) {
        if (!pages::isMaskedKey(key->text()))
            key->setText(pages::hexToAscii(key->text()));
    }
}

// --- Rules ---

int TFM_Wirless::authPosition() const {
    return ui->Ed_SecAutha->currentIndex();
}

void TFM_Wirless::Ed_SecAuthaTempChange() {
    const int i = ui->Ed_SecAutha->findText(ui->Ed_SecAuthaTemp->currentText());
    if (i >= 0)
        ui->Ed_SecAutha->setCurrentIndex(i);
    securitySectionRule();
}

void TFM_Wirless::Ed_SecAuthaChange() {
    securitySectionRule();
}

void TFM_Wirless::Ed_SecEncypaChange() {
    securitySectionRule();
}

void TFM_Wirless::securitySectionRule() {
    const int p = ui->Ed_SecAutha->findText(ui->Ed_SecAuthaTemp->currentText());
    // One settings box by the kind of authentication (enterprise: the primary and secondary
    // RADIUS boxes); the layout closes up over the others.
    QGroupBox* shown = nullptr;
    if (isPersonal(p)) {
        shown = ui->GroupBox6;
        ui->Ed_SecEncypa->setEnabled(true);
    } else if (isEnterprise(p)) {
        shown = ui->GroupBox5;
        ui->Ed_SecEncypa->setEnabled(true);
    } else if (isWep(p)) {
        shown = ui->GroupBox4;
        if (ui->Ed_SecAuthaTemp->currentIndex() != 0) {
            ui->Ed_SecEncypa->setCurrentIndex(ui->Ed_SecEncypa->findText(QStringLiteral("Enable")));
            ui->Ed_SecEncypa->setEnabled(false);
        } else {
            ui->Ed_SecEncypa->setEnabled(true);
        }
    }
    ui->GroupBox4->setVisible(shown == ui->GroupBox4);
    ui->GroupBox5->setVisible(shown == ui->GroupBox5);
    ui->GroupBox6->setVisible(shown == ui->GroupBox6);
    ui->GroupBox7->setVisible(shown == ui->GroupBox5);

    if (ui->Ed_SecEncypa->currentIndex() > 0) {
        keyFieldsRule();
        for (QWidget* w :
             std::initializer_list<QWidget*>{ui->Ed_KeyType, ui->Ed_KeySize, ui->Ed_SecValKeya})
            w->setEnabled(true);
    } else {
        for (QWidget* w :
             std::initializer_list<QWidget*>{ui->Ed_KeyType, ui->Ed_KeySize, ui->Ed_SecValKeya})
            w->setEnabled(false);
        for (QLineEdit* key : Ed_Keya)
            pages::setWritable(key, false);
    }
}

void TFM_Wirless::Ed_SecValKeyaChange() {
    keyFieldsRule();
    if (newMulti_ == 0)
        guestKeyIndexCheck();
}

void TFM_Wirless::CB_AcntEnableChange() {
    const bool on = ui->CB_AcntEnable->currentText() == QLatin1String("Enable");
    ui->Ed_AcntServer->setEnabled(on);
    ui->Ed_AcntPort->setEnabled(on);
    ui->CB_SecAccountMode->setEnabled(on);
    if (on) {
        CB_SecAccountModeChange();
    } else {
        ui->Ed_SecAccountServer->setEnabled(false);
        ui->Ed_SecAccountPort->setEnabled(false);
    }
}

void TFM_Wirless::CB_SecAccountModeChange() {
    const bool on = ui->CB_SecAccountMode->currentText() == QLatin1String("Enable");
    ui->Ed_SecAccountServer->setEnabled(on);
    ui->Ed_SecAccountPort->setEnabled(on);
}

void TFM_Wirless::CB_SecRadiusModeChange() {
    const bool on = ui->CB_SecRadiusMode->currentText() == QLatin1String("Enable");
    for (QLineEdit* e : {ui->Ed_SecRadiusServer, ui->Ed_SecRadiusport, ui->Ed_SecRadiusSecret})
        e->setEnabled(on);
}

// Secondary SSIDs using WPA take the second and third key slots: the primary SSID keeps the first
// and fourth.
void TFM_Wirless::validKeyItemsRule() {
    bool wpaSecondary = false;
    if (ui->CB_MultEnable->currentText() == QLatin1String("Enable")) {
        for (int r = 1; r < ui->LV_Multi2->topLevelItemCount(); ++r) {
            const QTreeWidgetItem* row = ui->LV_Multi2->topLevelItem(r);
            if (row->text(tw::kSsidColumnState) == QLatin1String("Enable") &&
                row->text(tw::kSsidColumnEncryption) != QLatin1String("Disable") &&
                !kWepTypes.contains(row->text(tw::kSsidColumnAuth)))
                wpaSecondary = true;
        }
    }
    const QStringList items = wpaSecondary
                                  ? QStringList{QStringLiteral("First"), QStringLiteral("Fourth")}
                                  : QStringList{QStringLiteral("First"), QStringLiteral("Second"),
                                                QStringLiteral("Third"), QStringLiteral("Fourth")};
    ui->Ed_SecValKeya->clear();
    ui->Ed_SecValKeya->addItems(items);
    const auto i = items.indexOf(storedValidKey_);
    ui->Ed_SecValKeya->setCurrentIndex(i >= 0 ? static_cast<int>(i) : 0);
}

void TFM_Wirless::fillAuthenticationItems(int slot) {
    if (rogue_ != 0 && rogue_ != 1)
        return;
    QStringList items;
    bool firstWhenMissing = true;
    bool onlyWep = false;
    const QString all[] = {QStringLiteral("Open System"),
                           QStringLiteral("Shared Key"),
                           QStringLiteral("Open System / Shared Key"),
                           QStringLiteral("WPA-Personal"),
                           QStringLiteral("WPA-Enterprise"),
                           QStringLiteral("WPA2-Personal"),
                           QStringLiteral("WPA2-Enterprise"),
                           QStringLiteral("WPA-Auto-Personal"),
                           QStringLiteral("WPA-Auto-Enterprise")};
    if (rogue_ == 1) {
        if (slot == 0)
            items = QStringList(std::begin(all), std::end(all));
        else if (slot >= 1 && slot <= 3)
            items = {all[0], all[1], all[2], all[3], all[5], all[7]};
        else if (slot == 4)
            items = {all[0], all[1], all[3]};
    } else {
        if (slot == 0) {
            items = {all[0], all[1], all[2], all[3], all[4]};
            const QString version = fwVer_.mid(1, 4);
            if (version == QLatin1String("2.00") || version == QLatin1String("2.01"))
                items << all[5] << all[6] << all[7] << all[8];
            firstWhenMissing = false;
        } else if (slot >= 1 && slot <= 3) {
            items = {all[0], all[1], all[2]};
            onlyWep = true;
        } else if (slot == 4) {
            items = {all[0], all[1], all[3]};
            onlyWep = true;
        }
    }
    ui->Ed_SecAuthaTemp->clear();
    ui->Ed_SecAuthaTemp->addItems(items);
    int i = static_cast<int>(items.indexOf(ui->Ed_SecAutha->currentText()));
    if (onlyWep && !kWepTypes.contains(ui->Ed_SecAutha->currentText()))
        i = -1;
    if (i < 0 && firstWhenMissing && !items.isEmpty())
        i = 0;
    ui->Ed_SecAuthaTemp->setCurrentIndex(i);
    ui->CB_SSIDBcasta->setEnabled(slot != 4);
}

void TFM_Wirless::fillPskCipherItems(int slot) {
    QStringList items;
    if (slot == 1)
        items = {QStringLiteral("Auto"), QStringLiteral("AES")};
    else if (slot == 2)
        items = {QStringLiteral("AES")};
    else
        items = {QStringLiteral("Auto"), QStringLiteral("AES"), QStringLiteral("TKIP")};
    ui->CipherforPSKBox->clear();
    ui->CipherforPSKBox->addItems(items);
    const auto i = items.indexOf(storedCipher_);
    ui->CipherforPSKBox->setCurrentIndex(i >= 0 ? static_cast<int>(i) : 0);
}

// --- Checks on Apply ---

bool TFM_Wirless::primarySsidUnique() {
    if (ui->CB_MultEnable->currentText() != QLatin1String("Enable"))
        return true;
    for (int r = 1; r < ui->LV_Multi2->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* row = ui->LV_Multi2->topLevelItem(r);
        if (row->text(tw::kSsidColumnState).contains(QLatin1String("Enable")) &&
            row->text(tw::kSsidColumnSsid) == ui->Ed_SSIDa->text())
            return pages::refuse(
                QStringLiteral("The 11g Primary SSID's SSID is same as Multi-SSID %1").arg(r),
                QStringLiteral("Warning"), ui->Ed_SSIDa);
    }
    return true;
}

bool TFM_Wirless::securityCheck() {
    QvSNMPVarList& sec = primarySecurity_->vars;
    for (int i : {tw::kSecEncryption, tw::kSecValidKey, tw::kSecFirstKey, tw::kSecFirstKey + 1,
                  tw::kSecFirstKey + 2, tw::kSecFirstKey + 3})
        sec.item(i).access = QvAccess::invalid;
    for (int i = 0; i < passPhrase_->vars.count(); ++i)
        passPhrase_->vars.item(i).access = QvAccess::invalid;
    for (int i = 0; i < primaryRadius_->vars.count(); ++i)
        primaryRadius_->vars.item(i).access = QvAccess::readonly;

    const int p = authPosition();
    const auto enable = [this] {
        ui->Ed_SecEncypa->setCurrentIndex(ui->Ed_SecEncypa->findText(QStringLiteral("Enable")));
    };
    const QString groupKeyRange = QStringLiteral("Please input a number between 300 and 9999999.");
    const QString error = QStringLiteral("Error");
    if (isPersonal(p)) {
        enable();
        sec.item(tw::kSecEncryption).access = QvAccess::readwrite;
        if (!groupKeyInRange(ui->GroupKeyPSKEdit->text())) {
            ui->GroupKeyPSKEdit->clear();
            return pages::refuse(groupKeyRange, error, ui->GroupKeyPSKEdit);
        }
        const auto length = ui->PassPhrasePSKEdit->text().size();
        if (length < 8 || length > 63)
            return pages::refuse(
                QStringLiteral("The length of 802.11g PassPhrase is between 8 and 63."), error,
                ui->PassPhrasePSKEdit);
        for (int i = 0; i < passPhrase_->vars.count(); ++i)
            passPhrase_->vars.item(i).access = QvAccess::readwrite;
    } else if (isEnterprise(p)) {
        enable();
        sec.item(tw::kSecEncryption).access = QvAccess::readwrite;
        if (!groupKeyInRange(ui->GroupKeyEdit->text())) {
            ui->GroupKeyEdit->clear();
            return pages::refuse(groupKeyRange, error, ui->GroupKeyEdit);
        }
        const QString portRange = QStringLiteral("Please input a number between 1 and 65535.");
        const QString badServer = QStringLiteral("The Radius server's IP is illegal.");
        if (!serverGiven(ui->RadiusServerEdit, ui->RadiusportEdit, badServer, portRange, error))
            return false;
        if (ui->Ed_RaduisSupport->text() == QLatin1String("1") &&
            ui->CB_SecRadiusMode->currentText() == QLatin1String("Enable") &&
            !serverGiven(ui->Ed_SecRadiusServer, ui->Ed_SecRadiusport, badServer, portRange, error))
            return false;
        for (int i = 0; i < primaryRadius_->vars.count(); ++i)
            primaryRadius_->vars.item(i).access = QvAccess::readwrite;
    } else if (isWep(p)) {
        sec.item(tw::kSecEncryption).access = QvAccess::readwrite;
        if (ui->Ed_SecEncypa->currentText() == QLatin1String("Enable")) {
            sec.item(tw::kSecValidKey).access = QvAccess::readwrite;
            if (!keyCheck())
                return false;
            const int named = keyEditIndex();
            QLineEdit* key = named >= 0 ? Ed_Keya[named] : nullptr;
            // A masked key is the device's own: it stays as it is and is not sent.
            if (key && !pages::isMaskedKey(key->text())) {
                if (!pages::isHexText(key->text())) {
                    platform::message(QString(),
                                      QStringLiteral("Please input  Hexadecimal digits!"));
                    key->clear();
                    return false;
                }
                sec.item(tw::kSecFirstKey + named).access = QvAccess::readwrite;
            }
        }
    }

    if (accountingShown && accounting_) {
        QvSNMPVarList& acc = accounting_->vars;
        if (ui->CB_AcntEnable->currentText() != QLatin1String("Enable")) {
            acc.item(0).access = QvAccess::readwrite;
            acc.item(1).access = QvAccess::invalid;
            acc.item(2).access = QvAccess::invalid;
        } else {
            const QString warning = QStringLiteral("Warning");
            const QString badServer = QStringLiteral("The Accountings server's IP is illegal");
            const QString badPort = QStringLiteral("The range of Accounting Port is (1-65535)");
            if (!serverGiven(ui->Ed_AcntServer, ui->Ed_AcntPort, badServer, badPort, warning))
                return false;
            if (ui->Ed_AccountSupport->text() == QLatin1String("1") &&
                ui->CB_SecAccountMode->currentText() == QLatin1String("Enable") &&
                !serverGiven(ui->Ed_SecAccountServer, ui->Ed_SecAccountPort, badServer, badPort,
                             warning))
                return false;
            for (int i = 0; i < 3; ++i)
                acc.item(i).access = QvAccess::readwrite;
        }
    }
    return true;
}

// The selected key must have the length its type and size give; an ASCII key is then sent as
// its hexadecimal digits. A masked key is not checked: it is not sent.
bool TFM_Wirless::keyCheck() {
    const int named = keyEditIndex();
    if (named < 0)
        return true;
    QLineEdit* key = Ed_Keya[named];
    if (pages::isMaskedKey(key->text()))
        return true;
    const int type = ui->Ed_KeyType->currentIndex();
    const int size = ui->Ed_KeySize->currentIndex();
    const int length = pages::wepKeyLength(type, size);
    if (key->text().size() != length)
        return pages::refuse(pages::wepKeyLengthMessage(named, type, size),
                             QStringLiteral("Warning"));
    if (type == 1) {
        const std::optional<QString> hex = pages::asciiToHex(key->text());
        if (!hex) {
            platform::message(QString(), QStringLiteral("Please input  Hexadecimal digits!"));
            key->clear();
            return false;
        }
        key->setText(*hex);
    }
    return true;
}

bool TFM_Wirless::guestKeyIndexCheck() {
    if (!ui->Ed_SecValKeya->isEnabled() || ui->Ed_SecAuthaTemp->currentIndex() > 2 ||
        ui->Ed_SecAuthaTemp->currentIndex() < 0)
        return true;
    for (int n = 0; n < tw::kGuests; ++n) {
        if (ui->Ed_SecValKeya->currentIndex() == GuestKeyIndex_ComboBox[n]->currentIndex() &&
            GuestEncry_ComboBox[n]->currentText() == QLatin1String("Enable") &&
            Guest_ComboBox[n]->currentText() == QLatin1String("Enable"))
            return pages::refuse(
                QStringLiteral("The 11g master SSID's key index is same as Guest SSID%1")
                    .arg(n + 1),
                QStringLiteral("Warning"));
    }
    return true;
}

void TFM_Wirless::guestCleanup() {
    if (!guestState_)
        return;
    const auto disable = [](QComboBox* combo) {
        combo->setCurrentIndex(combo->findText(QStringLiteral("Disable")));
    };
    const QString auth = ui->Ed_SecAuthaTemp->currentText();
    const bool openOrShared =
        auth == QLatin1String("Open System") || auth == QLatin1String("Shared Key");
    // "Disable" is the fourth Super G entry where there are four; with three entries it is the
    // third, and its text says what is meant.
    const bool superGOff = ui->AD_SuperMode->currentText() == QLatin1String("Disable");
    if (ui->ED_APModeTempComboBox->currentIndex() != 0 || !superGOff) {
        disable(ui->Master_ComboBox);
        for (QComboBox* c : Guest_ComboBox)
            disable(c);
        if (!openOrShared || !superGOff) {
            for (QComboBox* c : GuestEncry_ComboBox)
                disable(c);
        }
        guestState_->Apply(true, true);
    } else if (!openOrShared) {
        for (QComboBox* c : GuestEncry_ComboBox)
            disable(c);
        guestState_->Apply(true, true);
    }
}

bool TFM_Wirless::multiSsidConsistency() {
    if (newMulti_ != 1 || ui->CB_MultEnable->currentText() != QLatin1String("Enable") ||
        !multiEncryption_)
        return true;
    std::array<int, 7> newEncryption;
    std::array<int, 7> newAuthentication;
    newEncryption.fill(-1);
    newAuthentication.fill(-1);
    bool enterpriseChanged = false;
    bool keyShared = false;
    bool groupKeyShared = false;
    bool wpaSlots = false;
    const int p = authPosition();
    const int rows = ui->LV_Multi2->topLevelItemCount();
    const auto col = [this](int r, int c) { return ui->LV_Multi2->topLevelItem(r)->text(c); };
    const QString enable = QStringLiteral("Enable");

    // 1. Secondary SSIDs on WPA-Enterprise lose their security when the primary leaves it.
    if (!isEnterprise(p)) {
        for (int i = 0; i < multiEncryption_->vars.count(); ++i) {
            multiEncryption_->vars.item(i).access = QvAccess::invalid;
            multiAuthentication_->vars.item(i).access = QvAccess::invalid;
        }
        for (int r = 1; r < rows && r <= tw::kSecondarySsids; ++r) {
            const QString auth = col(r, tw::kSsidColumnAuth);
            if (col(r, tw::kSsidColumnState).contains(enable) &&
                col(r, tw::kSsidColumnEncryption).contains(enable) &&
                (auth.contains(QLatin1String("EAP")) ||
                 auth.contains(QLatin1String("Enterprise")))) {
                enterpriseChanged = true;
                newEncryption[r - 1] = 0;
                newAuthentication[r - 1] = 0;
                multiEncryption_->vars.item(r - 1).access = QvAccess::readwrite;
                multiAuthentication_->vars.item(r + 6).access = QvAccess::readwrite;
            }
        }
    }
    if (!isWep(p)) {
        // 2. WPA on the primary takes key slots and shares the group key interval.
        for (int r = 1; r < rows; ++r) {
            const bool on = col(r, tw::kSsidColumnState) == enable &&
                            col(r, tw::kSsidColumnEncryption) == enable;
            const QString auth = col(r, tw::kSsidColumnAuth);
            const QString keyIndex = col(r, tw::kSsidColumnKeyIndex);
            if (on && kWepTypes.contains(auth) && keyIndex != QLatin1String("First") &&
                keyIndex != QLatin1String("Fourth")) {
                wpaSlots = true;
                break;
            }
            if (on && !kWepTypes.contains(auth)) {
                QLineEdit* source = isEnterprise(p) ? ui->GroupKeyEdit : ui->GroupKeyPSKEdit;
                QLineEdit* copy = isEnterprise(p) ? ui->GroupKeyPSKEdit : ui->GroupKeyEdit;
                if (source->text() != storedGroupKey_ && !storedGroupKey_.isEmpty()) {
                    groupKeyShared = true;
                    storedGroupKey_ = source->text();
                    copy->setText(source->text());
                    break;
                }
            }
        }
    } else if (ui->Ed_SecEncypa->currentText() == enable) {
        // 3. A WEP key another SSID uses.
        for (int r = 1; r < rows; ++r) {
            const QString auth = col(r, tw::kSsidColumnAuth);
            if (col(r, tw::kSsidColumnKeyIndex) == ui->Ed_SecValKeya->currentText() &&
                col(r, tw::kSsidColumnState) == enable &&
                col(r, tw::kSsidColumnEncryption) == enable &&
                (auth.contains(QLatin1String("Open")) || auth.contains(QLatin1String("Shared"))))
                keyShared = true;
        }
    }
    const QString warning = QStringLiteral("Warning");
    // 4.
    if (enterpriseChanged) {
        if (multiSsidAtLoad) {
            platform::message(warning,
                              QStringLiteral("To change authentication type of Primary SSID will "
                                             "change WPA-Enterprise of Secondary SSID to non "
                                             "security."));
            multiSsidAtLoad = false;
        }
        for (int i = 0; i < tw::kSecondarySsids; ++i) {
            CB_MultEncyt[i]->setCurrentIndex(newEncryption[i]);
            CB_MultiAuth[i]->setCurrentIndex(newAuthentication[i]);
        }
        if (!multiEncryption_->Apply(true, true) || !multiAuthentication_->Apply(true, true))
            return false;
    }
    // 5.
    if (multiSsidAtLoad) {
        if (keyShared)
            platform::message(warning, QStringLiteral("Key value is used by SSID! \nTo change Key "
                                                      "value affects other SSID settings."));
        if (groupKeyShared)
            platform::message(warning,
                              QStringLiteral("Group Key Update Interval is used by SSID!\nTo "
                                             "change Group Key Update Interval affects other SSID "
                                             "settings."));
        if (wpaSlots)
            platform::message(warning,
                              QStringLiteral("WPA-Enterprise or WPA-Personal will use second and "
                                             "third key slot .\nOther Multiple SSID which uses "
                                             "second and third key for WEP will be set to no "
                                             "security."));
    }
    return true;
}

bool TFM_Wirless::securityWrite() {
    const int p = authPosition();
    if (isPersonal(p))
        return pages::writeInOrder({{primarySecurity_}, {passPhrase_}});
    if (isEnterprise(p))
        return pages::writeInOrder({{primarySecurity_}, {primaryRadius_}});
    return primarySecurity_->Apply(true, true);
}
