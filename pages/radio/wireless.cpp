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
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>

namespace tw = tables::wireless;

QString TFM_Wirless::savedChannel;

namespace {

// Designed geometry of the form; the compact layout takes 480 pixels off its height.
constexpr int kFormWidth = 600;
constexpr int kDesignedPageHeight = 605;
constexpr int kDesignedButtonsTop = 612;
constexpr int kDesignedFormHeight = 687;
constexpr int kCompactShrink = 480;
constexpr int kStatusHeight = 22;

template <class W> W* make(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(x, y, w, h);
    return widget;
}

// A caption for `buddy`; the control is announced with it.
QLabel* caption(QWidget* parent, const char* name, const QString& text, int x, int y,
                QWidget* buddy) {
    auto* label = make<QLabel>(parent, name, x, y, 0, 18);
    label->setText(text);
    label->adjustSize();
    if (buddy) {
        label->setBuddy(buddy);
        buddy->setAccessibleName(text.trimmed());
    }
    return label;
}

QLineEdit* hiddenEdit(QWidget* parent, const char* name) {
    auto* edit = make<QLineEdit>(parent, name, 0, 0, 10, 10);
    edit->hide();
    return edit;
}

QComboBox* hiddenCombo(QWidget* parent, const char* name) {
    auto* combo = make<QComboBox>(parent, name, 0, 0, 10, 10);
    combo->hide();
    return combo;
}

} // namespace

TFM_Wirless::TFM_Wirless(QWidget* owner) : pages::Page(owner) {
    setWindowTitle(QStringLiteral("Home \\ Wireless"));
    buildControls();
    // Construction: SSIDs at most 32 characters, accounting hidden until the device offers it.
    QvEditHooks::of(*Ed_SSIDa).setMaxLength(32);
    QvEditHooks::of(*Ed_SSIDg).setMaxLength(32);
    for (QWidget* w : std::initializer_list<QWidget*>{CB_AcntEnable, Ed_AcntServer, Ed_AcntPort,
                                                      Label25, Label5, Label26})
        w->hide();
    keepOpenWhile([this] { return !surveyIdle; });
    FormCreate();
}

TFM_Wirless::~TFM_Wirless() = default;

