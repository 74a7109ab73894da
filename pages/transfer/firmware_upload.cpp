#include "pages/transfer/firmware_upload.h"

#include "app/module_texts.h"
#include "app/wait_dialog.h"
#include "pages/common/page.h"
#include "pages/transfer/command_step.h"
#include "pages/transfer/transfer_server.h"
#include "platform/file_chooser.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "tables/firmware.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

namespace pages {

namespace {
constexpr int kGetItem = 1;            // CB_TfpCom: "Get"
constexpr int kFirmwareUpdateItem = 0; // CB_UpgCom: "Firmwareupdate"
constexpr int kRebootItem = 3;         // CB_UpgCom: "Reboot"
// Once "Reboot" is on its way the device may restart before it answers: a short time-out keeps
// the page from waiting minutes for an answer that will not come.
constexpr int kRebootTimeout = 200;

void countDown(TransferServer* server, QWidget* owner, int seconds, bool sendReboot,
               const QString& text) {
    waitForRestart(owner, [&](TFM_Waiting& wait) {
        wait.secondsLeft = seconds;
        wait.sendReboot = sendReboot;
        wait.Label3->setText(text);
        server->attach(wait);
    });
}
} // namespace

FirmwareUpload::FirmwareUpload(Page* page, TransferServer* server, const Controls& controls,
                               Steps steps)
    : QObject(page), page_(page), server_(server), c_(controls), steps_(steps) {
    namespace tfw = tables::firmware;
    address_ = page->addRequest(tfw::kAddress, {.status = c_.StatusBar});
    bind(*address_, {{tfw::kServerAddress, c_.Ed_TfpSrv}, {tfw::kFileName, c_.Ed_UpgFile}});

    command_ = page->addRequest(tfw::kTftpCommand,
                                {.status = c_.StatusBar, .asynchronous = true, .timeout = 15000});
    bind(*command_, {{tfw::kTftp, c_.CB_TfpCom}});
    command_->OnSetCompleteLater(this, [this](const QvSNMPError& e) { transferHandler(e); });

    upgrade_ = page->addRequest(
        tfw::kUpgradeCommand, {.status = c_.upgradeStatus, .asynchronous = true, .timeout = 30000});
    bind(*upgrade_, {{tfw::kUpgrade, c_.CB_UpgCom}});
    upgrade_->OnSetCompleteLater(this, [this](const QvSNMPError& e) { upgradeHandler(e); });

    page->keepOpenWhile([this] { return running_; });
}

void FirmwareUpload::start() {
    if (running_)
        return;
    const QString path = c_.Ed_UpgFile->text();
    const QString warning = QStringLiteral("Warning");
    if (path.isEmpty() || path.endsWith(u'\\') || path.endsWith(u'/'))
        return void(refuse(QStringLiteral("Please put in the firmware file & path."), warning));
    if (!path.contains(QStringLiteral(".tfp")) || !platform::fileExists(path))
        return void(refuse(QStringLiteral("Please put in valid firmware file & path."), warning));
    const auto parts = server_->prepare(path, c_.Ed_TfpSrv);
    if (!parts)
        return;

    running_ = true;
    if (enableButtons)
        enableButtons(false);
    QvSNMPError failure;
    c_.Ed_UpgFile->setText(parts->name);
    const bool addressed = applyCommand(*address_, failure);
    c_.Ed_UpgFile->setText(path);
    if (!addressed)
        return transferHandler(failure); // the device did not take them: no command goes out
    upgrading_ = true;
    c_.CB_TfpCom->setCurrentIndex(kGetItem);
    if (!applyCommand(*command_, failure))
        transferHandler(failure);
}

void FirmwareUpload::browse() {
    if (const auto file = platform::fileChooser().openFile(
            QStringLiteral("Upgrade File"), QStringLiteral("Firmware (*.tfp);;All files (*)")))
        c_.Ed_UpgFile->setText(*file);
}

void FirmwareUpload::transferHandler(const QvSNMPError& result) {
    if (result.code != 0) {
        platform::message(QStringLiteral("Warning"),
                          QStringLiteral("Cant Perform Operation,Please try again!"));
        showStatus(c_.StatusBar, result.text);
        return finish();
    }
    showStatus(c_.StatusBar, result.text + QStringLiteral("!"));
    if (upgrading_)
        upgradeStep();
    finish();
}

void FirmwareUpload::upgradeStep() {
    countDown(server_, page_, 5, false, QStringLiteral("Loading firmware file..."));
    c_.CB_UpgCom->setCurrentIndex(kFirmwareUpdateItem);
    QvSNMPError failure;
    if (!applyCommand(*upgrade_, failure))
        return upgradeHandler(failure);
    countDown(server_, page_, steps_.updateSeconds, false,
              QStringLiteral("Updating firmware file..."));
}

void FirmwareUpload::upgradeHandler(const QvSNMPError& result) {
    if (result.code != 0)
        return showStatus(c_.StatusBar, result.text);
    showStatus(c_.StatusBar, result.text + QStringLiteral("!"));
    if (c_.CB_UpgCom->currentIndex() == kRebootItem)
        return; // the acknowledged command was the reboot itself
    c_.CB_UpgCom->setCurrentIndex(kRebootItem);
    upgrade_->timeout = kRebootTimeout;
    QvSNMPError failure;
    if (!applyCommand(*upgrade_, failure)) {
        platform::message(QString::fromLatin1(app::kModelName), QStringLiteral("Set error!"));
        return;
    }
    if (steps_.rebootCountdown)
        countDown(server_, page_, 25, true, QStringLiteral("rebootting device..."));
}

void FirmwareUpload::finish() {
    running_ = false;
    if (enableButtons)
        enableButtons(true);
}

} // namespace pages
