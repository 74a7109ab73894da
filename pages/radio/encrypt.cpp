#include "pages/radio/encrypt.h"

#include "app/module_texts.h"
#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/edit_state.h"
#include "pages/common/messages.h"
#include "pages/common/selection.h"
#include "pages/common/wep_keys.h"
#include "platform/prompter.h"
#include "tables/encrypt.h"

namespace te = tables::encrypt;
namespace msg = pages::msg;

namespace {
constexpr int kSecurityTimeout = 5000;
constexpr qint64 kIntervalMin = 300;
constexpr qint64 kIntervalMax = 9999999;
constexpr int kPassPhraseMin = 8;
constexpr int kPassPhraseMax = 63;
// Code base without the DNS settings of the security server.
const QString kCodeBaseWithoutDns = QStringLiteral("3.3.0.156");
const QString kEnable = QStringLiteral("Enable");
const QString kHex = QStringLiteral("HEX");

const QStringList kAccessPointAuthentications = {
    QStringLiteral("Open System"), QStringLiteral("Shared Key"),
    QStringLiteral("Open System / Shared Key"), QStringLiteral("WPA-Personal"),
    QStringLiteral("WPA-Enterprise")};
constexpr int kBridgeAuthentications = 3; // the first three: no WPA between bridges
} // namespace

TFM_Encrypt::TFM_Encrypt(QWidget* owner) : FormPage(owner) {
    hexKeys_ = {ui->Ed_Key1a, ui->Ed_Key2a, ui->Ed_Key3a, ui->Ed_Key4a};
    asciiKeys_ = {ui->Ed_Key1t, ui->Ed_Key2t, ui->Ed_Key3t, ui->Ed_Key4t};
    // The second radio's tab stays hidden: the module manages radio instance 1.
    ui->PC_Encryption->setTabVisible(ui->PC_Encryption->indexOf(ui->TS_80211g), false);
    ui->Ed_RadiusSec->setEchoMode(QLineEdit::Password);
    // The operator's choices: values shown from the device run no rule of their own.
    handle(ui->CB_SecAutha, &QComboBox::activated, &TFM_Encrypt::CB_SecAuthaChange);
    handle(ui->CB_SecEncypa, &QComboBox::activated, &TFM_Encrypt::CB_SecAuthaChange);
    handle(ui->CB_KeyTypeA, &QComboBox::activated, &TFM_Encrypt::CB_KeyTypeAChange);
    handle(ui->CB_KeySizeA, &QComboBox::activated, &TFM_Encrypt::CB_KeyTypeAChange);
    handle(ui->CB_SecValKeya, &QComboBox::activated, &TFM_Encrypt::CB_KeyTypeAChange);
    handle(ui->Bt_Apply, &QPushButton::clicked, &TFM_Encrypt::Bt_ApplyClick);
    handle(ui->Bt_Ref, &QPushButton::clicked, &TFM_Encrypt::Bt_RefClick);
    handle(ui->Bt_Cancel, &QPushButton::clicked, &TFM_Encrypt::Bt_CancelClick);
    guard([this] { FormCreate(); });
}

void TFM_Encrypt::FormCreate() {
    ui->PC_Encryption->setTabText(ui->PC_Encryption->indexOf(ui->TS_80211a),
                                  QString::fromLatin1(app::kBandName));
    security_ = addRequest(te::kSecurity,
                           {.kind = MVT_SV, .status = ui->StatusBar, .timeout = kSecurityTimeout});
    pages::bind(*security_, {{te::kAuthentication, ui->CB_SecAutha},
                             {te::kEncryption, ui->CB_SecEncypa},
                             {te::kValidKey, ui->CB_SecValKeya}});
    for (int k = 0; k < te::kKeys; ++k)
        security_->BindFormat(te::kFirstKey + k, QStringLiteral("%s"), hexKeys_[k]);
    apMode_ = addRequest(te::kApModeList, {.kind = MVT_SV});
    pages::bind(*apMode_, {{te::kApModeValue, ui->CB_11a_APM}});
    codeBase_ = addRequest(te::kCodeBase);
    pages::bind(*codeBase_, {{te::kCodeBaseValue, ui->Codebase}});
    // Read before the rules copy the RADIUS server into its visible field.
    server_ = addRequest(te::kSecurityServer, {.kind = MVT_SV});
    pages::bind(*server_, {{te::kDnsIp, ui->Ed_DNSIP},
                           {te::kDnsName, ui->Ed_DNS},
                           {te::kRadiusServer, ui->Ed_RadiusSrv},
                           {te::kRadiusPort, ui->Ed_RadiusPort, QStringLiteral("%u{n1x65535}")},
                           {te::kRadiusSecret, ui->Ed_RadiusSec}});

    security_->Refresh();
    server_->Refresh();
    apMode_->Refresh();
    if (codeBase_->Refresh() && ui->Codebase->text() == kCodeBaseWithoutDns) {
        for (QWidget* w : std::initializer_list<QWidget*>{ui->Label22, ui->Label23, ui->Ed_DNSIP,
                                                          ui->Label24, ui->Ed_DNS})
            w->setVisible(false);
    }
    storedAuthentication_ = ui->CB_SecAutha->currentText();
    keySizeFromValidKey();

    passPhrase_ = addRequest(te::kPassPhraseA, {.kind = MVT_SV, .timeout = kSecurityTimeout});
    pages::bind(*passPhrase_, {{te::kPassPhrase, ui->Ed_PassPha},
                               {te::kCipher, ui->CB_CipherTypea},
                               {te::kGroupKeyInterval, ui->Ed_GKUIa, QStringLiteral("%u")}});
    passPhrase_->Refresh();

    keyMask();
    authenticationItems();
    securityRule();
}