void TFM_Wirless::buildControls() {
    setFixedSize(kFormWidth, kDesignedFormHeight);
    PC_Wirless = make<QTabWidget>(this, "PC_Wirless", 0, 0, kFormWidth, kDesignedPageHeight);
    TS_11a = new QWidget;
    TS_11a->setObjectName(QStringLiteral("TS_11a"));
    TS_11g = new QWidget;
    TS_11g->setObjectName(QStringLiteral("TS_11g"));
    PC_Wirless->addTab(TS_11a, QStringLiteral("IEEE 802.11a"));
    PC_Wirless->addTab(TS_11g, QStringLiteral("IEEE 802.11g"));
    // The second radio stays hidden: the module manages radio instance 1 only.
    PC_Wirless->setTabVisible(1, false);
    PC_Wirless->setTabEnabled(1, false);
    PC_Wirless->setTabText(0, QStringLiteral("IEEE 802.11g"));

    QWidget* a = TS_11a;
    Ed_SSIDa = make<QLineEdit>(a, "Ed_SSIDa", 125, 20, 150, 21);
    Label1 = caption(a, "Label1", QStringLiteral("SSID"), 10, 22, Ed_SSIDa);
    ED_APModeTempComboBox = make<QComboBox>(a, "ED_APModeTempComboBox", 125, 48, 150, 22);
    ED_ApMode = caption(a, "ED_ApMode", QStringLiteral("AP Mode"), 10, 52, ED_APModeTempComboBox);
    CB_SSIDBcasta = make<QComboBox>(a, "CB_SSIDBcasta", 125, 78, 150, 22);
    Label2 = caption(a, "Label2", QStringLiteral("SSID Broadcast "), 10, 82, CB_SSIDBcasta);
    AD_SuperMode = make<QComboBox>(a, "AD_SuperMode", 125, 103, 150, 22);
    Label24 = caption(a, "Label24", QStringLiteral("Super G Mode"), 10, 106, AD_SuperMode);
    CB_SuperMode_jp = make<QComboBox>(a, "CB_SuperMode_jp", 125, 103, 150, 22);
    CB_SuperMode_jp->addItems({QStringLiteral("Disable"), QStringLiteral("Enable")});
    for (QWidget* w : std::initializer_list<QWidget*>{AD_SuperMode, Label24, CB_SuperMode_jp})
        w->hide();

    CB_Chana = make<QComboBox>(a, "CB_Chana", 380, 20, 60, 22);
    Label3 = caption(a, "Label3", QStringLiteral("Channel"), 290, 22, CB_Chana);
    Ed_RaFreqa = make<QLineEdit>(a, "Ed_RaFreqa", 445, 22, 40, 18);
    Ed_RaFreqa->setReadOnly(true);
    Ed_RaFreqa->setFrame(false);
    Label9 = caption(a, "Label9", QStringLiteral("GHz"), 487, 22, nullptr);
    Ed_RaFreqa->setAccessibleName(QStringLiteral("Frequency (GHz)"));
    CbxRadio = make<QComboBox>(a, "CbxRadio", 380, 48, 80, 22);
    Lab_Radio = caption(a, "Lab_Radio", QStringLiteral("Radio"), 290, 52, CbxRadio);
    CB_AuSc = make<QCheckBox>(a, "CB_AuSc", 290, 80, 180, 20);
    CB_AuSc->setText(QStringLiteral("Auto Channel Scan"));

    Ed_Chana = hiddenEdit(a, "Ed_Chana");
    Ed_ChanLista = hiddenEdit(a, "Ed_ChanLista");
    Ed_DynChLista = hiddenEdit(a, "Ed_DynChLista");
    Ed_StatChLista = hiddenEdit(a, "Ed_StatChLista");
    ED_APModeComboBox = hiddenCombo(a, "ED_APModeComboBox");
    CB_bgModea = hiddenCombo(a, "CB_bgModea");
    CB_gmultioverwds = hiddenCombo(a, "CB_gmultioverwds");

    QWidget* g = TS_11g;
    Ed_SSIDg = make<QLineEdit>(g, "Ed_SSIDg", 125, 20, 150, 21);
    CB_SSIDBcastg = make<QComboBox>(g, "CB_SSIDBcastg", 125, 78, 150, 22);
    CB_Chang = make<QComboBox>(g, "CB_Chang", 380, 20, 60, 22);
    Ed_RaFreqg = make<QLineEdit>(g, "Ed_RaFreqg", 445, 22, 40, 18);
    Ed_Chang = hiddenEdit(g, "Ed_Chang");
    Ed_ChanListg = hiddenEdit(g, "Ed_ChanListg");

    buildSecurityControls();
    buildApModeControls();
    buildHiddenMultiControls();

    Bt_Apply = make<QPushButton>(this, "Bt_Apply", 190, kDesignedButtonsTop, 75, 25);
    Bt_Apply->setText(QStringLiteral("Apply"));
    Bt_Refresh = make<QPushButton>(this, "Bt_Refresh", 270, kDesignedButtonsTop, 75, 25);
    Bt_Refresh->setText(QStringLiteral("Refresh"));
    Bt_Close = make<QPushButton>(this, "Bt_Close", 350, kDesignedButtonsTop, 75, 25);
    Bt_Close->setText(QStringLiteral("Cancel"));
    Bt_Apply->setAutoDefault(false);
    Bt_Refresh->setAutoDefault(false);
    Bt_Close->setAutoDefault(false);
    StatusBar = make<QStatusBar>(this, "StatusBar", 0, kDesignedFormHeight - kStatusHeight,
                                 kFormWidth, kStatusHeight);
    StatusBar->setSizeGripEnabled(false);
    StatusPanel = new QLabel(StatusBar);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusBar->addWidget(StatusPanel, 1);

    connect(Bt_Apply, &QPushButton::clicked, this, &TFM_Wirless::Bt_ApplyClick);
    connect(Bt_Refresh, &QPushButton::clicked, this, &TFM_Wirless::Bt_RefreshClick);
    connect(Bt_Close, &QPushButton::clicked, this, &TFM_Wirless::Bt_CloseClick);
    connect(CB_Chana, &QComboBox::activated, this, &TFM_Wirless::CB_ChanaChange);
    connect(AD_SuperMode, &QComboBox::activated, this, &TFM_Wirless::AD_SuperModeChange);
    connect(CB_SuperMode_jp, &QComboBox::activated, this, &TFM_Wirless::CB_SuperMode_jpChange);
    connect(CB_AuSc, &QCheckBox::clicked, this, &TFM_Wirless::CB_AuScChange);
    connect(ED_APModeTempComboBox, &QComboBox::activated, this,
            &TFM_Wirless::ED_APModeTempComboBoxtestChange);
}

