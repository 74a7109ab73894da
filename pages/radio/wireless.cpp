#include "pages/radio/wireless.h"

#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/channels.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"
#include "tables/wireless.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>

namespace tw = tables::wireless;

QString TFM_Wirless::savedChannel;

TFM_Wirless::TFM_Wirless(QWidget* owner) : FormPage(owner) {
    StatusPanel = pages::addStatusPanel(ui->StatusBar);
    Ed_Keya = {ui->Ed_Key1a, ui->Ed_Key2a, ui->Ed_Key3a, ui->Ed_Key4a};
    CB_MultEncyt = {ui->CB_MultEncyt1, ui->CB_MultEncyt2, ui->CB_MultEncyt3, ui->CB_MultEncyt4,
                    ui->CB_MultEncyt5, ui->CB_MultEncyt6, ui->CB_MultEncyt7};
    CB_MultiAuth = {ui->CB_MultiAuth1, ui->CB_MultiAuth2, ui->CB_MultiAuth3, ui->CB_MultiAuth4,
                    ui->CB_MultiAuth5, ui->CB_MultiAuth6, ui->CB_MultiAuth7};
    Guest_ComboBox = {ui->Guest1_ComboBox, ui->Guest2_ComboBox, ui->Guest3_ComboBox};
    GuestEncry_ComboBox = {ui->GuestEncry1_ComboBox, ui->GuestEncry2_ComboBox,
                           ui->GuestEncry3_ComboBox};
    GuestKeyIndex_ComboBox = {ui->GuestKeyIndex1_ComboBox, ui->GuestKeyIndex2_ComboBox,
                              ui->GuestKeyIndex3_ComboBox};
    Ed_ReMAddra = {ui->Ed_ReMAddra0, ui->Ed_ReMAddra1, ui->Ed_ReMAddra2, ui->Ed_ReMAddra3,
                   ui->Ed_ReMAddra4, ui->Ed_ReMAddra5, ui->Ed_ReMAddra6, ui->Ed_ReMAddra7};

    // The second radio stays hidden: the module manages radio instance 1 only.
    ui->PC_Wirless->setTabVisible(1, false);
    ui->PC_Wirless->setTabEnabled(1, false);
    ui->PC_Wirless->setTabText(0, QStringLiteral("IEEE 802.11g"));
    ui->CB_SuperMode_jp->addItems({QStringLiteral("Disable"), QStringLiteral("Enable")});
    // The survey's hidden columns keep width 0.
    ui->SiteServeyListView->header()->setMinimumSectionSize(0);
    ui->SiteServeyListView->header()->setStretchLastSection(false);

    handle(ui->Bt_Apply, &QPushButton::clicked, &TFM_Wirless::Bt_ApplyClick);
    handle(ui->Bt_Refresh, &QPushButton::clicked, &TFM_Wirless::Bt_RefreshClick);
    handle(ui->Bt_Close, &QPushButton::clicked, &TFM_Wirless::Bt_CloseClick);
    handle(ui->CB_Chana, &QComboBox::activated, &TFM_Wirless::CB_ChanaChange);
    handle(ui->AD_SuperMode, &QComboBox::activated, &TFM_Wirless::AD_SuperModeChange);
    handle(ui->CB_SuperMode_jp, &QComboBox::activated, &TFM_Wirless::CB_SuperMode_jpChange);
    handle(ui->CB_AuSc, &QCheckBox::clicked, &TFM_Wirless::CB_AuScChange);
    handle(ui->ED_APModeTempComboBox, &QComboBox::activated,
           &TFM_Wirless::ED_APModeTempComboBoxtestChange);
    handle(ui->Ed_SecAuthaTemp, &QComboBox::activated, &TFM_Wirless::Ed_SecAuthaTempChange);
    handle(ui->Ed_SecAutha, &QComboBox::activated, &TFM_Wirless::Ed_SecAuthaChange);
    handle(ui->Ed_SecEncypa, &QComboBox::activated, &TFM_Wirless::Ed_SecEncypaChange);
    handle(ui->Ed_KeyType, &QComboBox::activated, &TFM_Wirless::Ed_KeyTypeChange);
    handle(ui->Ed_KeySize, &QComboBox::activated, &TFM_Wirless::Ed_KeySizeChange);
    handle(ui->Ed_SecValKeya, &QComboBox::activated, &TFM_Wirless::Ed_SecValKeyaChange);
    handle(ui->CB_AcntEnable, &QComboBox::activated, &TFM_Wirless::CB_AcntEnableChange);
    handle(ui->CB_SecRadiusMode, &QComboBox::activated, &TFM_Wirless::CB_SecRadiusModeChange);
    handle(ui->CB_SecAccountMode, &QComboBox::activated, &TFM_Wirless::CB_SecAccountModeChange);
    handle(ui->SiteScan, &QPushButton::clicked, &TFM_Wirless::SiteScanClick);
    handle(ui->SiteServeyListView, &QTreeWidget::itemClicked,
           &TFM_Wirless::SiteServeyListViewClick);

    // Construction: SSIDs at most 32 characters, accounting hidden until the device offers it.
    QvEditHooks::of(*ui->Ed_SSIDa).setMaxLength(32);
    QvEditHooks::of(*ui->Ed_SSIDg).setMaxLength(32);
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->CB_AcntEnable, ui->Ed_AcntServer, ui->Ed_AcntPort,
                                         ui->Label25, ui->Label5, ui->Label26})
        w->hide();
    keepOpenWhile([this] { return !surveyIdle; });
    FormCreate();
}