int TFM_Encrypt::authenticationClass() const {
    const int i = kAccessPointAuthentications.indexOf(ui->CB_SecAutha->currentText());
    return i < 0 ? 0 : i;
}

void TFM_Encrypt::authenticationItems() {
    const QString remembered = ui->CB_SecAutha->currentText();
    const bool accessPoint = ui->CB_11a_APM->currentIndex() == 0;
    const QSignalBlocker quiet(ui->CB_SecAutha);
    ui->CB_SecAutha->clear();
    // Same positions as the authentication values 1-5, so the binding writes the right one.
    ui->CB_SecAutha->addItems(accessPoint
                                  ? kAccessPointAuthentications
                                  : kAccessPointAuthentications.mid(0, kBridgeAuthentications));
    ui->CB_SecAutha->setCurrentIndex(ui->CB_SecAutha->findText(remembered));
}

// The device reads its keys back masked, one "*" per digit: the valid key's length tells the
// key size.
void TFM_Encrypt::keySizeFromValidKey() {
    const int valid = ui->CB_SecValKeya->currentIndex();
    if (valid < 0 || valid >= te::kKeys)
        return;
    const int hexType = 0;
    for (int size = 0; size < ui->CB_KeySizeA->count(); ++size)
        if (hexKeys_[valid]->text().size() == pages::wepKeyLength(hexType, size))
            ui->CB_KeySizeA->setCurrentIndex(size);
}

// Both forms of every key are masked, the hidden one too: after an ASCII key went out as its
// digits, the digits must not stay behind to be sent again by the next Apply.
void TFM_Encrypt::keyMask() {
    const bool hex = ui->CB_KeyTypeA->currentText() == kHex;
    const int size = ui->CB_KeySizeA->currentIndex();
    const int hexLength = pages::wepKeyLength(0, size);
    const int asciiLength = pages::wepKeyLength(1, size);
    for (int k = 0; k < te::kKeys; ++k) {
        hexKeys_[k]->setVisible(hex);
        asciiKeys_[k]->setVisible(!hex);
        QvEditHooks::of(*hexKeys_[k]).setMaxLength(hexLength);
        QvEditHooks::of(*asciiKeys_[k]).setMaxLength(asciiLength);
        hexKeys_[k]->setText(QString(hexLength, QLatin1Char('*')));
        asciiKeys_[k]->setText(QString(asciiLength, QLatin1Char('*')));
    }
}