void TFM_Wirless::placeButtonsBelow(int pageControlHeight, int buttonsTop, int formHeight) {
    PC_Wirless->resize(kFormWidth, pageControlHeight);
    for (QPushButton* b : {Bt_Apply, Bt_Refresh, Bt_Close})
        b->move(b->x(), buttonsTop);
    setFixedSize(kFormWidth, formHeight);
    StatusBar->setGeometry(0, formHeight - kStatusHeight, kFormWidth, kStatusHeight);
}

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
    radio_ = addRequest(tw::kRadio, {.kind = MVT_SV, .status = StatusBar});
    bgMode_ = addRequest(tw::kBgModeList);
    bgMode_->BindComboBox(0, CB_bgModea);
    if (rogue_ == 0 || rogue_ == 1) {
        superG_ = addRequest(rogue_ == 0 ? std::span(tw::kSuperG0) : std::span(tw::kSuperG1));
        superG_->BindComboBox(0, AD_SuperMode);
    }
    // A display string: "%s" keeps the blanks between the channels.
    dynChannels_ = addRequest(tw::kDynamicChannels);
    dynChannels_->BindFormat(0, "%s", Ed_DynChLista);
    statChannels_ = addRequest(tw::kStaticChannels);
    statChannels_->BindFormat(0, "%s", Ed_StatChLista);
    radioOnOff_ = addRequest(tw::kRadioOnOff, {.kind = MVT_SV});
    radioOnOff_->BindComboBox(0, CbxRadio);
    multiOverWds_ = addRequest(tw::kMultiOverWds, {.kind = MVT_SV});
    multiOverWds_->timeout = 5000;
    multiOverWds_->BindComboBox(0, CB_gmultioverwds);

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
        radio_->BindFormat(0, "%s", Ed_SSIDa);
        radio_->BindComboBox(1, CB_SSIDBcasta);
        radio_->BindFormat(2, "%s", Ed_Chana);
        radio_->BindFormat(3, "%s", Ed_ChanLista);
        radio_->BindFormat(4, "%s", Ed_RaFreqa);
        for (int i = tw::kRadioInstanceItems; i < radio_->vars.count(); ++i)
            radio_->vars.item(i).access = QvAccess::invalid;
        readRadio();

        // 3. b/g mode decides which Super G selector is in charge.
        if (bgMode_->Refresh()) {
            if (CB_bgModea->currentText() == QLatin1String("11b only")) {
                if (turbo_ != 0) {
                    AD_SuperMode->setCurrentIndex(2);
                    AD_SuperMode->setEnabled(false);
                } else {
                    CB_SuperMode_jp->setCurrentIndex(0);
                    CB_SuperMode_jp->setEnabled(false);
                }
            } else {
                AD_SuperMode->setEnabled(turbo_ != 0);
                CB_SuperMode_jp->setEnabled(turbo_ == 0);
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
        pages::fillChannelCombo(CB_Chang, Ed_ChanListg->text(), Ed_Chang->text());
        QvEditHooks::of(*Ed_SSIDa).setMaxLength(32);
        QvEditHooks::of(*Ed_SSIDg).setMaxLength(32);
    } catch (const std::exception& e) {
        pages::showStatus(StatusBar, QString::fromUtf8(e.what()));
    }
}

