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

constexpr int kBoxWidth = 580;
constexpr int kGroupBox5Height = 160;

template <class W> W* make(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

void labelFor(QWidget* parent, const char* name, const QString& text, int x, int y,
              QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    if (name)
        label->setObjectName(QLatin1String(name));
    label->move(x, y);
    label->adjustSize();
    label->setBuddy(buddy);
    buddy->setAccessibleName(text.trimmed());
}

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text, int x, int y,
                   QWidget* buddy) {
    labelFor(parent, name, text, x, y, buddy);
    return parent->findChild<QLabel*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
}

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

void TFM_Wirless::buildSecurityControls() {
    QWidget* a = TS_11a;
    Ed_SecAuthaTemp = make<QComboBox>(a, "Ed_SecAuthaTemp", 125, 128, 200, 22);
    Authentication =
        namedLabel(a, "Authentication", QStringLiteral("Authentication"), 10, 132, Ed_SecAuthaTemp);
    Ed_SecAutha = make<QComboBox>(a, "Ed_SecAutha", 125, 128, 200, 22);
    Ed_SecAutha->hide();

    GroupBox4 = make<QGroupBox>(a, "GroupBox4", 5, 149, kBoxWidth, 134);
    GroupBox4->setTitle(QStringLiteral(" Key Settings "));
    Ed_SecEncypa = make<QComboBox>(GroupBox4, "Ed_SecEncypa", 110, 20, 110, 22);
    labelFor(GroupBox4, nullptr, QStringLiteral("Encryption "), 10, 24, Ed_SecEncypa);
    Ed_KeyType = make<QComboBox>(GroupBox4, "Ed_KeyType", 110, 46, 110, 22);
    labelFor(GroupBox4, nullptr, QStringLiteral("Key Type "), 10, 50, Ed_KeyType);
    Ed_KeySize = make<QComboBox>(GroupBox4, "Ed_KeySize", 110, 72, 110, 22);
    labelFor(GroupBox4, nullptr, QStringLiteral("Key Size"), 10, 76, Ed_KeySize);
    Ed_SecValKeya = make<QComboBox>(GroupBox4, "Ed_SecValKeya", 110, 98, 110, 22);
    labelFor(GroupBox4, nullptr, QStringLiteral("Valid Key"), 10, 102, Ed_SecValKeya);
    const char* keyNames[] = {"Ed_Key1a", "Ed_Key2a", "Ed_Key3a", "Ed_Key4a"};
    const QString keyCaptions[] = {QStringLiteral("First Key "), QStringLiteral("Second Key"),
                                   QStringLiteral("Third Key "), QStringLiteral("Fourth Key ")};
    for (int k = 0; k < 4; ++k) {
        Ed_Keya[k] = make<QLineEdit>(GroupBox4, keyNames[k], 320, 20 + 26 * k, 170, 21);
        Ed_Keya[k]->setEchoMode(QLineEdit::Password);
        labelFor(GroupBox4, nullptr, keyCaptions[k], 235, 24 + 26 * k, Ed_Keya[k]);
    }

    GroupBox6 = make<QGroupBox>(a, "GroupBox6", 5, 149, kBoxWidth, 104);
    GroupBox6->setTitle(QStringLiteral(" PassPhrase Settings "));
    CipherforPSKBox = make<QComboBox>(GroupBox6, "CipherforPSKBox", 185, 20, 100, 22);
    labelFor(GroupBox6, nullptr, QStringLiteral("Cipher Type"), 10, 24, CipherforPSKBox);
    GroupKeyPSKEdit = make<QLineEdit>(GroupBox6, "GroupKeyPSKEdit", 185, 46, 100, 21);
    labelFor(GroupBox6, nullptr, QStringLiteral("Group Key Update Interval"), 10, 50,
             GroupKeyPSKEdit);
    (new QLabel(QStringLiteral(" [ 300 - 9999999 ]"), GroupBox6))->move(290, 50);
    PassPhrasePSKEdit = make<QLineEdit>(GroupBox6, "PassPhrasePSKEdit", 185, 72, 380, 21);
    PassPhrasePSKEdit->setEchoMode(QLineEdit::Password);
    labelFor(GroupBox6, nullptr, QStringLiteral("PassPhrase "), 10, 76, PassPhrasePSKEdit);

    GroupBox5 = make<QGroupBox>(a, "GroupBox5", 5, 149, kBoxWidth, kGroupBox5Height);
    GroupBox5->setTitle(QStringLiteral("Primary  Radius Server Settings "));
    GroupKeyEdit = make<QLineEdit>(GroupBox5, "GroupKeyEdit", 185, 20, 100, 21);
    labelFor(GroupBox5, nullptr, QStringLiteral("Group Key Update Interval  "), 10, 24,
             GroupKeyEdit);
    (new QLabel(QStringLiteral(" [ 300 - 9999999 ]"), GroupBox5))->move(290, 24);
    RadiusServerEdit = make<QLineEdit>(GroupBox5, "RadiusServerEdit", 185, 46, 100, 21);
    labelFor(GroupBox5, nullptr, QStringLiteral("Radius Server "), 10, 50, RadiusServerEdit);
    RadiusportEdit = make<QLineEdit>(GroupBox5, "RadiusportEdit", 185, 72, 100, 21);
    labelFor(GroupBox5, nullptr, QStringLiteral("Radius Port (1-65535)"), 10, 76, RadiusportEdit);
    RadiusSecretEdit = make<QLineEdit>(GroupBox5, "RadiusSecretEdit", 185, 98, 100, 21);
    RadiusSecretEdit->setEchoMode(QLineEdit::Password);
    labelFor(GroupBox5, nullptr, QStringLiteral("Radius Secret"), 10, 102, RadiusSecretEdit);
    CiphertypeComboBox = make<QComboBox>(GroupBox5, "CiphertypeComboBox", 185, 124, 100, 22);
    labelFor(GroupBox5, nullptr, QStringLiteral("Cipher Type"), 10, 128, CiphertypeComboBox);
    CB_AcntEnable = make<QComboBox>(GroupBox5, "CB_AcntEnable", 460, 46, 110, 22);
    Label25 =
        namedLabel(GroupBox5, "Label25", QStringLiteral("Accounting Mode"), 300, 50, CB_AcntEnable);
    Ed_AcntServer = make<QLineEdit>(GroupBox5, "Ed_AcntServer", 460, 72, 110, 21);
    Label5 = namedLabel(GroupBox5, "Label5", QStringLiteral("Accounting Server"), 300, 76,
                        Ed_AcntServer);
    Ed_AcntPort = make<QLineEdit>(GroupBox5, "Ed_AcntPort", 460, 98, 110, 21);
    Label26 =
        namedLabel(GroupBox5, "Label26", QStringLiteral("Accounting Port"), 300, 102, Ed_AcntPort);

    GroupBox7 = make<QGroupBox>(a, "GroupBox7", 5, 149, kBoxWidth, 129);
    GroupBox7->setTitle(QStringLiteral("Secondary  Radius Server Settings "));
    CB_SecRadiusMode = make<QComboBox>(GroupBox7, "CB_SecRadiusMode", 185, 20, 100, 22);
    labelFor(GroupBox7, nullptr, QStringLiteral("RADIUS Mode "), 10, 24, CB_SecRadiusMode);
    Ed_SecRadiusServer = make<QLineEdit>(GroupBox7, "Ed_SecRadiusServer", 185, 46, 100, 21);
    labelFor(GroupBox7, nullptr, QStringLiteral("Radius Server "), 10, 50, Ed_SecRadiusServer);
    Ed_SecRadiusport = make<QLineEdit>(GroupBox7, "Ed_SecRadiusport", 185, 72, 100, 21);
    labelFor(GroupBox7, nullptr, QStringLiteral("Radius Port (1-65535)"), 10, 76, Ed_SecRadiusport);
    Ed_SecRadiusSecret = make<QLineEdit>(GroupBox7, "Ed_SecRadiusSecret", 185, 98, 100, 21);
    Ed_SecRadiusSecret->setEchoMode(QLineEdit::Password);
    labelFor(GroupBox7, nullptr, QStringLiteral("Radius Secret"), 10, 102, Ed_SecRadiusSecret);
    CB_SecAccountMode = make<QComboBox>(GroupBox7, "CB_SecAccountMode", 460, 20, 110, 22);
    labelFor(GroupBox7, nullptr, QStringLiteral("Accounting Mode "), 300, 24, CB_SecAccountMode);
    Ed_SecAccountServer = make<QLineEdit>(GroupBox7, "Ed_SecAccountServer", 460, 46, 110, 21);
    labelFor(GroupBox7, nullptr, QStringLiteral("Accounting Server"), 300, 50, Ed_SecAccountServer);
    Ed_SecAccountPort = make<QLineEdit>(GroupBox7, "Ed_SecAccountPort", 460, 72, 110, 21);
    labelFor(GroupBox7, nullptr, QStringLiteral("Accounting Port (1-65535)"), 300, 76,
             Ed_SecAccountPort);
    Ed_RaduisSupport = make<QLineEdit>(GroupBox7, "Ed_RaduisSupport", 0, 0, 10, 10);
    Ed_RaduisSupport->hide();
    Ed_AccountSupport = make<QLineEdit>(GroupBox7, "Ed_AccountSupport", 0, 0, 10, 10);
    Ed_AccountSupport->hide();

    connect(Ed_SecAuthaTemp, &QComboBox::activated, this, &TFM_Wirless::Ed_SecAuthaTempChange);
    connect(Ed_SecAutha, &QComboBox::activated, this, &TFM_Wirless::Ed_SecAuthaChange);
    connect(Ed_SecEncypa, &QComboBox::activated, this, &TFM_Wirless::Ed_SecEncypaChange);
    connect(Ed_KeyType, &QComboBox::activated, this, &TFM_Wirless::Ed_KeyTypeChange);
    connect(Ed_KeySize, &QComboBox::activated, this, &TFM_Wirless::Ed_KeySizeChange);
    connect(Ed_SecValKeya, &QComboBox::activated, this, &TFM_Wirless::Ed_SecValKeyaChange);
    connect(CB_AcntEnable, &QComboBox::activated, this, &TFM_Wirless::CB_AcntEnableChange);
    connect(CB_SecRadiusMode, &QComboBox::activated, this, &TFM_Wirless::CB_SecRadiusModeChange);
    connect(CB_SecAccountMode, &QComboBox::activated, this, &TFM_Wirless::CB_SecAccountModeChange);
}

