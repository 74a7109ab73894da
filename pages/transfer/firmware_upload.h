#pragma once
// The firmware upload that the firmware page and the firmware-and-certificate page share: the
// checks of the chosen image, the server address and bare file name written to the device, the
// "Get" command (answered when the device has the image), then "Firmwareupdate" and one "Reboot"
// with the wait dialogs between them.
//
// Every answer handler runs from the event loop after the answer's delivery has ended, so the
// modal wait dialogs and message boxes it opens never hold other answers back.
#include "snmplib/request.h"

#include <functional>
#include <QObject>
#include <QString>

class QComboBox;
class QLineEdit;
class QStatusBar;
class QvSNMPRequest2Edits;

namespace pages {

class Page;
class TransferServer;

class FirmwareUpload : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QLineEdit* Ed_UpgFile;
        QLineEdit* Ed_TfpSrv;
        QComboBox* CB_TfpCom;
        QComboBox* CB_UpgCom;
        QStatusBar* StatusBar;     // transfer and general status
        QStatusBar* upgradeStatus; // where the upgrade list reports
    };
    struct Steps {
        int updateSeconds;    // the "Updating firmware file..." count-down
        bool rebootCountdown; // a "rebootting device..." count-down once "Reboot" is sent
    };

    FirmwareUpload(Page* page, TransferServer* server, const Controls& controls, Steps steps);

    // The Browse button: an image chosen in the open dialog goes into Ed_UpgFile.
    void browse();
    // The OK (or Upload) button: checks, then the address list and the "Get" command.
    void start();
    // Whether an upload is under way (from the first write until the last command is sent).
    bool running() const { return running_; }
    bool upgrading() const { return upgrading_; }
    // Called with false when an upload starts and true when it has ended either way.
    std::function<void(bool)> enableButtons;

    QvSNMPRequest2Edits* addressList() const { return address_; }
    QvSNMPRequest2Edits* commandList() const { return command_; }
    QvSNMPRequest2Edits* upgradeList() const { return upgrade_; }

private:
    void transferHandler(const QvSNMPError& result);
    void upgradeStep();
    void upgradeHandler(const QvSNMPError& result);
    void finish();

    Page* page_;
    TransferServer* server_;
    Controls c_;
    Steps steps_;
    QvSNMPRequest2Edits* address_;
    QvSNMPRequest2Edits* command_;
    QvSNMPRequest2Edits* upgrade_;
    bool running_ = false;
    bool upgrading_ = false;
};

} // namespace pages
