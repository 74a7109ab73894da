#include "pages/transfer/config_file.h"

#include "pages/transfer/command_step.h"
#include "pages/transfer/transfer_server.h"
#include "platform/file_chooser.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"
#include "tables/config_file.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
constexpr int kGetItem = 1;        // CB_TfpCom: "Get"
constexpr int kPutItem = 2;        // CB_TfpCom: "Put"
constexpr int kConfigSaveItem = 2; // CB_UpgCom: "Configsave"

const QString kFilter = QStringLiteral("kcf文档 (*.kcf);;所有文件 (*.*)");
} // namespace

TFM_CfgFile::TFM_CfgFile(QWidget* owner) : pages::Page(owner) {
    setWindowTitle(QStringLiteral("Tools \\ Configuration File"));
    Label1 =
        pages::named(new QLabel(QStringLiteral("Download Configuration File "), this), "Label1");
    GB_UpdateFile = pages::named(new QGroupBox(QStringLiteral("Update Configuration File "), this),
                                 "GB_UpdateFile");
    Label3 = pages::named(new QLabel(QStringLiteral("Update File"), GB_UpdateFile), "Label3");
    Ed_UpgFile = pages::named(new QLineEdit(GB_UpdateFile), "Ed_UpgFile");
    Label3->setBuddy(Ed_UpgFile);
    Bt_Browse = pages::named(new QPushButton(QStringLiteral("Browse"), GB_UpdateFile), "Bt_Browse");
    Bt_OK = pages::named(new QPushButton(QStringLiteral("OK"), GB_UpdateFile), "Bt_OK");
    GB_SaveFile = pages::named(
        new QGroupBox(QStringLiteral("Load Settings to Local Hard Drive"), this), "GB_SaveFile");
    Label4 = pages::named(new QLabel(QStringLiteral("Save File"), GB_SaveFile), "Label4");
    Ed_SaveFile = pages::named(new QLineEdit(GB_SaveFile), "Ed_SaveFile");
    Ed_SaveFile->setReadOnly(true);
    QPalette face = Ed_SaveFile->palette(); // read-only: drawn in the button-face colour
    face.setColor(QPalette::Base, face.color(QPalette::Button));
    Ed_SaveFile->setPalette(face);
    Label4->setBuddy(Ed_SaveFile);
    Bt_Upload = pages::named(new QPushButton(QStringLiteral("DownLoad"), GB_SaveFile), "Bt_Upload");
    Bt_SavBrw = pages::named(new QPushButton(QStringLiteral("Browse"), GB_SaveFile), "Bt_SavBrw");
    Bt_SavBrw->hide();
    La_Progress = pages::named(new QLabel(this), "La_Progress");
    La_Progress->setAccessibleName(QStringLiteral("Transfer progress"));
    StatusBar = pages::named(new QStatusBar(this), "StatusBar");
    StatusBar->setSizeGripEnabled(false);

    La_TftpSrv = pages::named(new QLabel(QStringLiteral("Tftp Server:"), this), "La_TftpSrv");
    La_TftpSrv->setEnabled(false);
    Ed_TfpSrv = pages::named(new QLineEdit(this), "Ed_TfpSrv");
    La_UpComm = pages::named(new QLabel(QStringLiteral("TftpComm:"), this), "La_UpComm");
    CB_TfpCom = pages::named(new QComboBox(this), "CB_TfpCom");
    La_UpgrdComm = pages::named(new QLabel(QStringLiteral("UpgrdComm:"), this), "La_UpgrdComm");
    CB_UpgCom = pages::named(new QComboBox(this), "CB_UpgCom");
    for (QWidget* hidden : std::initializer_list<QWidget*>{La_TftpSrv, Ed_TfpSrv, La_UpComm,
                                                           CB_TfpCom, La_UpgrdComm, CB_UpgCom})
        hidden->hide();

    auto* update = new QGridLayout(GB_UpdateFile);
    update->addWidget(Label3, 0, 0);
    update->addWidget(Ed_UpgFile, 0, 1);
    update->addWidget(Bt_Browse, 0, 2);
    update->addWidget(Bt_OK, 1, 2);
    update->setColumnMinimumWidth(1, 260);
    auto* save = new QGridLayout(GB_SaveFile);
    save->addWidget(Label4, 0, 0);
    save->addWidget(Ed_SaveFile, 0, 1);
    save->addWidget(Bt_SavBrw, 0, 2);
    save->addWidget(Bt_Upload, 1, 2);
    save->setColumnMinimumWidth(1, 260);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(GB_UpdateFile);
    layout->addWidget(GB_SaveFile);
    layout->addWidget(La_Progress);
    layout->addWidget(StatusBar);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Bt_Browse, &QPushButton::clicked, this, &TFM_CfgFile::Bt_BrowseClick);
    connect(Bt_SavBrw, &QPushButton::clicked, this, &TFM_CfgFile::Bt_SavBrwClick);
    connect(Bt_OK, &QPushButton::clicked, this, &TFM_CfgFile::Bt_OKClick);
    connect(Bt_Upload, &QPushButton::clicked, this, &TFM_CfgFile::Bt_UploadClick);

    try {
        address_ = addRequest(tables::config_file::kAddress, SVT_SV, 0, StatusBar);
        address_->BindFormat(0, QStringLiteral("%s"), Ed_TfpSrv);
        address_->BindFormat(1, QStringLiteral("%s"), Ed_UpgFile);
        upgrade_ = addRequest(tables::config_file::kUpgradeCommand, SVT_SV, 0, StatusBar);
        upgrade_->timeout = 30000;
        upgrade_->BindComboBox(0, CB_UpgCom);
        command_ = addRequest(tables::config_file::kTftpCommand, SVT_SV, 0, StatusBar);
        command_->mode = 1;
        command_->timeout = 10000;
        command_->BindComboBox(0, CB_TfpCom);
        pages::onSetAnswer(*command_, this, [this](const QvSNMPError& e) { commandHandler(e); });
    } catch (const QvException& e) {
        pages::showStatus(StatusBar, e.text());
    }

    server_ = new pages::TransferServer(this, 300, 3, La_Progress);
    keepOpenWhile([this] { return running_ || server_->transferring(); });
}