TFM_Wirless::~TFM_Wirless() = default;

bool TFM_Wirless::FormCloseQuery() {
    return pages::Page::FormCloseQuery();
}

void TFM_Wirless::Bt_CloseClick() {
    close();
}

// --- Opening ---

void TFM_Wirless::FormCreate() {
    rogue_ = pages::flag(pages::flags::Ed_Rogue);
    turbo_ = pages::flag(pages::flags::ED_Turbomode);
    apModeMask_ = pages::flag(pages::flags::APModeSupport);
    wdsSite_ = pages::flag(pages::flags::Ed_spWDSSite);
    newMulti_ = pages::flag(pages::flags::NewMultiSupport);
    mssidAndWds_ = pages::flag(pages::flags::Ed_MssidAndWdssupport);
    keyTypeSup_ = pages::flag(pages::flags::Ed_KeyTypeSup);
    spAccounting_ = pages::flag(pages::flags::Ed_spAccounting);
    fwVer_ = pages::flagText(pages::flags::Ed_FwVer);
    fullLayout = pages::flagText(pages::flags::ifMultiSSID_Edit) == QLatin1String("1");

    // The radio list and the lists every layout has.
    radio_ = addRequest(tw::kRadio, {.kind = MVT_SV, .status = ui->StatusBar});
    bgMode_ = addRequest(tw::kBgModeList);
    bgMode_->BindComboBox(0, ui->CB_bgModea);
    if (rogue_ == 0 || rogue_ == 1) {
        superG_ = addRequest(rogue_ == 0 ? std::span(tw::kSuperG0) : std::span(tw::kSuperG1));
        superG_->BindComboBox(0, ui->AD_SuperMode);
    }
    // A display string: "%s" keeps the blanks between the channels.
    dynChannels_ = addRequest(tw::kDynamicChannels);
    dynChannels_->BindFormat(0, "%s", ui->Ed_DynChLista);
    statChannels_ = addRequest(tw::kStaticChannels);
    statChannels_->BindFormat(0, "%s", ui->Ed_StatChLista);
    radioOnOff_ = addRequest(tw::kRadioOnOff, {.kind = MVT_SV});
    radioOnOff_->BindComboBox(0, ui->CbxRadio);
    multiOverWds_ = addRequest(tw::kMultiOverWds, {.kind = MVT_SV});
    multiOverWds_->timeout = 5000;
    multiOverWds_->BindComboBox(0, ui->CB_gmultioverwds);

    // 1. Layout, with the lists of the full layout.
    if (fullLayout) {
        try {
            fullLayoutLists();
        } catch (const QvException&) {
            // The page opens with what was built.
        }
    } else {
        compactLayout();
    }

    try {
        // 2. Radio list: the visible tab's controls only.
        radio_->BindFormat(0, "%s", ui->Ed_SSIDa);
        radio_->BindComboBox(1, ui->CB_SSIDBcasta);
        radio_->BindFormat(2, "%s", ui->Ed_Chana);
        radio_->BindFormat(3, "%s", ui->Ed_ChanLista);
        radio_->BindFormat(4, "%s", ui->Ed_RaFreqa);
        for (int i = tw::kRadioInstanceItems; i < radio_->vars.count(); ++i)
            radio_->vars.item(i).access = QvAccess::invalid;
        readRadio();

        // 3. b/g mode decides which Super G selector is in charge.
        if (bgMode_->Refresh()) {
            if (ui->CB_bgModea->currentText() == QLatin1String("11b only")) {
                if (turbo_ != 0) {
                    ui->AD_SuperMode->setCurrentIndex(2);
                    ui->AD_SuperMode->setEnabled(false);
                } else {
                    ui->CB_SuperMode_jp->setCurrentIndex(0);
                    ui->CB_SuperMode_jp->setEnabled(false);
                }
            } else {
                ui->AD_SuperMode->setEnabled(turbo_ != 0);
                ui->CB_SuperMode_jp->setEnabled(turbo_ == 0);
            }
        }
        // 4. Super G.
        if (superG_)
            superG_->Refresh();
        if (turbo_ == 0)
            mirrorSuperMode();
        // 5. The two Super G channel lists.
        readChannelLists();
        // 6. Radio again, radio on/off, multi over WDS.
        readRadio();
        radioOnOff_->Refresh();
        multiOverWds_->Refresh();
        // 7.
        AD_SuperModeChange();
        ED_APModeTempComboBoxtestChange();
        pages::fillChannelCombo(ui->CB_Chang, ui->Ed_ChanListg->text(), ui->Ed_Chang->text());
        QvEditHooks::of(*ui->Ed_SSIDa).setMaxLength(32);
        QvEditHooks::of(*ui->Ed_SSIDg).setMaxLength(32);
    } catch (const std::exception& e) {
        pages::showStatus(ui->StatusBar, QString::fromUtf8(e.what()));
    }
}

