#include "pages/transfer/firmware_ssl.h"

#include "binding/address_checks.h"
#include "pages/transfer/command_step.h"
#include "pages/transfer/firmware_upload.h"
#include "pages/transfer/transfer_server.h"
#include "platform/file_chooser.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"
#include "tables/firmware_ssl.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
constexpr int kRebootItem = 3;     // CB_UpgCom: "Reboot"
constexpr int kCertUpdateItem = 0; // CB_SslUpdt: "sslcertupdate"
constexpr int kRestartTrue = 0;    // CB_Reboot: "True"

const QString kCertificateFilter = QStringLiteral("Certificates (*.der *.pem);;All files (*)");

// A label and its edit in one row of `grid`.
QLineEdit* labelled(QGridLayout* grid, int row, QLabel* label, QLineEdit* edit) {
    label->setBuddy(edit);
    grid->addWidget(label, row, 0);
    grid->addWidget(edit, row, 1);
    return edit;
}
} // namespace

TFM_FirewareSSL::TFM_FirewareSSL(QWidget* owner) : pages::Page(owner) {
    setWindowTitle(QStringLiteral("Tools \\ Firmware Update and  SSL"));

    GroupBox1 = pages::named(
        new QGroupBox(QStringLiteral("Update Firmware From Local Hard Drive"), this), "GroupBox1");
    La_File = pages::named(new QLabel(QStringLiteral("Upgrade File:"), GroupBox1), "La_File");
    Ed_UpgFile = pages::named(new QLineEdit(GroupBox1), "Ed_UpgFile");
    Bt_Browse = pages::named(new QPushButton(QStringLiteral("Browse"), GroupBox1), "Bt_Browse");
    Bt_Upload = pages::named(new QPushButton(QStringLiteral("Upload"), GroupBox1), "Bt_Upload");
    Label1 = pages::named(new QLabel(QStringLiteral("Fireware Version:"), GroupBox1), "Label1");
    Ed_FwVersion = pages::named(new QLineEdit(GroupBox1), "Ed_FwVersion");
    Ed_FwVersion->setReadOnly(true);
    Ed_FwVersion->setFrame(false);
    Ed_TfpSrv = pages::named(new QLineEdit(GroupBox1), "Ed_TfpSrv");
    CB_TfpCom = pages::named(new QComboBox(GroupBox1), "CB_TfpCom");
    CB_UpgCom = pages::named(new QComboBox(GroupBox1), "CB_UpgCom");
    CB_FwUpdt = pages::named(new QComboBox(GroupBox1), "CB_FwUpdt");
    La_Progress = pages::named(new QLabel(GroupBox1), "La_Progress");
    La_Progress->setAccessibleName(QStringLiteral("Transfer progress"));
    auto* firmware = new QGridLayout(GroupBox1);
    labelled(firmware, 0, La_File, Ed_UpgFile);
    firmware->addWidget(Bt_Browse, 0, 2);
    labelled(firmware, 1, Label1, Ed_FwVersion);
    firmware->addWidget(Bt_Upload, 1, 2);
    firmware->addWidget(La_Progress, 2, 0, 1, 3);
    firmware->setColumnMinimumWidth(1, 260);

    GroupBox3 = pages::named(new QGroupBox(QStringLiteral("FTP Settings"), this), "GroupBox3");
    Label2 = pages::named(new QLabel(QStringLiteral("FTP Server IP :"), GroupBox3), "Label2");
    Ed_FtpSrv = pages::named(new QLineEdit(GroupBox3), "Ed_FtpSrv");
    Label3 = pages::named(new QLabel(QStringLiteral("User Name :"), GroupBox3), "Label3");
    Ed_UserName = pages::named(new QLineEdit(GroupBox3), "Ed_UserName");
    Label4 = pages::named(new QLabel(QStringLiteral("Password :"), GroupBox3), "Label4");
    Ed_Password = pages::named(new QLineEdit(GroupBox3), "Ed_Password");
    Ed_Password->setEchoMode(QLineEdit::Password);
    auto* ftp = new QGridLayout(GroupBox3);
    labelled(ftp, 0, Label2, Ed_FtpSrv);
    labelled(ftp, 1, Label3, Ed_UserName);
    labelled(ftp, 2, Label4, Ed_Password);
    ftp->setColumnMinimumWidth(1, 260);

    GroupBox2 = pages::named(
        new QGroupBox(QStringLiteral("Update SSL Certification From Local Hard Drive"), this),
        "GroupBox2");
    LA_Certificate = pages::named(
        new QLabel(QStringLiteral("Upload Certificate From File :"), GroupBox2), "LA_Certificate");
    EDT_Certificate = pages::named(new QLineEdit(GroupBox2), "EDT_Certificate");
    Bt_CBrowse = pages::named(new QPushButton(QStringLiteral("Browse"), GroupBox2), "Bt_CBrowse");
    LA_Key =
        pages::named(new QLabel(QStringLiteral("Upload Key From File : "), GroupBox2), "LA_Key");
    EDT_Key = pages::named(new QLineEdit(GroupBox2), "EDT_Key");
    Bt_KBrowse = pages::named(new QPushButton(QStringLiteral("Browse"), GroupBox2), "Bt_KBrowse");
    Bt_CUpload = pages::named(new QPushButton(QStringLiteral("Upload"), GroupBox2), "Bt_CUpload");
    CB_SslUpdt = pages::named(new QComboBox(GroupBox2), "CB_SslUpdt");
    CB_Reboot = pages::named(new QComboBox(GroupBox2), "CB_Reboot");
    auto* certificate = new QGridLayout(GroupBox2);
    labelled(certificate, 0, LA_Certificate, EDT_Certificate);
    certificate->addWidget(Bt_CBrowse, 0, 2);
    labelled(certificate, 1, LA_Key, EDT_Key);
    certificate->addWidget(Bt_KBrowse, 1, 2);
    certificate->addWidget(Bt_CUpload, 2, 2);
    certificate->setColumnMinimumWidth(1, 260);

    for (QWidget* hidden : std::initializer_list<QWidget*>{Ed_TfpSrv, CB_TfpCom, CB_UpgCom,
                                                           CB_FwUpdt, CB_SslUpdt, CB_Reboot})
        hidden->hide();

    StatusBar = pages::named(new QStatusBar(this), "StatusBar");
    StatusBar->setSizeGripEnabled(false);
    statusPanel = new QLabel(StatusBar);
    statusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusBar->addWidget(statusPanel, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(GroupBox3);
    layout->addWidget(GroupBox2);
    layout->addWidget(StatusBar);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Bt_Browse, &QPushButton::clicked, this, &TFM_FirewareSSL::Bt_BrowseClick);
    connect(Bt_CBrowse, &QPushButton::clicked, this, &TFM_FirewareSSL::Bt_CBrowseClick);
    connect(Bt_KBrowse, &QPushButton::clicked, this, &TFM_FirewareSSL::Bt_KBrowseClick);
    connect(Bt_Upload, &QPushButton::clicked, this, &TFM_FirewareSSL::Bt_UploadClick);
    connect(Bt_CUpload, &QPushButton::clicked, this, &TFM_FirewareSSL::Bt_CUploadClick);

    server_ = new pages::TransferServer(this, 3000, 3, La_Progress);
    keepOpenWhile([this] { return certificateRunning_ || server_->transferring(); });
    try {
        ftp_ = addRequest(tables::firmware_ssl::kFtp, SVT_SV, 0, statusPanel);
        ftp_->mode = 1;
        ftp_->BindFormat(0, QStringLiteral("%s"), Ed_FtpSrv);
        ftp_->BindFormat(1, QStringLiteral("%s"), Ed_UserName);
        ftp_->BindFormat(2, QStringLiteral("%s"), Ed_Password);
        ftp_->Refresh();
        version_ = addRequest(tables::firmware_ssl::kVersion, SVT_SV, 0, statusPanel);
        version_->mode = 1;
        version_->BindFormat(0, QStringLiteral("%s"), Ed_FwVersion);
        version_->Refresh();
        certificate_ = addRequest(tables::firmware_ssl::kCertificate, SVT_SV, 0, statusPanel);
        certificate_->mode = 1;
        certificate_->timeout = 30000;
        certificate_->BindFormat(0, QStringLiteral("%s"), EDT_Certificate);
        certificate_->BindFormat(1, QStringLiteral("%s"), EDT_Key);
        certificate_->BindComboBox(2, CB_SslUpdt);
        pages::onSetAnswer(*certificate_, this,
                           [this](const QvSNMPError& e) { certificateHandler(e); });
        restart_ = addRequest(tables::firmware_ssl::kRestart, SVT_SV, 0, statusPanel);
        restart_->mode = 1;
        restart_->BindComboBox(0, CB_Reboot);
        upload_ = new pages::FirmwareUpload(
            this, server_, {Ed_UpgFile, Ed_TfpSrv, CB_TfpCom, CB_UpgCom, StatusBar, StatusBar},
            {60, true});
        upload_->enableButtons = [this](bool on) { enableUploads(on); };
    } catch (const QvException& e) {
        statusPanel->setText(e.text());
    }
}

