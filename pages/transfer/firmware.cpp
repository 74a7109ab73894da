#include "pages/transfer/firmware.h"

#include "pages/transfer/firmware_upload.h"
#include "pages/transfer/transfer_server.h"
#include "platform/file_chooser.h"

TFM_Firmware::TFM_Firmware(QWidget* owner) : FormPage(owner) {
    handle(ui->Bt_Browse, &QPushButton::clicked, &TFM_Firmware::Bt_BrowseClick);
    handle(ui->Bt_OK, &QPushButton::clicked, &TFM_Firmware::Bt_OKClick);

    server_ = new pages::TransferServer(this, 3000, 3, ui->La_Progress);
    keepOpenWhile([this] { return server_->transferring(); });
    guard([this] {
        upload_ = new pages::FirmwareUpload(this, server_,
                                            {ui->Ed_UpgFile, ui->Ed_TfpSrv, ui->CB_TfpCom,
                                             ui->CB_UpgCom, ui->StatusBar, ui->StatusBar2},
                                            {40, false});
        upload_->enableButtons = [this](bool on) {
            ui->Bt_OK->setEnabled(on);
            ui->Bt_Browse->setEnabled(on);
        };
    });
}

TFM_Firmware::~TFM_Firmware() = default;

void TFM_Firmware::Bt_BrowseClick() {
    if (upload_)
        upload_->browse();
}

void TFM_Firmware::Bt_OKClick() {
    if (upload_)
        upload_->start();
}
