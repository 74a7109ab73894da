// Tools \ Firmware against the simulated device: the checks of the chosen path, the upload over
// the module's TFTP server, the firmware update and the single restart, and the page's close rule
// while a transfer runs.
#include "app/wait_dialog.h"
#include "pages/page_list.h"
#include "pages/transfer/firmware.h"
#include "pages/transfer/firmware_upload.h"
#include "pages/transfer/transfer_server.h"
#include "tests/support/page_window.h"
#include "tests/support/transfer_fixture.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {

using test::devMibOid;

class FirmwarePage : public test::PageWindow<TFM_Firmware, test::TransferWindow> {
protected:
    void openPage(const QString& profile = "early") {
        start(profile);
        showPage();
        sim->clearJournal();
    }
    // Runs OK and lets the whole flow play out: transfer, wait dialogs, restart command.
    void runUpload(const QString& path) {
        page->ui->Ed_UpgFile->setText(path);
        page->Bt_OKClick();
        ASSERT_TRUE(settle(*page, [&] { return page->upload()->running(); }))
            << prompter.texts().join("; ").toStdString();
    }
};

TEST_F(FirmwarePage, PathChecksRefuseBeforeAnythingIsSent) {
    openPage();
    const QString d = files();
    ASSERT_TRUE(test::writeFile(d + "/image.bin", "x"));
    ASSERT_TRUE(test::writeFile(d + "/IMAGE.TFP", "x"));
    const QString noFile = "Please put in the firmware file & path.";
    const QString invalid = "Please put in valid firmware file & path.";
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {"", noFile},
        {d + "/", noFile},
        {d + "\\", noFile},
        {d + "/image.bin", invalid},   // not a firmware image
        {d + "/IMAGE.TFP", invalid},   // the extension is compared as written
        {d + "/missing.tfp", invalid}, // no such file
    };
    for (const auto& c : cases) {
        prompter.shown.clear();
        page->ui->Ed_UpgFile->setText(c.path);
        page->Bt_OKClick();
        ASSERT_EQ(prompter.shown.size(), 1) << c.path.toStdString();
        EXPECT_EQ(prompter.shown[0].caption, "Warning");
        EXPECT_EQ(prompter.shown[0].text, c.message) << c.path.toStdString();
        EXPECT_FALSE(page->upload()->running());
    }
    EXPECT_TRUE(sets().isEmpty()) << sets().join("; ").toStdString();
}

