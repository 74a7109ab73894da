#pragma once
// "Advanced\Multi-SSID" of earlier firmware: the master SSID (shown, only its VLAN group
// editable) and three guest SSIDs of the 802.11g radio, each with its own SSID, WEP security and
// VLAN group, and the VLAN switch. Enabling VLAN or a guest puts the radio into access-point
// mode with Super G off.
#include "pages/common/page.h"
#include "ui_multi_ssid.h"

#include <array>
#include <optional>
#include <QString>

class TFM_MultiSSIDForm : public pages::FormPage<Ui::TFM_MultiSSIDForm> {
    Q_OBJECT

public:
    static constexpr int kGuests = 3;

    explicit TFM_MultiSSIDForm(QWidget* owner);
    ~TFM_MultiSSIDForm() override;

    void FormCreate();
    void Bt_RefreshClick();
    void Bt_ApplyClick();
    void Bt_CloseClick();
    void CheckBox1Click();
    // Guest g (0..2): its enable box, security selector, key type or size, key index, and the
    // SSID edit or VLAN group field left.
    void GuestCheckBoxClick(int g);
    void GuestSecurityChange(int g);
    void GuestKeySizeChange(int g);
    void GuestKeyChange(int g);
    void GuestSSIDEditExit(int g);

private:
    struct Guest {
        QCheckBox* box;
        QLineEdit* ssid;
        QComboBox* selector;
        QComboBox* keyType;
        QComboBox* keySize;
        QComboBox* keyIndex;
        QLineEdit* key;
        QLineEdit* groupId;
        QComboBox* state;      // hidden: adMSSIDState
        QComboBox* security;   // hidden: adMSSIDAuth
        QComboBox* encryption; // hidden: adMSSIDEncryption
        QvSNMPRequest2Edits* request = nullptr;
    };

    void readAll();
    void showRules();
    void resetKeyTypesAndSizes();
    void keySizesFromKeys();
    void guestRule(int g);
    void showSelector(int g);
    void keyLimit(int g);
    bool keyIndexConflict(int g);
    bool ssidConflict(int g);
    bool applyChecks();
    // The key of guest g as the device keeps it (hexadecimal digits), or nothing to send for a
    // masked key; false when the key is refused.
    bool keyToSend(int g, std::optional<QString>& hex);
    bool masterEncrypted() const;

    std::array<Guest, kGuests> guests_{};
    QvSNMPRequest2Edits* vlan_ = nullptr;
    QvSNMPRequest2Edits* master_ = nullptr;
    QvSNMPRequest2Edits* radio_ = nullptr;
};