void TFM_Wirless::buildHiddenMultiControls() {
    QWidget* a = TS_11a;
    const auto hidden = [a](const QString& name) {
        auto* combo = new QComboBox(a);
        combo->setObjectName(name);
        combo->hide();
        return combo;
    };
    CB_MultEnable = hidden(QStringLiteral("CB_MultEnable"));
    LV_Multi2 = new QTreeWidget(a);
    LV_Multi2->setObjectName(QStringLiteral("LV_Multi2"));
    LV_Multi2->hide();
    for (int i = 0; i < tw::kSecondarySsids; ++i) {
        CB_MultEncyt[i] = hidden(QStringLiteral("CB_MultEncyt%1").arg(i + 1));
        CB_MultiAuth[i] = hidden(QStringLiteral("CB_MultiAuth%1").arg(i + 1));
    }
    Master_ComboBox = hidden(QStringLiteral("Master_ComboBox"));
    for (int i = 0; i < tw::kGuests; ++i) {
        Guest_ComboBox[i] = hidden(QStringLiteral("Guest%1_ComboBox").arg(i + 1));
        GuestEncry_ComboBox[i] = hidden(QStringLiteral("GuestEncry%1_ComboBox").arg(i + 1));
        GuestKeyIndex_ComboBox[i] = hidden(QStringLiteral("GuestKeyIndex%1_ComboBox").arg(i + 1));
    }
}