TEST_F(FirmwarePage, DeviceOnAForeignSubnetGetsNoTransfer) {
    openPage();
    QvNetInterface lan;
    lan.address = "192.168.7.10";
    lan.netmask = "255.255.255.0";
    lan.up = true;
    platform::setLocalInterfacesOverride(QList<QvNetInterface>{lan});
    const QString path = files() + "/image.tfp";
    ASSERT_TRUE(test::writeFile(path, test::firmwareImage("v3.01", "abc")));
    page->ui->Ed_UpgFile->setText(path);
    page->Bt_OKClick();
    EXPECT_EQ(prompter.texts(), QStringList{"Invalid Server IP Address or SNMP timed out!"});
    EXPECT_TRUE(page->ui->Ed_TfpSrv->text().isEmpty());
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(FirmwarePage, UpgradeSendsAddressNameGetUpdateAndOneReboot) {
    openPage();
    // Three full blocks and a short one; the new version runs after the restart.
    const QByteArray image = test::firmwareImage("v3.01", test::patternBytes(3 * 512 + 100 - 32));
    const QString path = files() + "/image.tfp";
    ASSERT_TRUE(test::writeFile(path, image));

    runUpload(path);

    EXPECT_EQ(sets(), (QStringList{devMibOid("3.3.1.0=127.0.0.1,") + devMibOid("3.3.2.0=image.tfp"),
                                   devMibOid("3.3.4.0=2"), devMibOid("3.3.5.0=1"),
                                   devMibOid("3.3.5.0=4")}));
    EXPECT_TRUE(flashFile("image.tfp") == image) << flashFile("image.tfp").size();
    EXPECT_EQ(page->ui->Ed_UpgFile->text(), path); // the full path comes back after the send
    EXPECT_TRUE(page->ui->StatusBar->currentMessage().endsWith("!"))
        << page->ui->StatusBar->currentMessage().toStdString();
    EXPECT_EQ(page->ui->La_Progress->text(),
              QString("image.tfp: %1 bytes sent, transfer complete").arg(image.size()));
    EXPECT_TRUE(page->ui->Bt_OK->isEnabled());
    // The reboot went out with a short time-out: a device that restarts before it answers
    // does not keep the page waiting for minutes.
    EXPECT_EQ(page->upload()->upgradeList()->timeout, 200);

    ASSERT_TRUE(waitFor([&] { return !events("ready").isEmpty(); }));
    EXPECT_EQ(sim->value("devMib.4.1.1.1.0")["value"].toString(), "v3.01");
}

TEST_F(FirmwarePage, ProgressFollowsTheTransferInTheWaitDialog) {
    openPage();
    const QByteArray image = test::firmwareImage("v3.02", test::patternBytes(2000));
    const QString path = files() + "/image.tfp";
    ASSERT_TRUE(test::writeFile(path, image));
    page->ui->Ed_UpgFile->setText(path);
    page->Bt_OKClick();
    // While the device loads the image the wait dialogs show what was sent. They run their
    // own event loops, so a timer looks at them.
    QStringList shown;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (TFM_Waiting* wait = waitDialog()) {
            shown << wait->Label3->text() + " | " + wait->findChild<QLabel*>("La_Transfer")->text();
            wait->secondsLeft = 0;
        }
    });
    look.start(10);
    ASSERT_TRUE(settle(*page, [&] { return page->upload()->running(); }));
    shown.removeDuplicates();
    const QString sent = QString("image.tfp: %1 bytes sent, transfer complete").arg(image.size());
    EXPECT_EQ(shown, (QStringList{"Loading firmware file... | " + sent,
                                  "Updating firmware file... | " + sent}));
}

TEST_F(FirmwarePage, BadImageIsRefusedWithoutRestart) {
    openPage();
    QByteArray image = test::firmwareImage("v3.01", test::patternBytes(700));
    image[image.size() - 1] = static_cast<char>(image[image.size() - 1] + 1); // checksum fails
    const QString path = files() + "/broken.tfp";
    ASSERT_TRUE(test::writeFile(path, image));

    runUpload(path);

    EXPECT_EQ(sets(),
              (QStringList{devMibOid("3.3.1.0=127.0.0.1,") + devMibOid("3.3.2.0=broken.tfp"),
                           devMibOid("3.3.4.0=2"), devMibOid("3.3.5.0=1")}));
    EXPECT_TRUE(events("restart").isEmpty());
    EXPECT_EQ(page->ui->StatusBar->currentMessage(),
              "(SNMP) Cannot create/set variable, Inconsistent Value!")
        << page->ui->StatusBar->currentMessage().toStdString();
    EXPECT_EQ(sim->value("devMib.4.1.1.1.0")["value"].toString(), "v1.12");
}

TEST_F(FirmwarePage, FailedFetchTakesTheFailureBranch) {
    openPage();
    const QString path = files() + "/image.tfp";
    ASSERT_TRUE(test::writeFile(path, test::firmwareImage("v3.01", "abc")));
    page->ui->Ed_UpgFile->setText(path);
    page->Bt_OKClick();
    // Gone before the device's read request arrives (the server only sees it from the event
    // loop): the device answers the "Get" with an error.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(settle(*page, [&] { return page->upload()->running(); }));
    EXPECT_EQ(prompter.texts(), QStringList{"Cant Perform Operation,Please try again!"});
    EXPECT_EQ(prompter.shown[0].caption, "Warning");
    EXPECT_EQ(sets().size(), 2); // address and name, then "Get": no update, no restart
    ASSERT_EQ(events("transfer").size(), 1);
    EXPECT_NE(events("transfer")[0]["result"].toString(), "ok");
    EXPECT_EQ(page->ui->La_Progress->text(), "image.tfp: (QvTFTP) File not found!");
    EXPECT_TRUE(page->ui->Bt_OK->isEnabled());
}

