// Tools \ Firmware on devices with SSL support against the simulated device: the running version,
// the FTP account, the certificate update fetched by the device from an FTP server, and the
// firmware upload with its restart count-down.
#include "app/wait_dialog.h"
#include "pages/transfer/firmware_ssl.h"
#include "pages/transfer/firmware_upload.h"
#include "tests/support/page_window.h"
#include "tests/support/transfer_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace {

using test::devMibOid;

class FirmwareSslPage : public test::PageWindow<TFM_FirewareSSL, test::TransferWindow> {
protected:
    // The device's FTP account names the test's server; the page opens on a device with SSL
    // support and save-and-activate.
    void openPage(const QString& password = "certs-pass") {
        ftp = std::make_unique<test::FtpServer>(files(), "certs", "certs-pass");
        ASSERT_TRUE(ftp->ready()) << ftp->output().toStdString();
        start("recent", {"--ftp-port", QString::number(ftp->port())});
        ASSERT_TRUE(sim->command("set devMib.3.3.6.1.0 127.0.0.1"));
        ASSERT_TRUE(sim->command("set devMib.3.3.6.2.0 certs"));
        ASSERT_TRUE(sim->command("set devMib.3.3.6.3.0 " + password));
        showPage();
        ASSERT_TRUE(waitFor([&] {
            return !page->ui->Ed_FwVersion->text().isEmpty() && !page->exchangesOutstanding();
        }));
        sim->clearJournal();
    }
    void TearDown() override {
        PageWindow::TearDown();
        ftp.reset();
    }
    bool settled(bool hurry = true) {
        return settle(
            *page, [&] { return page->upload()->running() || page->certificateRunning(); }, hurry);
    }
    void chooseCertificates(const QString& certificate, const QString& key) {
        page->ui->EDT_Certificate->setText(certificate);
        page->ui->EDT_Key->setText(key);
    }
    QString status() const { return page->statusPanel->text(); }

    std::unique_ptr<test::FtpServer> ftp;
};

TEST_F(FirmwareSslPage, OpensWithTheVersionAndTheFtpAccount) {
    openPage();
    EXPECT_EQ(page->ui->Ed_FwVersion->text(), "v2.50");
    EXPECT_EQ(page->ui->Ed_FtpSrv->text(), "127.0.0.1");
    EXPECT_EQ(page->ui->Ed_UserName->text(), "certs");
    EXPECT_EQ(page->ui->Ed_Password->text(), "certs-pass");
    EXPECT_EQ(page->ui->Ed_Password->echoMode(), QLineEdit::Password);
}

TEST_F(FirmwareSslPage, CertificateChecksSendNothing) {
    openPage();
    const QString bad = "File format error! Please try again.";
    const QString empty = "Empty file is not accepted!";
    const struct {
        QString server;
        QString certificate;
        QString key;
        QString message;
        QLineEdit* Ui::TFM_FirewareSSL::*focus;
    } cases[] = {
        {"ftp.example", "site.pem", "key.pem", "Please input valid IP Address for FTP Server.",
         &Ui::TFM_FirewareSSL::Ed_FtpSrv},
        {"127.0.0.1", "", "key.pem", empty, &Ui::TFM_FirewareSSL::EDT_Certificate},
        {"127.0.0.1", "site.crt", "key.pem", bad, &Ui::TFM_FirewareSSL::EDT_Certificate},
        {"127.0.0.1", "site.PEM", "key.pem", bad, &Ui::TFM_FirewareSSL::EDT_Certificate},
        {"127.0.0.1", "site.der", "", empty, &Ui::TFM_FirewareSSL::EDT_Key},
        {"127.0.0.1", "site.der", "key.txt", bad, &Ui::TFM_FirewareSSL::EDT_Key},
    };
    page->activateWindow();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message.toStdString() + " " + c.certificate.toStdString());
        prompter.shown.clear();
        page->ui->Ed_FtpSrv->setText(c.server);
        chooseCertificates(c.certificate, c.key);
        page->Bt_CUploadClick();
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].caption, "Warning");
        EXPECT_EQ(prompter.shown[0].text, c.message);
        EXPECT_TRUE(page->ui->Bt_CUpload->isEnabled());
    }
    EXPECT_TRUE(page->ui->Ed_FtpSrv->text() == "127.0.0.1");
    page->ui->Ed_FtpSrv->setText("ftp.example");
    page->Bt_CUploadClick();
    EXPECT_TRUE(page->ui->Ed_FtpSrv->text().isEmpty()); // a bad server address is cleared
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(FirmwareSslPage, CertificateUpdateFetchesBothFilesAndRestarts) {
    openPage();
    const QByteArray certificate = "-----BEGIN CERTIFICATE-----\nMIIB\n-----END CERTIFICATE-----\n";
    const QByteArray key = test::patternBytes(1200);
    ASSERT_TRUE(test::writeFile(files() + "/site.pem", certificate));
    ASSERT_TRUE(test::writeFile(files() + "/site-key.der", key));
    chooseCertificates(files() + "/site.pem", files() + "/site-key.der");

    page->Bt_CUploadClick();
    EXPECT_EQ(status(), "Load file, please wait...!");
    // Both upload buttons wait for the device's answer.
    EXPECT_FALSE(page->ui->Bt_CUpload->isEnabled());
    EXPECT_FALSE(page->ui->Bt_Upload->isEnabled());
    ASSERT_TRUE(settled());

    EXPECT_EQ(status(), "Update SSL certificate success!");
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    EXPECT_EQ(sets(),
              (QStringList{devMibOid("3.3.6.1.0=127.0.0.1,") + devMibOid("3.3.6.2.0=certs,") +
                               devMibOid("3.3.6.3.0=certs-pass"),
                           devMibOid("3.3.6.4.1.0=") + files() + "/site.pem," +
                               devMibOid("3.3.6.4.2.0=") + files() + "/site-key.der," +
                               devMibOid("3.3.6.4.3.0=1"),
                           devMibOid("3.2.1.0=1")}));
    EXPECT_TRUE(flashFile("site.pem") == certificate);
    EXPECT_TRUE(flashFile("site-key.der") == key);
    EXPECT_EQ(events("restart").size(), 1);
    EXPECT_TRUE(page->ui->Bt_CUpload->isEnabled());
    EXPECT_TRUE(page->ui->Bt_Upload->isEnabled());
}