void TFM_Wirless::compactLayout() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui->CB_AuSc, ui->GroupBox1, ui->GroupBox2, ui->GroupBox3, ui->Authentication,
             ui->Ed_SecAutha, ui->Ed_SecAuthaTemp, ui->GroupBox4, ui->GroupBox5, ui->GroupBox6,
             ui->GroupBox7, ui->ED_ApMode, ui->ED_APModeTempComboBox})
        w->hide();
}

void TFM_Wirless::fullLayoutLists() {
    // Auto channel scan: offered when the device answers for it (a device without it is not
    // at fault, so its absence is not reported).
    autoScan_ = addRequest(tw::kAutoChannelScan, {.kind = MVT_SV});
    autoScan_->silentFailures = true;
    autoScan_->BindControl(0, ui->CB_AuSc);
    autoScanSupported = autoScan_->Refresh();
    ui->CB_AuSc->setVisible(autoScanSupported);

    buildApModeList();
    buildSecurityLists();
    buildSurveyLists();
    buildMultiSecurityLists();
    keySizeAndTypeItems();

    QvEditHooks::of(*ui->Ed_SSIDa).setMaxLength(32);
    QvEditHooks::of(*ui->Ed_SSID).setMaxLength(32);
    for (QLineEdit* e : Ed_ReMAddra)
        QvEditHooks::of(*e).setMaxLength(12);
    QvEditHooks::of(*ui->Ed_RoMAddra0).setMaxLength(12);
    for (QLineEdit* e : {ui->GroupKeyEdit, ui->GroupKeyPSKEdit})
        QvEditHooks::of(*e).setMaxLength(7);
    for (QLineEdit* e :
         {ui->RadiusServerEdit, ui->Ed_SecRadiusServer, ui->Ed_SecAccountServer, ui->Ed_AcntServer})
        QvEditHooks::of(*e).setMaxLength(15);
    for (QLineEdit* e : {ui->RadiusSecretEdit, ui->Ed_SecRadiusSecret, ui->PassPhrasePSKEdit})
        QvEditHooks::of(*e).setMaxLength(64);
    for (QLineEdit* e :
         {ui->RadiusportEdit, ui->Ed_SecRadiusport, ui->Ed_SecAccountPort, ui->Ed_AcntPort})
        QvEditHooks::of(*e).setMaxLength(5);

    apModeSelectorFill();
    modeLayout();
    securitySectionRule();
    asciiKeyDisplay();
}

