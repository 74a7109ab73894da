#pragma once
// "Advanced \ Encryption": the security of radio 1 on devices without multiple SSIDs. WEP with
// four keys of a chosen type and size, WPA-Personal with its pass phrase, WPA-Enterprise with its
// RADIUS server (and DNS where the firmware has it). The device's keys are never shown: each key
// field shows as many "*" as the key size needs, and a field left that way is not written.
#include "pages/common/page.h"
#include "ui_encrypt.h"

#include <array>

class TFM_Encrypt : public pages::FormPage<Ui::TFM_Encrypt> {
    Q_OBJECT
public:
    explicit TFM_Encrypt(QWidget* owner);

    void FormCreate();
    void Bt_ApplyClick();
    void Bt_RefClick();
    void Bt_CancelClick();
    void CB_SecAuthaChange();
    void CB_KeyTypeAChange();

    // 0 open system (and any authentication this page does not offer), 1 shared key, 2 open
    // system / shared key, 3 WPA-Personal, 4 WPA-Enterprise.
    int authenticationClass() const;
    const QString& storedAuthentication() const { return storedAuthentication_; }

private:
    void authenticationItems();
    void keySizeFromValidKey();
    void keyMask();
    void securityRule();
    bool securityServerFits();
    bool groupKeyIntervalFits();
    bool keysFit();
    bool writeSecurity(int authClass);
    void readAllAgain();

    std::array<QLineEdit*, 4> hexKeys_{};
    std::array<QLineEdit*, 4> asciiKeys_{};
    QvSNMPRequest2Edits* security_ = nullptr;
    QvSNMPRequest2Edits* apMode_ = nullptr;
    QvSNMPRequest2Edits* codeBase_ = nullptr;
    QvSNMPRequest2Edits* server_ = nullptr;
    QvSNMPRequest2Edits* passPhrase_ = nullptr;
    QString storedAuthentication_;
};