void TFM_Encrypt::securityRule() {
    QvEditHooks::of(*ui->Ed_RadiusSec).setMaxLength(32);
    QvEditHooks::of(*ui->Ed_RadiusPort).setMaxLength(5);
    QvEditHooks::of(*ui->Ed_DNSIP).setMaxLength(15);
    QvEditHooks::of(*ui->Ed_DNS).setMaxLength(32);
    QvEditHooks::of(*ui->Ed_RadiusSrv2).setMaxLength(15);
    QvEditHooks::of(*ui->Ed_GKUIa).setMaxLength(7);
    ui->Ed_RadiusSrv2->setText(ui->Ed_RadiusSrv->text().isEmpty() ? msg::kFreeAddress
                                                                  : ui->Ed_RadiusSrv->text());

    const int authClass = authenticationClass();
    const bool wep = authClass <= 2;
    if (authClass == 1 || !wep)
        ui->CB_SecEncypa->setCurrentText(kEnable);
    const bool encrypting = ui->CB_SecEncypa->currentText() == kEnable;
    ui->CB_SecEncypa->setEnabled(authClass == 0 || authClass == 2);
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->CB_KeyTypeA, ui->CB_KeySizeA, ui->CB_SecValKeya})
        w->setEnabled(wep && encrypting);
    for (int k = 0; k < te::kKeys; ++k) {
        pages::setWritable(hexKeys_[k], wep && encrypting);
        pages::setWritable(asciiKeys_[k], wep && encrypting);
    }
    pages::setWritable(ui->Ed_PassPha, authClass == 3);
    ui->CB_CipherTypea->setEnabled(!wep);
    pages::setWritable(ui->Ed_GKUIa, !wep);
    for (QLineEdit* e :
         {ui->Ed_DNSIP, ui->Ed_DNS, ui->Ed_RadiusSrv2, ui->Ed_RadiusPort, ui->Ed_RadiusSec})
        pages::setWritable(e, authClass == 4);
}

void TFM_Encrypt::CB_SecAuthaChange() {
    securityRule();
}

void TFM_Encrypt::CB_KeyTypeAChange() {
    keyMask();
}

bool TFM_Encrypt::securityServerFits() {
    ui->Ed_RadiusSrv->setText(ui->Ed_RadiusSrv2->text());
    const bool dnsShown = !ui->Ed_DNSIP->isHidden();
    const QString dns = ui->Ed_DNSIP->text();
    if (dnsShown && dns != msg::kFreeAddress) {
        if (!qv::isHostAddress(dns))
            return pages::refuseAndClear(QStringLiteral("Please input valid IP Address"),
                                         msg::kWaring, ui->Ed_DNSIP);
        if (dns.size() < 7)
            return pages::refuse(QStringLiteral("Please input valid IP."), msg::kError);
    }
    if (!qv::isHostAddress(ui->Ed_RadiusSrv2->text()))
        return pages::refuse(QStringLiteral("The Radius server's IP is illegal."), msg::kError,
                             ui->Ed_RadiusSrv2);
    if (ui->Ed_RadiusPort->text().isEmpty())
        return pages::refuse(msg::numberBetween(1, 65535), msg::kError, ui->Ed_RadiusPort);
    for (int i : {te::kDnsIp, te::kDnsName})
        server_->vars.item(i).access = dnsShown ? QvAccess::readwrite : QvAccess::invalid;
    return true;
}

bool TFM_Encrypt::groupKeyIntervalFits() {
    const qint64 interval = ui->Ed_GKUIa->text().toLongLong();
    if (interval < kIntervalMin || interval > kIntervalMax)
        return pages::refuseAndClear(msg::numberBetween(kIntervalMin, kIntervalMax), msg::kError,
                                     ui->Ed_GKUIa);
    return true;
}

// The four keys must have the length of their type and size. ASCII keys the operator typed go
// to the device as hexadecimal digits; a key still masked is neither decoded nor sent.
bool TFM_Encrypt::keysFit() {
    const int type = ui->CB_KeyTypeA->currentIndex();
    const int size = ui->CB_KeySizeA->currentIndex();
    const bool hex = ui->CB_KeyTypeA->currentText() == kHex;
    const auto& typed = hex ? hexKeys_ : asciiKeys_;
    for (int k = 0; k < te::kKeys; ++k)
        if (typed[k]->text().size() != pages::wepKeyLength(type, size))
            return pages::refuse(pages::wepKeyLengthMessage(k, type, size), msg::kWarning);
    if (!hex) {
        for (int k = 0; k < te::kKeys; ++k) {
            if (pages::isMaskedKey(asciiKeys_[k]->text()))
                continue;
            const std::optional<QString> digits = pages::asciiToHex(asciiKeys_[k]->text());
            if (!digits) {
                // A character beyond one byte has no two-digit code.
                platform::message(QString(), msg::kHexDigits);
                asciiKeys_[k]->clear();
                return false;
            }
            hexKeys_[k]->setText(*digits);
        }
    }
    for (int k = 0; k < te::kKeys; ++k) {
        const QString key = hexKeys_[k]->text();
        if (pages::isMaskedKey(key))
            continue;
        if (!pages::isHexText(key)) {
            platform::message(QString(), msg::kHexDigits);
            hexKeys_[k]->clear();
            return false;
        }
        security_->vars.item(te::kFirstKey + k).access = QvAccess::readwrite;
    }
    return true;
}

