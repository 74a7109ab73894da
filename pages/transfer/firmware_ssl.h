#pragma once
// Tools \ Firmware on devices that also take an SSL certificate: the firmware upload of the
// firmware page, the running firmware version, the FTP account the device fetches from, and the
// certificate update (the device fetches the certificate and key files from that FTP server).
#include "pages/common/page.h"
#include "snmplib/request.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace pages {
class FirmwareUpload;
class TransferServer;
} // namespace pages

class TFM_FirewareSSL : public pages::Page {
    Q_OBJECT
public:
    explicit TFM_FirewareSSL(QWidget* owner);
    ~TFM_FirewareSSL() override;

    void Bt_BrowseClick();
    void Bt_CBrowseClick();
    void Bt_KBrowseClick();
    void Bt_UploadClick();
    void Bt_CUploadClick();

    QGroupBox* GroupBox1;
    QLabel* La_File;
    QLineEdit* Ed_UpgFile;
    QPushButton* Bt_Browse;
    QPushButton* Bt_Upload;
    QLabel* Label1;
    QLineEdit* Ed_FwVersion;
    QLineEdit* Ed_TfpSrv;
    QComboBox* CB_TfpCom;
    QComboBox* CB_UpgCom;
    QComboBox* CB_FwUpdt;
    QLabel* La_Progress; // bytes moved by the device's transfer

    QGroupBox* GroupBox3;
    QLabel* Label2;
    QLineEdit* Ed_FtpSrv;
    QLabel* Label3;
    QLineEdit* Ed_UserName;
    QLabel* Label4;
    QLineEdit* Ed_Password;

    QGroupBox* GroupBox2;
    QLabel* LA_Certificate;
    QLineEdit* EDT_Certificate;
    QPushButton* Bt_CBrowse;
    QLabel* LA_Key;
    QLineEdit* EDT_Key;
    QPushButton* Bt_KBrowse;
    QPushButton* Bt_CUpload;
    QComboBox* CB_SslUpdt;
    QComboBox* CB_Reboot;

    QStatusBar* StatusBar;
    QLabel* statusPanel; // the status bar's one panel

    pages::TransferServer* server() const { return server_; }
    pages::FirmwareUpload* upload() const { return upload_; }
    // From the first write of a certificate update until its outcome has been shown.
    bool certificateRunning() const { return certificateRunning_; }

    QvSNMPRequest2Edits* ftpList() const { return ftp_; }
    QvSNMPRequest2Edits* versionList() const { return version_; }

private:
    void certificateHandler(const QvSNMPError& result);
    void enableUploads(bool on);

    pages::TransferServer* server_ = nullptr;
    pages::FirmwareUpload* upload_ = nullptr;
    QvSNMPRequest2Edits* ftp_ = nullptr;
    QvSNMPRequest2Edits* version_ = nullptr;
    QvSNMPRequest2Edits* certificate_ = nullptr;
    QvSNMPRequest2Edits* restart_ = nullptr;
    bool certificateRunning_ = false;
};
