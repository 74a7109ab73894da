#include "pages/transfer/config_file.h"

#include "pages/common/edit_state.h"
#include "pages/transfer/command_step.h"
#include "pages/transfer/transfer_server.h"
#include "platform/file_chooser.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "tables/config_file.h"

namespace {
constexpr int kGetItem = 1;        // ui->CB_TfpCom: "Get"
constexpr int kPutItem = 2;        // ui->CB_TfpCom: "Put"
constexpr int kConfigSaveItem = 2; // ui->CB_UpgCom: "Configsave"

const QString kFilter = QStringLiteral("kcf文档 (*.kcf);;所有文件 (*.*)");
} // namespace

TFM_CfgFile::TFM_CfgFile(QWidget* owner) : FormPage(owner) {
    pages::setWritable(ui->Ed_SaveFile, false);
    handle(ui->Bt_Browse, &QPushButton::clicked, &TFM_CfgFile::Bt_BrowseClick);
    handle(ui->Bt_SavBrw, &QPushButton::clicked, &TFM_CfgFile::Bt_SavBrwClick);
    handle(ui->Bt_OK, &QPushButton::clicked, &TFM_CfgFile::Bt_OKClick);
    handle(ui->Bt_Upload, &QPushButton::clicked, &TFM_CfgFile::Bt_UploadClick);

    guard([this] {
        namespace tcf = tables::config_file;
        address_ = addRequest(tcf::kAddress, {.status = ui->StatusBar});
        pages::bind(*address_,
                    {{tcf::kServerAddress, ui->Ed_TfpSrv}, {tcf::kFileName, ui->Ed_UpgFile}});
        upgrade_ = addRequest(tcf::kUpgradeCommand, {.status = ui->StatusBar, .timeout = 30000});
        pages::bind(*upgrade_, {{tcf::kUpgrade, ui->CB_UpgCom}});
        command_ = addRequest(tcf::kTftpCommand,
                              {.status = ui->StatusBar, .asynchronous = true, .timeout = 10000});
        pages::bind(*command_, {{tcf::kTftp, ui->CB_TfpCom}});
        command_->OnSetCompleteLater(this, [this](const QvSNMPError& e) { commandHandler(e); });
    });

    server_ = new pages::TransferServer(this, 300, 3, ui->La_Progress);
    keepOpenWhile([this] { return running_ || server_->transferring(); });
}

TFM_CfgFile::~TFM_CfgFile() = default;

void TFM_CfgFile::Bt_BrowseClick() {
    if (const auto file = platform::fileChooser().openFile(
            QStringLiteral("Update Configuration File"), kFilter)) {
        ui->Ed_SaveFile->clear();
        ui->Ed_UpgFile->setText(*file);
    }
}

void TFM_CfgFile::Bt_SavBrwClick() {
    if (const auto file = platform::fileChooser().saveFile(
            QStringLiteral("Load Settings to Local Hard Drive"), kFilter, QString())) {
        ui->Ed_SaveFile->clear();
        ui->Ed_SaveFile->setText(*file);
    }
}

void TFM_CfgFile::Bt_OKClick() {
    if (running_ || !command_)
        return;
    const QString warning = QStringLiteral("Warning");
    const QString path = ui->Ed_UpgFile->text();
    if (path.isEmpty())
        return void(pages::refuse(QStringLiteral("Empty file is not accepted."), warning));
    if (!platform::fileExists(path) || !path.toUpper().contains(QStringLiteral(".KCF")))
        return void(pages::refuse(QStringLiteral("File format error! Please try again!"), warning));
    const auto parts = server_->prepare(path, ui->Ed_TfpSrv);
    if (!parts)
        return;
    ui->Ed_UpgFile->setText(parts->name);
    saving = false;
    sendCommand(kGetItem);
    ui->Ed_UpgFile->setText(path);
}

void TFM_CfgFile::Bt_UploadClick() {
    if (running_ || !command_)
        return;
    Bt_SavBrwClick();
    const QString warning = QStringLiteral("Warning");
    const QString path = ui->Ed_SaveFile->text();
    if (path.isEmpty())
        return void(pages::refuse(QStringLiteral("Empty file is not accepted."), warning));
    const auto parts = server_->prepare(path, ui->Ed_TfpSrv);
    if (!parts)
        return;
    QString name = parts->name;
    if (!name.toUpper().contains(QStringLiteral(".KCF")))
        name += QStringLiteral(".kcf");
    ui->Ed_UpgFile->setText(name);
    ui->La_TftpSrv->setEnabled(true);
    saving = true;
    sendCommand(kPutItem);
    ui->Ed_UpgFile->clear();
    ui->Ed_SaveFile->clear();
}

bool TFM_CfgFile::sendCommand(int item) {
    setRunning(true);
    QvSNMPError failure;
    // The device must hold the server address and name before it is told to move the file.
    if (!pages::applyCommand(*address_, failure)) {
        commandHandler(failure);
        return false;
    }
    ui->CB_TfpCom->setCurrentIndex(item);
    if (!pages::applyCommand(*command_, failure)) {
        commandHandler(failure);
        return false;
    }
    return true;
}

void TFM_CfgFile::commandHandler(const QvSNMPError& result) {
    struct Done {
        TFM_CfgFile* page;
        ~Done() { page->setRunning(false); }
    } done{this};
    if (saving) {
        if (result.code == 0)
            platform::message(QStringLiteral("OK"),
                              QStringLiteral("The configuration file saved successfully!"));
        else
            platform::message(QStringLiteral("ERROR"),
                              QStringLiteral("Fail to save the configuration file!"));
        return;
    }
    const QString fail = QStringLiteral("The configuration file updated fail!");
    if (result.code != 0)
        return platform::message(QStringLiteral("ERROR"), fail);
    ui->CB_UpgCom->setCurrentIndex(kConfigSaveItem);
    QvSNMPError failure;
    if (!pages::applyCommand(*upgrade_, failure))
        return platform::message(QStringLiteral("ERROR"), fail);
    platform::message(QStringLiteral("OK"),
                      QStringLiteral("The configuration file updated successfully!"));
    pages::waitForRestartUnlessSaved(this, [](TFM_Waiting& wait) {
        wait.ticksBeforeReboot = 5;
        wait.Label3->setText(QStringLiteral("Waiting for reboot..."));
    });
}

void TFM_CfgFile::setRunning(bool running) {
    running_ = running;
    for (QPushButton* button : {ui->Bt_Browse, ui->Bt_OK, ui->Bt_Upload, ui->Bt_SavBrw})
        button->setEnabled(!running);
}
