#pragma once
// Tools \ Firmware on devices that also take an SSL certificate: the firmware upload of the
// firmware page, the running firmware version, the FTP account the device fetches from, and the
// certificate update (the device fetches the certificate and key files from that FTP server).
#include "pages/common/page.h"
#include "snmplib/request.h"
#include "ui_firmware_ssl.h"

class QLabel;

namespace pages {
class FirmwareUpload;
class TransferServer;
} // namespace pages

class TFM_FirewareSSL : public pages::FormPage<Ui::TFM_FirewareSSL> {
    Q_OBJECT
public:
    explicit TFM_FirewareSSL(QWidget* owner);
    ~TFM_FirewareSSL() override;

    void Bt_BrowseClick();
    void Bt_CBrowseClick();
    void Bt_KBrowseClick();
    void Bt_UploadClick();
    void Bt_CUploadClick();

    QLabel* statusPanel = nullptr; // the status bar's one panel

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
