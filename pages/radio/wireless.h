#pragma once
// Home \ Wireless: the radio of the access point (SSID, broadcast, channel, radio on/off) and, on
// devices with multiple SSIDs, the operating mode, automatic channel scan, the security of the
// primary SSID, the WDS peers, the repeater settings and the site survey.
//
// One class over several sources: wireless.cpp (controls, opening, refresh, apply order, radio
// and channels), wireless_security.cpp (authentication, keys, RADIUS, accounting, the secondary
// SSIDs kept consistent), wireless_apmode.cpp (AP mode, remote access points, site survey).
//
// The form carries two radio tabs: TS_11a (controls ending in "a", radio instance 1) and TS_11g
// (instance 2). TS_11g stays hidden, so its variables are neither bound, read nor written.
#include "pages/common/page.h"
#include "ui_wireless.h"

#include <array>
#include <QString>

class TFM_Wirless : public pages::FormPage<Ui::TFM_Wirless> {
    Q_OBJECT

public:
    explicit TFM_Wirless(QWidget* owner);
    ~TFM_Wirless() override;

    bool FormCloseQuery() override;

    // Handlers.
    void FormCreate();
    void Bt_ApplyClick();
    void Bt_RefreshClick();
    void Bt_CloseClick();
    void CB_ChanaChange();
    void AD_SuperModeChange();
    void CB_SuperMode_jpChange();
    void CB_AuScChange();
    void ED_APModeTempComboBoxtestChange();
    void Ed_SecAuthaTempChange();
    void Ed_SecAuthaChange();
    void Ed_SecEncypaChange();
    void Ed_KeyTypeChange();
    void Ed_KeySizeChange();
    void Ed_SecValKeyaChange();
    void CB_AcntEnableChange();
    void CB_SecRadiusModeChange();
    void CB_SecAccountModeChange();
    void SiteScanClick();
    void SiteServeyListViewClick();

    // The channel text last read or chosen; kept from one opening of the page to the next.
    static QString savedChannel;

    QLabel* StatusPanel = nullptr; // the status bar's one panel
    // Controls that come in rows, in the form's order (ui->Ed_Key1a ... ui->Ed_Key4a).
    std::array<QLineEdit*, 4> Ed_Keya{};
    std::array<QComboBox*, 7> CB_MultEncyt{};
    std::array<QComboBox*, 7> CB_MultiAuth{};
    std::array<QComboBox*, 3> Guest_ComboBox{};
    std::array<QComboBox*, 3> GuestEncry_ComboBox{};
    std::array<QComboBox*, 3> GuestKeyIndex_ComboBox{};
    std::array<QLineEdit*, 8> Ed_ReMAddra{};

    // --- Page state ---
    bool fullLayout = false;
    bool autoScanSupported = false;
    bool keyTypeSupported = false;
    bool accountingShown = false;
    bool surveyIdle = true;
    bool multiSsidAtLoad = false;

private:
    // Opening and refresh.
    void compactLayout();
    void fullLayoutLists();
    void readRadio();
    void readChannelLists();
    bool fillChannels(QLineEdit* list, QComboBox* combo, QLineEdit* value);
    void mirrorSuperMode();
    bool writeAll();

    // Security (wireless_security.cpp).
    void buildSecurityLists();
    void buildMultiSecurityLists();
    void readSecurityAtRefresh();
    void rememberRadiusTexts();
    void keySizeAndTypeItems();
    void keyFieldsRule();
    void keyLengths();
    void asciiKeyDisplay();
    void securitySectionRule();
    void validKeyItemsRule();
    int authPosition() const; // position of Ed_SecAutha's text among the nine types
    int keyEditIndex() const; // the key edit named by the valid-key selection
    bool primarySsidUnique();
    bool securityCheck();
    bool keyCheck();
    bool guestKeyIndexCheck();
    void guestCleanup();
    bool multiSsidConsistency();
    bool securityWrite();
    void fillAuthenticationItems(int slot);
    void fillPskCipherItems(int slot);

    // AP mode (wireless_apmode.cpp).
    void buildApModeList();
    void buildSurveyLists();
    void apModeSelectorFill();
    int modeSlot() const; // meaning of the visible selection: 0 AP, 1, 2 WDS, 3 repeater, 4 client
    int deviceMode() const; // index in ED_APModeComboBox, -1 for none
    void modeLayout();
    void macDisplayRule();
    void readOnlyRule();
    bool duplicateCheck();
    bool modeCheck();
    void multiSsidModeWarning();
    void onSurveyTriggerDone(const QvSNMPError& answer);

    // Capability fields read at opening.
    int rogue_ = 0;
    int turbo_ = 0;
    int apModeMask_ = 0;
    int wdsSite_ = 0;
    int newMulti_ = -1;
    int mssidAndWds_ = 0;
    int keyTypeSup_ = 0;
    int spAccounting_ = 0;
    QString fwVer_;

    // Remembered texts.
    QString storedGroupKey_;
    QString storedCipher_;
    QString storedRadiusServer_;
    QString storedRadiusPort_;
    QString storedRadiusSecret_;
    QString storedValidKey_;

    // Binding objects (owned by the page).
    QvSNMPRequest2Edits* radio_ = nullptr;
    QvSNMPRequest2Edits* bgMode_ = nullptr;
    QvSNMPRequest2Edits* superG_ = nullptr;
    QvSNMPRequest2Edits* dynChannels_ = nullptr;
    QvSNMPRequest2Edits* statChannels_ = nullptr;
    QvSNMPRequest2Edits* radioOnOff_ = nullptr;
    QvSNMPRequest2Edits* multiOverWds_ = nullptr;
    QvSNMPRequest2Edits* autoScan_ = nullptr;
    QvSNMPRequest2Edits* apMode_ = nullptr;
    QvSNMPRequest2Edits* primarySecurity_ = nullptr;
    QvSNMPRequest2Edits* keyType_ = nullptr;
    QvSNMPRequest2Edits* multiState_ = nullptr;
    QvSNMPRequest2Edits* ssidTable_ = nullptr;
    QvSNMPRequest2Edits* guestState_ = nullptr;
    QvSNMPRequest2Edits* guestKeyIndex_ = nullptr;
    QvSNMPRequest2Edits* primaryRadius_ = nullptr;
    QvSNMPRequest2Edits* radiusSupport_ = nullptr;
    QvSNMPRequest2Edits* accountSupport_ = nullptr;
    QvSNMPRequest2Edits* secondaryRadius_ = nullptr;
    QvSNMPRequest2Edits* secondaryAccounting_ = nullptr;
    QvSNMPRequest2Edits* accounting_ = nullptr;
    QvSNMPRequest2Edits* passPhrase_ = nullptr;
    QvSNMPRequest2Edits* surveyTrigger_ = nullptr;
    New_req2Edit* surveyTable_ = nullptr;
    QvSNMPRequest2Edits* multiEncryption_ = nullptr;
    QvSNMPRequest2Edits* multiAuthentication_ = nullptr;
};