// --- Building and reading ---

void TFM_Wirless::buildSecurityLists() {
    // 1. Primary security.
    primarySecurity_ = addRequest(tw::kPrimarySecurity, {.kind = MVT_SV});
    primarySecurity_->BindComboBox(tw::kSecAuthentication, Ed_SecAutha);
    primarySecurity_->BindComboBox(tw::kSecEncryption, Ed_SecEncypa);
    primarySecurity_->BindComboBox(tw::kSecValidKey, Ed_SecValKeya);
    for (int k = 0; k < 4; ++k)
        primarySecurity_->BindFormat(tw::kSecFirstKey + k, "%s", Ed_Keya[k]);
    primarySecurity_->Refresh();
    storedValidKey_ = Ed_SecValKeya->currentText();
    // 2. Key type.
    if (keyTypeSup_ == 1) {
        keyType_ = addRequest(tw::kKeyTypeList);
        keyType_->BindComboBox(0, Ed_KeyType);
        keyTypeSupported = keyType_->Refresh();
    }
    // 3. Secondary SSIDs.
    if (newMulti_ == 1) {
        multiState_ = addRequest(tw::kMultiState);
        multiState_->BindComboBox(0, CB_MultEnable);
        multiState_->Refresh();
        multiSsidAtLoad = CB_MultEnable->currentIndex() > 0;
        ssidTable_ = addRequest(tw::kSsidTable, {.kind = MVT_UMV, .keyCount = 2});
        ssidTable_->AttachListView(LV_Multi2, true);
        ssidTable_->Refresh();
        validKeyItemsRule();
    } else if (newMulti_ == 0) {
        guestState_ = addRequest(tw::kGuestState, {.kind = MVT_SV});
        guestState_->BindComboBox(0, Master_ComboBox);
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
    primaryRadius_->BindComboBox(0, CiphertypeComboBox);
    primaryRadius_->BindFormat(1, "%u{n1x65535}", RadiusportEdit);
    primaryRadius_->BindFormat(2, "%u{n300x9999999}", GroupKeyEdit);
    primaryRadius_->BindFormat(3, "%s", RadiusServerEdit);
    primaryRadius_->BindFormat(4, "%s", RadiusSecretEdit);
    primaryRadius_->Refresh();
    radiusSupport_ = addRequest(tw::kRadiusBackupSupport);
    radiusSupport_->BindFormat(0, "%s", Ed_RaduisSupport);
    radiusSupport_->Refresh();
    accountSupport_ = addRequest(tw::kAccountBackupSupport);
    accountSupport_->BindFormat(0, "%s", Ed_AccountSupport);
    accountSupport_->Refresh();
    if (Ed_RaduisSupport->text() == QLatin1String("1")) {
        secondaryRadius_ = addRequest(tw::kSecondaryRadius);
        secondaryRadius_->BindFormat(0, "%s", Ed_SecRadiusServer);
        secondaryRadius_->BindFormat(1, "%u{n1x65535}", Ed_SecRadiusport);
        secondaryRadius_->BindFormat(2, "%s", Ed_SecRadiusSecret);
        secondaryRadius_->BindComboBox(3, CB_SecRadiusMode);
        secondaryRadius_->Refresh();
    }
    if (Ed_AccountSupport->text() == QLatin1String("1")) {
        secondaryAccounting_ = addRequest(tw::kSecondaryAccounting, {.kind = MVT_SV});
        secondaryAccounting_->BindComboBox(0, CB_SecAccountMode);
        secondaryAccounting_->BindFormat(1, "%s", Ed_SecAccountServer);
        secondaryAccounting_->BindFormat(2, "%u{n1x65535}", Ed_SecAccountPort);
        secondaryAccounting_->Refresh();
    }
    rememberRadiusTexts();
    // 5. Accounting.
    const QList<QWidget*> accountingControls = {CB_AcntEnable, Ed_AcntServer, Ed_AcntPort,
                                                Label25,       Label5,        Label26};
    accountingShown = spAccounting_ == 1;
    for (QWidget* w : accountingControls)
        w->setVisible(accountingShown);
    if (accountingShown) {
        accounting_ = addRequest(tw::kAccounting, {.kind = MVT_SV});
        accounting_->BindComboBox(0, CB_AcntEnable);
        accounting_->BindFormat(1, "%s", Ed_AcntServer);
        accounting_->BindFormat(2, "%u{n1x65535}", Ed_AcntPort);
        accounting_->Refresh();
        CB_AcntEnableChange();
        CB_SecRadiusModeChange();
    }
    // 6. Pass phrase.
    passPhrase_ = addRequest(tw::kPassPhrase, {.kind = MVT_SV});
    passPhrase_->BindComboBox(0, CipherforPSKBox);
    passPhrase_->BindFormat(1, "%u{n300x9999999}", GroupKeyPSKEdit);
    passPhrase_->BindFormat(2, "%s", PassPhrasePSKEdit);
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
    storedGroupKey_ = GroupKeyEdit->text();
    storedCipher_ = CiphertypeComboBox->currentText();
    storedRadiusServer_ = RadiusServerEdit->text();
    storedRadiusPort_ = RadiusportEdit->text();
    storedRadiusSecret_ = RadiusSecretEdit->text();
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
        Ed_KeyType->setCurrentIndex(0);
    }
    if (newMulti_ == 1) {
        ssidTable_->Refresh();
        multiState_->Refresh();
        storedValidKey_ = Ed_SecValKeya->currentText();
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
    Ed_KeySize->clear();
    Ed_KeySize->addItems(
        {QStringLiteral("64 Bits"), QStringLiteral("128 Bits"), QStringLiteral("152 Bits")});
    Ed_KeySize->setCurrentIndex(0);
    if (keyTypeSup_ == 0) {
        Ed_KeyType->clear();
        Ed_KeyType->addItems({QStringLiteral("HEX"), QStringLiteral("ASCII")});
        Ed_KeyType->setCurrentIndex(0);
    }
    keyFieldsRule();
}

int TFM_Wirless::keyEditIndex() const {
    const int i = Ed_SecValKeya->currentIndex();
    if (i < 0)
        return -1;
    if (Ed_SecValKeya->count() == 2)
        return i == 0 ? 0 : 3;
    return i;
}

void TFM_Wirless::keyFieldsRule() {
    const int named = keyEditIndex();
    if (named >= 0) {
        switch (Ed_Keya[named]->text().size()) {
        case 10:
            Ed_KeySize->setCurrentIndex(0);
            break;
        case 26:
            Ed_KeySize->setCurrentIndex(1);
            break;
        case 32:
            Ed_KeySize->setCurrentIndex(2);
            break;
        default:
            break;
        }
    }
    for (int k = 0; k < 4; ++k)
        pages::setWritable(Ed_Keya[k], k == named);
}

void TFM_Wirless::keyLengths() {
    const int length = pages::wepKeyLength(Ed_KeyType->currentIndex(), Ed_KeySize->currentIndex());
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
    if (keyTypeSup_ != 1 || Ed_KeyType->currentText() != QLatin1String("ASCII"))
        return;
    for (QLineEdit* key : Ed_Keya) {
        if (!pages::isMaskedKey(key->text()))
            key->setText(pages::hexToAscii(key->text()));
    }
}

// --- Rules ---

int TFM_Wirless::authPosition() const {
    return Ed_SecAutha->currentIndex();
}

void TFM_Wirless::Ed_SecAuthaTempChange() {
    const int i = Ed_SecAutha->findText(Ed_SecAuthaTemp->currentText());
    if (i >= 0)
        Ed_SecAutha->setCurrentIndex(i);
    securitySectionRule();
}

void TFM_Wirless::Ed_SecAuthaChange() {
    securitySectionRule();
}

void TFM_Wirless::Ed_SecEncypaChange() {
    securitySectionRule();
}

void TFM_Wirless::securitySectionRule() {
    const int p = Ed_SecAutha->findText(Ed_SecAuthaTemp->currentText());
    const int top = GroupBox4->y();
    for (QGroupBox* box : {GroupBox4, GroupBox5, GroupBox6, GroupBox7})
        box->move(box->x(), top);
    GroupBox5->resize(GroupBox5->width(), kGroupBox5Height);
    QGroupBox* shown = nullptr;
    int pageBottom = 0;
    if (isPersonal(p)) {
        shown = GroupBox6;
        Ed_SecEncypa->setEnabled(true);
    } else if (isEnterprise(p)) {
        shown = GroupBox5;
        GroupBox5->resize(GroupBox5->width(), kGroupBox5Height + 3);
        GroupBox7->move(GroupBox7->x(), GroupBox5->geometry().bottom() + 10);
        Ed_SecEncypa->setEnabled(true);
    } else if (isWep(p)) {
        shown = GroupBox4;
        if (Ed_SecAuthaTemp->currentIndex() != 0) {
            Ed_SecEncypa->setCurrentIndex(Ed_SecEncypa->findText(QStringLiteral("Enable")));
            Ed_SecEncypa->setEnabled(false);
        } else {
            Ed_SecEncypa->setEnabled(true);
        }
    }
    GroupBox4->setVisible(shown == GroupBox4);
    GroupBox5->setVisible(shown == GroupBox5);
    GroupBox6->setVisible(shown == GroupBox6);
    GroupBox7->setVisible(shown == GroupBox5);
    if (shown == GroupBox5)
        pageBottom = GroupBox7->geometry().bottom() + 30;
    else if (shown)
        pageBottom = shown->geometry().bottom() + 35;
    else
        pageBottom = Authentication->geometry().bottom() + 35;
    const int pageHeight = pageBottom + PC_Wirless->tabBar()->sizeHint().height() + 4;
    const int buttonsTop = pageHeight + 10;
    placeButtonsBelow(pageHeight, buttonsTop, buttonsTop + 75);

    if (Ed_SecEncypa->currentIndex() > 0) {
        keyFieldsRule();
        for (QWidget* w : std::initializer_list<QWidget*>{Ed_KeyType, Ed_KeySize, Ed_SecValKeya})
            w->setEnabled(true);
    } else {
        for (QWidget* w : std::initializer_list<QWidget*>{Ed_KeyType, Ed_KeySize, Ed_SecValKeya})
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
    const bool on = CB_AcntEnable->currentText() == QLatin1String("Enable");
    Ed_AcntServer->setEnabled(on);
    Ed_AcntPort->setEnabled(on);
    CB_SecAccountMode->setEnabled(on);
    if (on) {
        CB_SecAccountModeChange();
    } else {
        Ed_SecAccountServer->setEnabled(false);
        Ed_SecAccountPort->setEnabled(false);
    }
}

void TFM_Wirless::CB_SecAccountModeChange() {
    const bool on = CB_SecAccountMode->currentText() == QLatin1String("Enable");
    Ed_SecAccountServer->setEnabled(on);
    Ed_SecAccountPort->setEnabled(on);
}

void TFM_Wirless::CB_SecRadiusModeChange() {
    const bool on = CB_SecRadiusMode->currentText() == QLatin1String("Enable");
    for (QLineEdit* e : {Ed_SecRadiusServer, Ed_SecRadiusport, Ed_SecRadiusSecret})
        e->setEnabled(on);
}

// Secondary SSIDs using WPA take the second and third key slots: the primary SSID keeps the first
// and fourth.
void TFM_Wirless::validKeyItemsRule() {
    bool wpaSecondary = false;
    if (CB_MultEnable->currentText() == QLatin1String("Enable")) {
        for (int r = 1; r < LV_Multi2->topLevelItemCount(); ++r) {
            const QTreeWidgetItem* row = LV_Multi2->topLevelItem(r);
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
    Ed_SecValKeya->clear();
    Ed_SecValKeya->addItems(items);
    const auto i = items.indexOf(storedValidKey_);
    Ed_SecValKeya->setCurrentIndex(i >= 0 ? static_cast<int>(i) : 0);
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
    Ed_SecAuthaTemp->clear();
    Ed_SecAuthaTemp->addItems(items);
    int i = static_cast<int>(items.indexOf(Ed_SecAutha->currentText()));
    if (onlyWep && !kWepTypes.contains(Ed_SecAutha->currentText()))
        i = -1;
    if (i < 0 && firstWhenMissing && !items.isEmpty())
        i = 0;
    Ed_SecAuthaTemp->setCurrentIndex(i);
    CB_SSIDBcasta->setEnabled(slot != 4);
}

void TFM_Wirless::fillPskCipherItems(int slot) {
    QStringList items;
    if (slot == 1)
        items = {QStringLiteral("Auto"), QStringLiteral("AES")};
    else if (slot == 2)
        items = {QStringLiteral("AES")};
    else
        items = {QStringLiteral("Auto"), QStringLiteral("AES"), QStringLiteral("TKIP")};
    CipherforPSKBox->clear();
    CipherforPSKBox->addItems(items);
    const auto i = items.indexOf(storedCipher_);
    CipherforPSKBox->setCurrentIndex(i >= 0 ? static_cast<int>(i) : 0);
}

// --- Checks on Apply ---

bool TFM_Wirless::primarySsidUnique() {
    if (CB_MultEnable->currentText() != QLatin1String("Enable"))
        return true;
    for (int r = 1; r < LV_Multi2->topLevelItemCount(); ++r) {
        const QTreeWidgetItem* row = LV_Multi2->topLevelItem(r);
        if (row->text(tw::kSsidColumnState).contains(QLatin1String("Enable")) &&
            row->text(tw::kSsidColumnSsid) == Ed_SSIDa->text())
            return pages::refuse(
                QStringLiteral("The 11g Primary SSID's SSID is same as Multi-SSID %1").arg(r),
                QStringLiteral("Warning"), Ed_SSIDa);
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
        Ed_SecEncypa->setCurrentIndex(Ed_SecEncypa->findText(QStringLiteral("Enable")));
    };
    const QString groupKeyRange = QStringLiteral("Please input a number between 300 and 9999999.");
    const QString error = QStringLiteral("Error");
    if (isPersonal(p)) {
        enable();
        sec.item(tw::kSecEncryption).access = QvAccess::readwrite;
        if (!groupKeyInRange(GroupKeyPSKEdit->text())) {
            GroupKeyPSKEdit->clear();
            return pages::refuse(groupKeyRange, error, GroupKeyPSKEdit);
        }
        const auto length = PassPhrasePSKEdit->text().size();
        if (length < 8 || length > 63)
            return pages::refuse(
                QStringLiteral("The length of 802.11g PassPhrase is between 8 and 63."), error,
                PassPhrasePSKEdit);
        for (int i = 0; i < passPhrase_->vars.count(); ++i)
            passPhrase_->vars.item(i).access = QvAccess::readwrite;
    } else if (isEnterprise(p)) {
        enable();
        sec.item(tw::kSecEncryption).access = QvAccess::readwrite;
        if (!groupKeyInRange(GroupKeyEdit->text())) {
            GroupKeyEdit->clear();
            return pages::refuse(groupKeyRange, error, GroupKeyEdit);
        }
        const QString portRange = QStringLiteral("Please input a number between 1 and 65535.");
        const QString badServer = QStringLiteral("The Radius server's IP is illegal.");
        if (!serverGiven(RadiusServerEdit, RadiusportEdit, badServer, portRange, error))
            return false;
        if (Ed_RaduisSupport->text() == QLatin1String("1") &&
            CB_SecRadiusMode->currentText() == QLatin1String("Enable") &&
            !serverGiven(Ed_SecRadiusServer, Ed_SecRadiusport, badServer, portRange, error))
            return false;
        for (int i = 0; i < primaryRadius_->vars.count(); ++i)
            primaryRadius_->vars.item(i).access = QvAccess::readwrite;
    } else if (isWep(p)) {
        sec.item(tw::kSecEncryption).access = QvAccess::readwrite;
        if (Ed_SecEncypa->currentText() == QLatin1String("Enable")) {
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
        if (CB_AcntEnable->currentText() != QLatin1String("Enable")) {
            acc.item(0).access = QvAccess::readwrite;
            acc.item(1).access = QvAccess::invalid;
            acc.item(2).access = QvAccess::invalid;
        } else {
            const QString warning = QStringLiteral("Warning");
            const QString badServer = QStringLiteral("The Accountings server's IP is illegal");
            const QString badPort = QStringLiteral("The range of Accounting Port is (1-65535)");
            if (!serverGiven(Ed_AcntServer, Ed_AcntPort, badServer, badPort, warning))
                return false;
            if (Ed_AccountSupport->text() == QLatin1String("1") &&
                CB_SecAccountMode->currentText() == QLatin1String("Enable") &&
                !serverGiven(Ed_SecAccountServer, Ed_SecAccountPort, badServer, badPort, warning))
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
    const int type = Ed_KeyType->currentIndex();
    const int size = Ed_KeySize->currentIndex();
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
    if (!Ed_SecValKeya->isEnabled() || Ed_SecAuthaTemp->currentIndex() > 2 ||
        Ed_SecAuthaTemp->currentIndex() < 0)
        return true;
    for (int n = 0; n < tw::kGuests; ++n) {
        if (Ed_SecValKeya->currentIndex() == GuestKeyIndex_ComboBox[n]->currentIndex() &&
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
    const QString auth = Ed_SecAuthaTemp->currentText();
    const bool openOrShared =
        auth == QLatin1String("Open System") || auth == QLatin1String("Shared Key");
    // "Disable" is the fourth Super G entry where there are four; with three entries it is the
    // third, and its text says what is meant.
    const bool superGOff = AD_SuperMode->currentText() == QLatin1String("Disable");
    if (ED_APModeTempComboBox->currentIndex() != 0 || !superGOff) {
        disable(Master_ComboBox);
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
    if (newMulti_ != 1 || CB_MultEnable->currentText() != QLatin1String("Enable") ||
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
    const int rows = LV_Multi2->topLevelItemCount();
    const auto col = [this](int r, int c) { return LV_Multi2->topLevelItem(r)->text(c); };
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
                QLineEdit* source = isEnterprise(p) ? GroupKeyEdit : GroupKeyPSKEdit;
                QLineEdit* copy = isEnterprise(p) ? GroupKeyPSKEdit : GroupKeyEdit;
                if (source->text() != storedGroupKey_ && !storedGroupKey_.isEmpty()) {
                    groupKeyShared = true;
                    storedGroupKey_ = source->text();
                    copy->setText(source->text());
                    break;
                }
            }
        }
    } else if (Ed_SecEncypa->currentText() == enable) {
        // 3. A WEP key another SSID uses.
        for (int r = 1; r < rows; ++r) {
            const QString auth = col(r, tw::kSsidColumnAuth);
            if (col(r, tw::kSsidColumnKeyIndex) == Ed_SecValKeya->currentText() &&
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
