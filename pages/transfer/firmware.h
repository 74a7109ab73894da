#pragma once
// Tools \ Firmware: the operator picks a firmware image; the module serves it over its TFTP
// server and has the device fetch it, take it and restart (devices without SSL support).
#include "pages/common/page.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;

namespace pages {
class FirmwareUpload;
class TransferServer;
} // namespace pages

class TFM_Firmware : public pages::Page {
    Q_OBJECT
public:
    explicit TFM_Firmware(QWidget* owner);
    ~TFM_Firmware() override;

    void Bt_BrowseClick();
    void Bt_OKClick();

    QLabel* La_File;
    QLineEdit* Ed_UpgFile;
    QPushButton* Bt_Browse;
    QPushButton* Bt_OK;
    QLabel* La_Progress; // bytes moved by the device's transfer
    QStatusBar* StatusBar;
    QLabel* La_TftpSrv;
    QLineEdit* Ed_TfpSrv;
    QLabel* La_UpComm;
    QComboBox* CB_TfpCom;
    QLabel* La_UpgrdComm;
    QComboBox* CB_UpgCom;
    QStatusBar* StatusBar1;
    QStatusBar* StatusBar2;

    pages::TransferServer* server() const { return server_; }
    pages::FirmwareUpload* upload() const { return upload_; }

private:
    pages::TransferServer* server_ = nullptr;
    pages::FirmwareUpload* upload_ = nullptr;
};
