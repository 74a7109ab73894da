#include "pages/transfer/firmware_ssl.h"

#include "binding/address_checks.h"
#include "pages/transfer/command_step.h"
#include "pages/transfer/firmware_upload.h"
#include "pages/transfer/transfer_server.h"
#include "platform/file_chooser.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"
#include "tables/firmware_ssl.h"

#include <QLabel>

namespace {
constexpr int kRebootItem = 3;     // ui->CB_UpgCom: "Reboot"
constexpr int kCertUpdateItem = 0; // ui->CB_SslUpdt: "sslcertupdate"
constexpr int kRestartTrue = 0;    // ui->CB_Reboot: "True"

const QString kCertificateFilter = QStringLiteral("Certificates (*.der *.pem);;All files (*)");

} // namespace

TFM_FirewareSSL::TFM_FirewareSSL(QWidget* owner) : FormPage(owner) {
    statusPanel = pages::addStatusPanel(ui->StatusBar);
    setStatusOutput(statusPanel);
    handle(ui->Bt_Browse, &QPushButton::clicked, &TFM_FirewareSSL::Bt_BrowseClick);
    handle(ui->Bt_CBrowse, &QPushButton::clicked, &TFM_FirewareSSL::Bt_CBrowseClick);
    handle(ui->Bt_KBrowse, &QPushButton::clicked, &TFM_FirewareSSL::Bt_KBrowseClick);
    handle(ui->Bt_Upload, &QPushButton::clicked, &TFM_FirewareSSL::Bt_UploadClick);
    handle(ui->Bt_CUpload, &QPushButton::clicked, &TFM_FirewareSSL::Bt_CUploadClick);

    server_ = new pages::TransferServer(this, 3000, 3, ui->La_Progress);
    keepOpenWhile([this] { return certificateRunning_ || server_->transferring(); });
    guard([this] {
        namespace tfs = tables::firmware_ssl;
        const pages::RequestOptions async{.status = statusPanel, .asynchronous = true};
        ftp_ = addRequest(tfs::kFtp, async);
        pages::bind(*ftp_, {{tfs::kFtpServer, ui->Ed_FtpSrv},
                            {tfs::kFtpUser, ui->Ed_UserName},
                            {tfs::kFtpPassword, ui->Ed_Password}});
        ftp_->Refresh();
        version_ = addRequest(tfs::kVersion, async);
        pages::bind(*version_, {{tfs::kFirmwareVersion, ui->Ed_FwVersion}});
        version_->Refresh();
        certificate_ = addRequest(tfs::kCertificate,
                                  {.status = statusPanel, .asynchronous = true, .timeout = 30000});
        pages::bind(*certificate_, {{tfs::kCertificateFile, ui->EDT_Certificate},
                                    {tfs::kKeyFile, ui->EDT_Key},
                                    {tfs::kSslCommand, ui->CB_SslUpdt}});
        certificate_->OnSetCompleteLater(this,
                                         [this](const QvSNMPError& e) { certificateHandler(e); });
        restart_ = addRequest(tfs::kRestart, async);
        pages::bind(*restart_, {{tfs::kRestartAfterUpdate, ui->CB_Reboot}});
        upload_ = new pages::FirmwareUpload(this, server_,
                                            {ui->Ed_UpgFile, ui->Ed_TfpSrv, ui->CB_TfpCom,
                                             ui->CB_UpgCom, ui->StatusBar, ui->StatusBar},
                                            {60, true});
        upload_->enableButtons = [this](bool on) { enableUploads(on); };
    });
}

TFM_FirewareSSL::~TFM_FirewareSSL() = default;

void TFM_FirewareSSL::Bt_BrowseClick() {
    if (upload_)
        upload_->browse();
}

void TFM_FirewareSSL::Bt_CBrowseClick() {
    if (const auto file = platform::fileChooser().openFile(
            QStringLiteral("Upload Certificate From File"), kCertificateFilter))
        ui->EDT_Certificate->setText(*file);
}

void TFM_FirewareSSL::Bt_KBrowseClick() {
    if (const auto file = platform::fileChooser().openFile(QStringLiteral("Upload Key From File"),
                                                           kCertificateFilter))
        ui->EDT_Key->setText(*file);
}

void TFM_FirewareSSL::Bt_UploadClick() {
    if (upload_ && !certificateRunning_)
        upload_->start();
}

void TFM_FirewareSSL::Bt_CUploadClick() {
    if (!certificate_ || certificateRunning_ || (upload_ && upload_->running()))
        return;
    ui->CB_UpgCom->setCurrentIndex(kRebootItem);
    const QString warning = QStringLiteral("Warning");
    if (!qv::isHostAddress(ui->Ed_FtpSrv->text())) {
        pages::refuse(QStringLiteral("Please input valid IP Address for FTP Server."), warning);
        ui->Ed_FtpSrv->clear();
        return;
    }
    for (QLineEdit* edit : {ui->EDT_Certificate, ui->EDT_Key}) {
        const QString name = edit->text();
        if (name.isEmpty())
            return void(
                pages::refuse(QStringLiteral("Empty file is not accepted!"), warning, edit));
        if (!name.contains(QStringLiteral(".der")) && !name.contains(QStringLiteral(".pem")))
            return void(pages::refuse(QStringLiteral("File format error! Please try again."),
                                      warning, edit));
    }
    statusPanel->setText(QStringLiteral("Load file, please wait...!"));
    ui->CB_SslUpdt->setCurrentIndex(kCertUpdateItem);
    certificateRunning_ = true;
    enableUploads(false);
    // The device must hold the FTP account before it is told to fetch: a refused account stops
    // the update here.
    ftp_->mode = QvSNMPRequest2Controls::synchronous;
    QvSNMPError failure;
    const bool accountTaken = pages::applyCommand(*ftp_, failure);
    ftp_->mode = QvSNMPRequest2Controls::asynchronous;
    if (!accountTaken || !pages::applyCommand(*certificate_, failure))
        certificateHandler(failure);
}

void TFM_FirewareSSL::certificateHandler(const QvSNMPError& result) {
    enableUploads(true);
    if (result.code != 0) {
        certificateRunning_ = false;
        statusPanel->setText(
            QStringLiteral("Update SSL certificate fail!  Please check FTP server and file name."));
        platform::message(QStringLiteral("Warning"),
                          QStringLiteral("Write file fail!Please restart AP and try again!"));
        return;
    }
    statusPanel->setText(QStringLiteral("Update SSL certificate success!"));
    ui->CB_Reboot->setCurrentIndex(kRestartTrue);
    QvSNMPError failure;
    pages::applyCommand(*restart_, failure);
    certificateRunning_ = false;
    pages::waitForRestart(this);
}

void TFM_FirewareSSL::enableUploads(bool on) {
    ui->Bt_Upload->setEnabled(on);
    ui->Bt_CUpload->setEnabled(on);
    ui->Bt_Browse->setEnabled(on);
}
