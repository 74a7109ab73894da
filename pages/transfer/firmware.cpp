#include "pages/transfer/firmware.h"

#include "pages/transfer/firmware_upload.h"
#include "pages/transfer/transfer_server.h"
#include "platform/file_chooser.h"
#include "snmplib/qv_exception.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

TFM_Firmware::TFM_Firmware(QWidget* owner) : pages::Page(owner) {
    setWindowTitle(QStringLiteral("Tools \\ Firmware"));
    La_File = pages::named(new QLabel(QStringLiteral("Upgrade File:"), this), "La_File");
    Ed_UpgFile = pages::named(new QLineEdit(this), "Ed_UpgFile");
    La_File->setBuddy(Ed_UpgFile);
    Bt_Browse = pages::named(new QPushButton(QStringLiteral("Browse"), this), "Bt_Browse");
    Bt_OK = pages::named(new QPushButton(QStringLiteral("OK"), this), "Bt_OK");
    Bt_OK->setDefault(true);
    La_Progress = pages::named(new QLabel(this), "La_Progress");
    La_Progress->setAccessibleName(QStringLiteral("Transfer progress"));
    StatusBar = pages::named(new QStatusBar(this), "StatusBar");
    StatusBar->setSizeGripEnabled(false);

    La_TftpSrv = pages::named(new QLabel(QStringLiteral("Tftp Server:"), this), "La_TftpSrv");
    Ed_TfpSrv = pages::named(new QLineEdit(this), "Ed_TfpSrv");
    La_UpComm = pages::named(new QLabel(QStringLiteral("TftpComm:"), this), "La_UpComm");
    CB_TfpCom = pages::named(new QComboBox(this), "CB_TfpCom");
    La_UpgrdComm = pages::named(new QLabel(QStringLiteral("UpgrdComm:"), this), "La_UpgrdComm");
    CB_UpgCom = pages::named(new QComboBox(this), "CB_UpgCom");
    StatusBar1 = pages::named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setFixedHeight(3);
    StatusBar1->setSizeGripEnabled(false);
    StatusBar2 = pages::named(new QStatusBar(this), "StatusBar2");
    for (QWidget* hidden : {static_cast<QWidget*>(La_TftpSrv), static_cast<QWidget*>(Ed_TfpSrv),
                            static_cast<QWidget*>(La_UpComm), static_cast<QWidget*>(CB_TfpCom),
                            static_cast<QWidget*>(La_UpgrdComm), static_cast<QWidget*>(CB_UpgCom),
                            static_cast<QWidget*>(StatusBar2)})
        hidden->hide();

    auto* grid = new QGridLayout;
    grid->addWidget(La_File, 0, 0);
    grid->addWidget(Ed_UpgFile, 0, 1);
    grid->addWidget(Bt_Browse, 0, 2);
    grid->addWidget(La_Progress, 1, 0, 1, 2);
    grid->addWidget(Bt_OK, 1, 2);
    grid->setColumnMinimumWidth(1, 260);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(StatusBar1);
    layout->addWidget(StatusBar);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(Bt_Browse, &QPushButton::clicked, this, &TFM_Firmware::Bt_BrowseClick);
    connect(Bt_OK, &QPushButton::clicked, this, &TFM_Firmware::Bt_OKClick);

    server_ = new pages::TransferServer(this, 3000, 3, La_Progress);
    keepOpenWhile([this] { return server_->transferring(); });
    try {
        upload_ = new pages::FirmwareUpload(
            this, server_, {Ed_UpgFile, Ed_TfpSrv, CB_TfpCom, CB_UpgCom, StatusBar, StatusBar2},
            {40, false});
        upload_->enableButtons = [this](bool on) {
            Bt_OK->setEnabled(on);
            Bt_Browse->setEnabled(on);
        };
    } catch (const QvException& e) {
        pages::showStatus(StatusBar, e.text());
    }
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