void TFM_Wirless::compactLayout() {
    for (QWidget* w : std::initializer_list<QWidget*>{
             CB_AuSc, GroupBox1, GroupBox2, GroupBox3, Authentication, Ed_SecAutha, Ed_SecAuthaTemp,
             GroupBox4, GroupBox5, GroupBox6, GroupBox7, ED_ApMode, ED_APModeTempComboBox})
        w->hide();
    Label2->move(Label2->x(), Label2->y() - 20);
    CB_SSIDBcasta->move(CB_SSIDBcasta->x(), CB_SSIDBcasta->y() - 20);
    Label24->move(Label24->x(), Label24->y() - 10);
    AD_SuperMode->move(AD_SuperMode->x(), AD_SuperMode->y() - 10);
    CB_SuperMode_jp->move(CB_SuperMode_jp->x(), AD_SuperMode->y());
    placeButtonsBelow(PC_Wirless->height() - kCompactShrink, Bt_Apply->y() - kCompactShrink,
                      height() - kCompactShrink);
}

void TFM_Wirless::fullLayoutLists() {
    Label2->move(Label2->x(), 82);
    CB_SSIDBcasta->move(CB_SSIDBcasta->x(), 78);
    Label24->move(Label24->x(), 106);
    AD_SuperMode->move(AD_SuperMode->x(), 103);
    CB_SuperMode_jp->move(CB_SuperMode_jp->x(), AD_SuperMode->y());

    // Auto channel scan: offered when the device answers for it (a device without it is not
    // at fault, so its absence is not reported).
    autoScan_ = addRequest(tw::kAutoChannelScan, {.kind = MVT_SV});
    autoScan_->silentFailures = true;
    autoScan_->BindControl(0, CB_AuSc);
    autoScanSupported = autoScan_->Refresh();
    CB_AuSc->setVisible(autoScanSupported);

    buildApModeList();
    buildSecurityLists();
    buildSurveyLists();
    buildMultiSecurityLists();
    keySizeAndTypeItems();

    QvEditHooks::of(*Ed_SSIDa).setMaxLength(32);
    QvEditHooks::of(*Ed_SSID).setMaxLength(32);
    for (QLineEdit* e : Ed_ReMAddra)
        QvEditHooks::of(*e).setMaxLength(12);
    QvEditHooks::of(*Ed_RoMAddra0).setMaxLength(12);
    for (QLineEdit* e : {GroupKeyEdit, GroupKeyPSKEdit})
        QvEditHooks::of(*e).setMaxLength(7);
    for (QLineEdit* e : {RadiusServerEdit, Ed_SecRadiusServer, Ed_SecAccountServer, Ed_AcntServer})
        QvEditHooks::of(*e).setMaxLength(15);
    for (QLineEdit* e : {RadiusSecretEdit, Ed_SecRadiusSecret, PassPhrasePSKEdit})
        QvEditHooks::of(*e).setMaxLength(64);
    for (QLineEdit* e : {RadiusportEdit, Ed_SecRadiusport, Ed_SecAccountPort, Ed_AcntPort})
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
    savedChannel = Ed_Chana->text();
    if (Ed_ChanLista->text().isEmpty())
        Ed_ChanLista->setText(pages::kDefaultChannelList);
}

void TFM_Wirless::readChannelLists() {
    if (!dynChannels_->Refresh())
        Ed_DynChLista->setText(QStringLiteral("6"));
    if (!statChannels_->Refresh())
        Ed_StatChLista->setText(QStringLiteral("6"));
}

bool TFM_Wirless::fillChannels(QLineEdit* list, QComboBox* combo, QLineEdit* value) {
    return pages::fillChannelCombo(combo, list->text(), value->text());
}

// The hidden Japanese selector shows the Super G entry of the same text, else "Enable".
void TFM_Wirless::mirrorSuperMode() {
    const int i = CB_SuperMode_jp->findText(AD_SuperMode->currentText());
    CB_SuperMode_jp->setCurrentIndex(i >= 0 ? i : CB_SuperMode_jp->findText("Enable"));
}