TEST_F(FirmwarePage, CloseIsRefusedWhileTheTransferRuns) {
    openPage();
    const QString path = files() + "/image.tfp";
    ASSERT_TRUE(test::writeFile(path, test::firmwareImage("v3.01", test::patternBytes(4000))));
    // The device acknowledges the command late: the page has an exchange outstanding.
    ASSERT_TRUE(sim->command("delay devMib.3.3.4 1500 set"));
    page->ui->Ed_UpgFile->setText(path);
    page->Bt_OKClick();
    EXPECT_FALSE(page->ui->Bt_OK->isEnabled());
    page->reject();
    page->close();
    EXPECT_TRUE(page->isVisible());
    ASSERT_TRUE(settle(
        *page, [&] { return page->upload()->running(); }, true));
    // The late answer still led to the update and the restart.
    EXPECT_EQ(sets().size(), 4);
    EXPECT_EQ(events("firmware").size(), 1);
    page->reject();
    EXPECT_FALSE(page->isVisible());
}

TEST_F(FirmwarePage, TakenTftpPortClosesThePageNotTheModule) {
    start("early");
    QUdpSocket blocker;
    ASSERT_TRUE(blocker.bind(QHostAddress::AnyIPv4, tftpPort, QAbstractSocket::DontShareAddress));
    TFM_Firmware firmware(form.get());
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_TRUE(prompter.shown[0].text.startsWith("TFTP Service Init Error:(QvTFTP) Fail to open"))
        << prompter.shown[0].text.toStdString();
    EXPECT_EQ(firmware.exec(), QDialog::Rejected);
    // The module is still there and still talks to the device.
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(flag("Ed_SSLSupport").isNull());
}

TEST_F(FirmwarePage, ToolsMenuOpensTheTransferPageTheDeviceNeeds) {
    app::setPageFactories(pages::all());
    const struct {
        QString profile;
        const char* item;
        const char* page;
    } cases[] = {
        {"early", "Firmware1", "TFM_Firmware"},     // no SSL support
        {"recent", "Firmware1", "TFM_FirewareSSL"}, // SSL support
        {"early", "tUpdate2", "TFM_CfgFile"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page);
        start(c.profile);
        ASSERT_TRUE(waitFor([&] { return flag("Ed_SSLSupport") != "Ed_SSLSupport"; }));
        QString opened;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = modal->metaObject()->className();
                qobject_cast<QDialog*>(modal)->reject();
            }
        });
        look.start(10);
        form->findChild<QAction*>(c.item)->trigger();
        EXPECT_EQ(opened, c.page);
        form.reset();
        sim.reset();
    }
    app::setPageFactories({});
}

TEST_F(FirmwarePage, RefusedAddressStopsTheUploadBeforeTheCommand) {
    openPage();
    const QString path = files() + "/image.tfp";
    ASSERT_TRUE(test::writeFile(path, test::firmwareImage("v3.01", "abc")));
    ASSERT_TRUE(sim->command("error devMib.3.3.1 17 set"));
    runUpload(path);
    EXPECT_EQ(prompter.texts(), QStringList{"Cant Perform Operation,Please try again!"});
    EXPECT_EQ(sets().size(), 1); // the refused address list; no "Get"
    EXPECT_TRUE(events("transfer").isEmpty());
    EXPECT_TRUE(page->ui->Bt_OK->isEnabled());
}

} // namespace