TFM_CfgFile::~TFM_CfgFile() = default;

void TFM_CfgFile::Bt_BrowseClick() {
    if (const auto file = platform::fileChooser().openFile(
            QStringLiteral("Update Configuration File"), kFilter)) {
        Ed_SaveFile->clear();
        Ed_UpgFile->setText(*file);
    }
}

void TFM_CfgFile::Bt_SavBrwClick() {
    if (const auto file = platform::fileChooser().saveFile(
            QStringLiteral("Load Settings to Local Hard Drive"), kFilter, QString())) {
        Ed_SaveFile->clear();
        Ed_SaveFile->setText(*file);
    }
}

void TFM_CfgFile::Bt_OKClick() {
    if (running_ || !command_)
        return;
    const QString warning = QStringLiteral("Warning");
    const QString path = Ed_UpgFile->text();
    if (path.isEmpty())
        return void(pages::refuse(QStringLiteral("Empty file is not accepted."), warning));
    if (!platform::fileExists(path) || !path.toUpper().contains(QStringLiteral(".KCF")))
        return void(pages::refuse(QStringLiteral("File format error! Please try again!"), warning));
    const auto parts = server_->prepare(path, Ed_TfpSrv);
    if (!parts)
        return;
    Ed_UpgFile->setText(parts->name);
    saving = false;
    sendCommand(kGetItem);
    Ed_UpgFile->setText(path);
}

void TFM_CfgFile::Bt_UploadClick() {
    if (running_ || !command_)
        return;
    Bt_SavBrwClick();
    const QString warning = QStringLiteral("Warning");
    const QString path = Ed_SaveFile->text();
    if (path.isEmpty())
        return void(pages::refuse(QStringLiteral("Empty file is not accepted."), warning));
    const auto parts = server_->prepare(path, Ed_TfpSrv);
    if (!parts)
        return;
    QString name = parts->name;
    if (!name.toUpper().contains(QStringLiteral(".KCF")))
        name += QStringLiteral(".kcf");
    Ed_UpgFile->setText(name);
    La_TftpSrv->setEnabled(true);
    saving = true;
    sendCommand(kPutItem);
    Ed_UpgFile->clear();
    Ed_SaveFile->clear();
}

bool TFM_CfgFile::sendCommand(int item) {
    setRunning(true);
    QvSNMPError failure;
    // The device must hold the server address and name before it is told to move the file.
    if (!pages::applyCommand(*address_, failure)) {
        commandHandler(failure);
        return false;
    }
    CB_TfpCom->setCurrentIndex(item);
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
    CB_UpgCom->setCurrentIndex(kConfigSaveItem);
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
    for (QPushButton* button : {Bt_Browse, Bt_OK, Bt_Upload, Bt_SavBrw})
        button->setEnabled(!running);
}