// --- Radio handlers ---

void TFM_Wirless::CB_ChanaChange() {
    savedChannel = CB_Chana->currentText();
}

void TFM_Wirless::CB_SuperMode_jpChange() {
    const int i = AD_SuperMode->findText(CB_SuperMode_jp->currentText());
    AD_SuperMode->setCurrentIndex(i >= 0 ? i : 0);
    AD_SuperModeChange();
}

void TFM_Wirless::CB_AuScChange() {
    CB_Chana->setEnabled(!CB_AuSc->isChecked());
}

// The channel list follows the Super G mode: turbo modes have their own channels.
void TFM_Wirless::AD_SuperModeChange() {
    const int i = AD_SuperMode->currentIndex();
    QLineEdit* list = nullptr;
    if (rogue_ == 0) {
        list = i == 1 ? Ed_StatChLista : i == 2 ? Ed_DynChLista : Ed_ChanLista;
    } else if (rogue_ == 1) {
        list = i == 1 ? Ed_DynChLista : Ed_ChanLista;
    }
    if (list) {
        if (list == Ed_ChanLista)
            Ed_Chana->setText(savedChannel);
        if (!fillChannels(list, CB_Chana, Ed_Chana) && CB_Chana->count() > 0)
            CB_Chana->setCurrentIndex(0);
    }
    const int disableIndex = rogue_ == 0 ? 3 : 2;
    if (newMulti_ == 1 && CB_MultEnable && CB_MultEnable->currentIndex() == 1 &&
        AD_SuperMode->currentIndex() != disableIndex)
        platform::message(QStringLiteral("Warning"),
                          QStringLiteral("If AP Mode is not \"Access Point\" or Super G is not "
                                         "\"Disable\",\nThe Multi-SSID should be set to "
                                         "\"Disabled\"."));
}

// --- Refresh ---

void TFM_Wirless::Bt_RefreshClick() {
    Bt_Refresh->setEnabled(false);
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
                SiteServeyListView->setColumnWidth(0, 0);
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
        pages::fillChannelCombo(CB_Chang, Ed_ChanListg->text(), Ed_Chang->text());
    } catch (const std::exception& e) {
        pages::showStatus(StatusBar, QString::fromUtf8(e.what()));
    }
    Bt_Refresh->setEnabled(true);
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
            const int p = Ed_SecAutha->currentIndex();
            const bool keep = rogue_ == 1   ? (p <= 3 || p == 5 || p == 7)
                              : rogue_ == 0 ? (p <= 2)
                                            : true;
            if (!keep)
                Ed_SecAutha->setCurrentIndex(0);
        }
    }
    // 2-4. The SSID.
    if (Ed_SSIDa->text().size() > 32 || Ed_SSIDg->text().size() > 32)
        return stop(), void(pages::refuse(QStringLiteral("The Max Length of SSID is 32.!"),
                                          QStringLiteral("Warning")));
    if (Ed_SSIDa->text().isEmpty())
        return stop(),
               void(pages::refuse(QStringLiteral("Please Input SSID."), QStringLiteral("Warning")));
    if (Ed_SSIDa->text().startsWith(QLatin1Char(' ')))
        return stop(), void(pages::refuse(QStringLiteral("The first character can't be blank."),
                                          QStringLiteral("Error"), Ed_SSIDa));
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
    Ed_Chana->setText(CB_Chana->currentText());
    Ed_Chang->setText(CB_Chang->currentText());
    // 7-8.
    if (fullLayout && !multiSsidConsistency()) {
        pages::showStatus(StatusBar, QStringLiteral("Setting error!"));
        return;
    }
    if (writeAll()) {
        pages::waitForRestartUnlessSaved(this);
        pages::showStatus(StatusBar, QStringLiteral("Setting Success!"));
    } else {
        pages::showStatus(StatusBar, QStringLiteral("Setting error!"));
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