TEST_F(FirmwareSslPage, FailedFetchIsReportedAndNothingRestarts) {
    const struct {
        const char* what;
        QString password; // the device's account
        QString key;      // the file the device asks for
    } cases[] = {
        {"wrong password", "not-the-password", "site-key.pem"},
        {"missing key", "certs-pass", "absent-key.pem"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        openPage(c.password);
        ASSERT_TRUE(test::writeFile(files() + "/site.pem", "certificate"));
        ASSERT_TRUE(test::writeFile(files() + "/site-key.pem", "key"));
        chooseCertificates(files() + "/site.pem", files() + "/" + c.key);
        page->Bt_CUploadClick();
        ASSERT_TRUE(settled());
        EXPECT_EQ(status(), "Update SSL certificate fail!  Please check FTP server and file name.");
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].caption, "Warning");
        EXPECT_EQ(prompter.shown[0].text, "Write file fail!Please restart AP and try again!");
        EXPECT_EQ(sets().size(), 2); // account and certificate list; no restart
        EXPECT_TRUE(events("restart").isEmpty());
        EXPECT_TRUE(events("certificate").isEmpty());
        EXPECT_TRUE(page->ui->Bt_CUpload->isEnabled());
        EXPECT_TRUE(page->ui->Bt_Upload->isEnabled());
        page.reset();
        form.reset();
        sim.reset();
        ftp.reset();
        prompter.shown.clear();
    }
}

TEST_F(FirmwareSslPage, RefusedAccountStopsBeforeTheCertificateList) {
    openPage();
    chooseCertificates("site.pem", "site-key.pem");
    ASSERT_TRUE(sim->command("error devMib.3.3.6.2 17 set"));
    page->Bt_CUploadClick();
    ASSERT_TRUE(settled());
    EXPECT_EQ(sets().size(), 1);
    EXPECT_EQ(prompter.texts(), QStringList{"Write file fail!Please restart AP and try again!"});
    EXPECT_TRUE(page->ui->Bt_CUpload->isEnabled());
}

TEST_F(FirmwareSslPage, FirmwareUploadEndsWithTheRestartCountDown) {
    openPage();
    const QByteArray image = test::firmwareImage("v3.10", test::patternBytes(1500));
    const QString path = files() + "/ssl-image.tfp";
    ASSERT_TRUE(test::writeFile(path, image));
    QStringList texts;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (TFM_Waiting* wait = waitDialog()) {
            texts << wait->Label3->text();
            wait->secondsLeft = 0;
        }
    });
    look.start(10);
    page->ui->Ed_UpgFile->setText(path);
    page->Bt_UploadClick();
    ASSERT_TRUE(settled(false));
    // The restart count-down opens over the update's count-down when the device takes the image.
    texts.removeDuplicates();
    texts.sort();
    EXPECT_EQ(texts, (QStringList{"Loading firmware file...", "Updating firmware file...",
                                  "rebootting device..."}));
    EXPECT_EQ(sets(), (QStringList{
                          devMibOid("3.3.1.0=127.0.0.1,") + devMibOid("3.3.2.0=ssl-image.tfp"),
                          devMibOid("3.3.4.0=2"), devMibOid("3.3.5.0=1"), devMibOid("3.3.5.0=4")}));
    EXPECT_TRUE(flashFile("ssl-image.tfp") == image);
    ASSERT_TRUE(waitFor([&] { return !events("ready").isEmpty(); }));
    // A page opened after the restart shows the new version.
    TFM_FirewareSSL again(form.get());
    ASSERT_TRUE(waitFor([&] { return !again.ui->Ed_FwVersion->text().isEmpty(); }));
    EXPECT_EQ(again.ui->Ed_FwVersion->text(), "v3.10");
}

} // namespace
