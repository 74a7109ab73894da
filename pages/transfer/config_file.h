#pragma once
// Tools \ Configuration File: the device writes its configuration into a file on the PC ("Put")
// or fetches one from the PC ("Get") and takes it over, both over the module's TFTP server.
#include "pages/common/page.h"
#include "snmplib/request.h"
#include "ui_config_file.h"

namespace pages {
class TransferServer;
}

class TFM_CfgFile : public pages::FormPage<Ui::TFM_CfgFile> {
    Q_OBJECT
public:
    explicit TFM_CfgFile(QWidget* owner);
    ~TFM_CfgFile() override;

    void Bt_BrowseClick();
    void Bt_SavBrwClick();
    void Bt_OKClick();     // restore
    void Bt_UploadClick(); // "DownLoad": save

    bool saving = false;
    // From the first write of a save or restore until its outcome has been shown.
    bool running() const { return running_; }
    pages::TransferServer* server() const { return server_; }

private:
    // Writes the address list and the TFTP command (`item` of CB_TfpCom). False when the flow
    // stopped (the reason shown).
    bool sendCommand(int item);
    void commandHandler(const QvSNMPError& result);
    void setRunning(bool running);

    pages::TransferServer* server_ = nullptr;
    QvSNMPRequest2Edits* address_ = nullptr;
    QvSNMPRequest2Edits* upgrade_ = nullptr;
    QvSNMPRequest2Edits* command_ = nullptr;
    bool running_ = false;
};