TFM_FirewareSSL::~TFM_FirewareSSL() = default;

void TFM_FirewareSSL::Bt_BrowseClick() {
    if (upload_)
        upload_->browse();
}

void TFM_FirewareSSL::Bt_CBrowseClick() {
    if (const auto file = platform::fileChooser().openFile(
            QStringLiteral("Upload Certificate From File"), kCertificateFilter))
        EDT_Certificate->setText(*file);
}

void TFM_FirewareSSL::Bt_KBrowseClick() {
    if (const auto file = platform::fileChooser().openFile(QStringLiteral("Upload Key From File"),
                                                           kCertificateFilter))
        EDT_Key->setText(*file);
}

void TFM_FirewareSSL::Bt_UploadClick() {
    if (upload_ && !certificateRunning_)
        upload_->start();
}

void TFM_FirewareSSL::Bt_CUploadClick() {
    if (!certificate_ || certificateRunning_ || (upload_ && upload_->running()))
        return;
    CB_UpgCom->setCurrentIndex(kRebootItem);
    const QString warning = QStringLiteral("Warning");
    if (!qv::isHostAddress(Ed_FtpSrv->text())) {
        pages::refuse(QStringLiteral("Please input valid IP Address for FTP Server."), warning);
        Ed_FtpSrv->clear();
        return;
    }
    for (QLineEdit* edit : {EDT_Certificate, EDT_Key}) {
        const QString name = edit->text();
        if (name.isEmpty())
            return void(
                pages::refuse(QStringLiteral("Empty file is not accepted!"), warning, edit));
        if (!name.contains(QStringLiteral(".der")) && !name.contains(QStringLiteral(".pem")))
            return void(pages::refuse(QStringLiteral("File format error! Please try again."),
                                      warning, edit));
    }
    statusPanel->setText(QStringLiteral("Load file, please wait...!"));
    CB_SslUpdt->setCurrentIndex(kCertUpdateItem);
    certificateRunning_ = true;
    enableUploads(false);
    // The device must hold the FTP account before it is told to fetch: a refused account stops
    // the update here.
    ftp_->mode = 0;
    QvSNMPError failure;
    const bool accountTaken = pages::applyCommand(*ftp_, failure);
    ftp_->mode = 1;
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
    CB_Reboot->setCurrentIndex(kRestartTrue);
    QvSNMPError failure;
    pages::applyCommand(*restart_, failure);
    certificateRunning_ = false;
    pages::waitForRestart(this);
}

void TFM_FirewareSSL::enableUploads(bool on) {
    Bt_Upload->setEnabled(on);
    Bt_CUpload->setEnabled(on);
    Bt_Browse->setEnabled(on);
}