// Reads the radio list; the device's channel is the saved channel. A device without a channel
// list gets channels 1 to 11, so that Apply never writes an empty channel.
void TFM_Wirless::readRadio() {
    radio_->Refresh();
    savedChannel = ui->Ed_Chana->text();
    if (ui->Ed_ChanLista->text().isEmpty())
        ui->Ed_ChanLista->setText(pages::kDefaultChannelList);
}

void TFM_Wirless::readChannelLists() {
    if (!dynChannels_->Refresh())
        ui->Ed_DynChLista->setText(QStringLiteral("6"));
    if (!statChannels_->Refresh())
        ui->Ed_StatChLista->setText(QStringLiteral("6"));
}

bool TFM_Wirless::fillChannels(QLineEdit* list, QComboBox* combo, QLineEdit* value) {
    return pages::fillChannelCombo(combo, list->text(), value->text());
}

// The hidden Japanese selector shows the Super G entry of the same text, else "Enable".
void TFM_Wirless::mirrorSuperMode() {
    const int i = ui->CB_SuperMode_jp->findText(ui->AD_SuperMode->currentText());
    ui->CB_SuperMode_jp->setCurrentIndex(i >= 0 ? i : ui->CB_SuperMode_jp->findText("Enable"));
}

// --- Radio handlers ---

void TFM_Wirless::CB_ChanaChange() {
    savedChannel = ui->CB_Chana->currentText();
}

void TFM_Wirless::CB_SuperMode_jpChange() {
    const int i = ui->AD_SuperMode->findText(ui->CB_SuperMode_jp->currentText());
    ui->AD_SuperMode->setCurrentIndex(i >= 0 ? i : 0);
    AD_SuperModeChange();
}

void TFM_Wirless::CB_AuScChange() {
    ui->CB_Chana->setEnabled(!ui->CB_AuSc->isChecked());
}

// The channel list follows the Super G mode: turbo modes have their own channels.
void TFM_Wirless::AD_SuperModeChange() {
    const int i = ui->AD_SuperMode->currentIndex();
    QLineEdit* list = nullptr;
    if (rogue_ == 0) {
        list = i == 1 ? ui->Ed_StatChLista : i == 2 ? ui->Ed_DynChLista : ui->Ed_ChanLista;
    } else if (rogue_ == 1) {
        list = i == 1 ? ui->Ed_DynChLista : ui->Ed_ChanLista;
    }
    if (list) {
        if (list == ui->Ed_ChanLista)
            ui->Ed_Chana->setText(savedChannel);
        if (!fillChannels(list, ui->CB_Chana, ui->Ed_Chana) && ui->CB_Chana->count() > 0)
            ui->CB_Chana->setCurrentIndex(0);
    }
    const int disableIndex = rogue_ == 0 ? 3 : 2;
    if (newMulti_ == 1 && ui->CB_MultEnable && ui->CB_MultEnable->currentIndex() == 1 &&
        ui->AD_SuperMode->currentIndex() != disableIndex)
        platform::message(QStringLiteral("Warning"),
                          QStringLiteral("If AP Mode is not \"Access Point\" or Super G is not "
                                         "\"Disable\",\nThe Multi-SSID should be set to "
                                         "\"Disabled\"."));
}

// --- Refresh ---