void TFM_Encrypt::Bt_ApplyClick() {
    // Whatever this Apply leaves out or refuses, the next Refresh reads every item again.
    struct ReadAllAgain {
        TFM_Encrypt* page;
        ~ReadAllAgain() { page->readAllAgain(); }
    } readAgain{this};
    const int authClass = authenticationClass();
    if (authClass == 4 && !securityServerFits())
        return;
    for (int i = 0; i < security_->vars.count(); ++i)
        security_->vars.item(i).access = QvAccess::invalid;
    for (int i = 0; i < passPhrase_->vars.count(); ++i)
        passPhrase_->vars.item(i).access = QvAccess::invalid;
    // Only WPA has a group key: a WEP device may hold no interval at all.
    if (authClass >= 3 && !groupKeyIntervalFits())
        return;
    if (!pages::selectionsMade({ui->CB_SecAutha}))
        return;

    auto include = [](QvSNMPRequest2Edits* request, std::initializer_list<int> items) {
        for (int i : items)
            request->vars.item(i).access = QvAccess::readwrite;
    };
    switch (authClass) {
    case 3:
        if (ui->Ed_PassPha->text().size() < kPassPhraseMin ||
            ui->Ed_PassPha->text().size() > kPassPhraseMax)
            return void(pages::refuse(
                QStringLiteral("The length of 802.11g PassPhrase is between 8 and 63."),
                msg::kError));
        include(security_, {te::kAuthentication});
        include(passPhrase_, {te::kPassPhrase, te::kCipher, te::kGroupKeyInterval});
        break;
    case 4:
        include(security_, {te::kAuthentication});
        include(passPhrase_, {te::kCipher, te::kGroupKeyInterval});
        break;
    default:
        if (!pages::selectionsMade({ui->CB_SecEncypa, ui->CB_SecValKeya}))
            return;
        include(security_, {te::kAuthentication, te::kEncryption, te::kValidKey});
        if (ui->CB_SecEncypa->currentText() == kEnable && !keysFit())
            return;
        break;
    }
    if (authClass >= 3 && !pages::selectionsMade({ui->CB_CipherTypea}))
        return;

    const bool ok = writeSecurity(authClass);
    if (ok) {
        storedAuthentication_ = ui->CB_SecAutha->currentText();
        pages::waitForRestartUnlessSaved(this, [](TFM_Waiting& wait) {
            wait.ticksBeforeReboot = 5;
            wait.secondsLeft = 20;
        });
    }
    pages::showStatus(ui->StatusBar, ok ? msg::kSettingSuccess : QStringLiteral("Setting error!"));
    keyMask();
}

// The security list, then the pass phrase (WPA), then the security server (WPA-Enterprise),
// each only after the one before succeeded, all waited for.
bool TFM_Encrypt::writeSecurity(int authClass) {
    for (int i = 0; i < server_->vars.count(); ++i)
        if (authClass != 4)
            server_->vars.item(i).access = QvAccess::invalid;
    return pages::writeInOrder(
        {{security_}, {passPhrase_, authClass >= 3}, {server_, authClass == 4}});
}

void TFM_Encrypt::readAllAgain() {
    for (int i = 0; i < te::kKeys; ++i)
        security_->vars.item(te::kFirstKey + i).access = QvAccess::readwrite;
    for (int i : {te::kAuthentication, te::kEncryption, te::kValidKey})
        security_->vars.item(i).access = QvAccess::readwrite;
    for (int i = 0; i < passPhrase_->vars.count(); ++i)
        passPhrase_->vars.item(i).access = QvAccess::readwrite;
    for (int i = 0; i < server_->vars.count(); ++i)
        server_->vars.item(i).access = QvAccess::readwrite;
}

void TFM_Encrypt::Bt_RefClick() {
    security_->Refresh();
    server_->Refresh();
    authenticationItems();
    ui->CB_SecAutha->setCurrentIndex(ui->CB_SecAutha->findText(storedAuthentication_));
    keySizeFromValidKey();
    passPhrase_->Refresh();
    securityRule();
    keyMask();
}

void TFM_Encrypt::Bt_CancelClick() {
    close();
}
