#pragma once
// Tools \ Firmware: the operator picks a firmware image; the module serves it over its TFTP
// server and has the device fetch it, take it and restart (devices without SSL support).
#include "pages/common/page.h"
#include "ui_firmware.h"

namespace pages {
class FirmwareUpload;
class TransferServer;
} // namespace pages

class TFM_Firmware : public pages::FormPage<Ui::TFM_Firmware> {
    Q_OBJECT
public:
    explicit TFM_Firmware(QWidget* owner);
    ~TFM_Firmware() override;

    void Bt_BrowseClick();
    void Bt_OKClick();

    pages::TransferServer* server() const { return server_; }
    pages::FirmwareUpload* upload() const { return upload_; }

private:
    pages::TransferServer* server_ = nullptr;
    pages::FirmwareUpload* upload_ = nullptr;
};