void TFM_Wirless::Bt_RefreshClick() {
    ui->Bt_Refresh->setEnabled(false);
    try {
        readRadio();
        if (superG_)
            superG_->Refresh();
        readChannelLists();
        radioOnOff_->Refresh();
        if (fullLayout) {
            if (autoScanSupported)
                autoScan_->Refresh();
            // Items a previous Apply left out of its write are read again.
            radio_->vars.item(tw::kRadioSsid).access = QvAccess::readwrite;
            for (int i = 1; i <= tw::kRemoteMacs; ++i)
                apMode_->vars.item(i).access = QvAccess::readwrite;
            apMode_->Refresh();
            readSecurityAtRefresh();
            if (deviceMode() == 3 || deviceMode() == 4) {
                surveyTable_->rowNumber = 1;
                surveyTable_->Refresh();
                ui->SiteServeyListView->setColumnHidden(0, true);
            }
            macDisplayRule();
            keyFieldsRule();
            keyLengths();
            apModeSelectorFill();
            modeLayout();
            securitySectionRule();
            asciiKeyDisplay();
        }
        AD_SuperModeChange();
        ED_APModeTempComboBoxtestChange();
        pages::fillChannelCombo(ui->CB_Chang, ui->Ed_ChanListg->text(), ui->Ed_Chang->text());
    } catch (const std::exception& e) {
        pages::showStatus(ui->StatusBar, QString::fromUtf8(e.what()));
    }
    ui->Bt_Refresh->setEnabled(true);
}

// --- Apply ---

void TFM_Wirless::Bt_ApplyClick() {
    const auto stop = [this] {
        if (fullLayout)
            macDisplayRule();
    };
    // 1. Bridge modes carry only the security a bridge link can use.
    if (fullLayout) {
        const int mode = deviceMode();
        if (mode == 1 || mode == 2 || mode == 5 || mode == 6) {
            const int p = ui->Ed_SecAutha->currentIndex();
            const bool keep = rogue_ == 1   ? (p <= 3 || p == 5 || p == 7)
                              : rogue_ == 0 ? (p <= 2)
                                            : true;
            if (!keep)
                ui->Ed_SecAutha->setCurrentIndex(0);
        }
    }
    // 2-4. The SSID.
    if (ui->Ed_SSIDa->text().size() > 32 || ui->Ed_SSIDg->text().size() > 32)
        return stop(), void(pages::refuse(QStringLiteral("The Max Length of SSID is 32.!"),
                                          QStringLiteral("Warning")));
    if (ui->Ed_SSIDa->text().isEmpty())
        return stop(),
               void(pages::refuse(QStringLiteral("Please Input SSID."), QStringLiteral("Warning")));
    if (ui->Ed_SSIDa->text().startsWith(QLatin1Char(' ')))
        return stop(), void(pages::refuse(QStringLiteral("The first character can't be blank."),
                                          QStringLiteral("Error"), ui->Ed_SSIDa));
    // 5. The checks of the full layout, in their order.
    if (fullLayout) {
        if (!primarySsidUnique() || !duplicateCheck() || !modeCheck() || !securityCheck())
            return stop();
        if (newMulti_ == 0) {
            if (!guestKeyIndexCheck())
                return stop();
            guestCleanup();
        }
    }
    // 6.
    ui->Ed_Chana->setText(ui->CB_Chana->currentText());
    ui->Ed_Chang->setText(ui->CB_Chang->currentText());
    // 7-8.
    if (fullLayout && !multiSsidConsistency()) {
        pages::showStatus(ui->StatusBar, QStringLiteral("Setting error!"));
        return;
    }
    if (writeAll()) {
        pages::waitForRestartUnlessSaved(this);
        pages::showStatus(ui->StatusBar, QStringLiteral("Setting Success!"));
    } else {
        pages::showStatus(ui->StatusBar, QStringLiteral("Setting error!"));
    }
    // 9.
    Bt_RefreshClick();
}

bool TFM_Wirless::writeAll() {
    if (!fullLayout)
        return pages::writeInOrder({{radio_},
                                    {superG_, superG_ != nullptr},
                                    {autoScan_, autoScanSupported},
                                    {radioOnOff_}});
    const bool enterprise = authPosition() == 4 || authPosition() == 6 || authPosition() == 8;
    return pages::writeInOrder(
        {{radio_},
         {superG_, superG_ != nullptr},
         {apMode_},
         {autoScan_, autoScanSupported},
         {radioOnOff_},
         {[this] { return securityWrite(); }},
         {keyType_, keyTypeSupported && keyType_ != nullptr},
         {accounting_, accountingShown && accounting_ != nullptr},
         {secondaryRadius_, enterprise && secondaryRadius_ != nullptr},
         {secondaryAccounting_, enterprise && secondaryAccounting_ != nullptr}});
}
