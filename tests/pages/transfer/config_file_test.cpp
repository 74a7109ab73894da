// Tools \ Configuration File against the simulated device: the device writes its settings into a
// file on the PC and takes a file back, over the module's TFTP server.
#include "app/wait_dialog.h"
#include "pages/transfer/config_file.h"
#include "tests/support/page_window.h"
#include "tests/support/transfer_fixture.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>

namespace {

using test::devMibOid;

const QString kSsid = "devMib.1.1.1.1.1";

class ConfigFilePage : public test::PageWindow<TFM_CfgFile, test::TransferWindow> {
protected:
    void openPage(const QString& profile = "early") {
        start(profile);
        showPage();
        sim->clearJournal();
    }
    bool settled(bool hurry = false) {
        return settle(
            *page, [&] { return page->running(); }, hurry);
    }
    // "DownLoad" with `path` chosen in the save dialog.
    void save(const QString& path) {
        chooser.answers.push_back(path);
        page->Bt_UploadClick();
        ASSERT_TRUE(settled()) << prompter.texts().join("; ").toStdString();
    }
    // OK with `path` in the update field.
    void restore(const QString& path, bool hurry = false) {
        page->ui->Ed_UpgFile->setText(path);
        page->Bt_OKClick();
        ASSERT_TRUE(settled(hurry)) << prompter.texts().join("; ").toStdString();
    }
    QString address(const QString& name) const {
        return devMibOid("3.3.1.0=127.0.0.1,") + devMibOid("3.3.2.0=") + name;
    }
    QString ssid() { return sim->value(kSsid)["value"].toString(); }

    test::ScriptedFileChooser chooser;
};

TEST_F(ConfigFilePage, SaveNamesTheFileAndTheDeviceWritesItsSettings) {
    openPage();
    const struct {
        QString chosen;
        QString written;
    } cases[] = {
        {"backup", "backup.kcf"}, // the extension is added
        {"a.KCF", "a.KCF"},       // an extension in any letter case is kept
    };
    for (const auto& c : cases) {
        prompter.shown.clear();
        sim->clearJournal();
        save(files() + "/" + c.chosen);
        EXPECT_EQ(sets(), (QStringList{address(c.written), devMibOid("3.3.4.0=3")}));
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].caption, "OK");
        EXPECT_EQ(prompter.shown[0].text, "The configuration file saved successfully!");
        QFile file(files() + "/" + c.written);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.written.toStdString();
        const QByteArray text = file.readAll();
        EXPECT_TRUE(text.startsWith("# KW-9100 configuration\n"));
        EXPECT_TRUE(text.contains("1.3.6.1.4.1.32473.1.1.1.1.1.1 string \"KW9100\"\n"))
            << text.data();
        EXPECT_EQ(
            page->ui->La_Progress->text(),
            QString("%1: %2 bytes received, transfer complete").arg(c.written).arg(text.size()));
        EXPECT_TRUE(page->ui->Ed_SaveFile->text().isEmpty());
        EXPECT_TRUE(page->ui->Ed_UpgFile->text().isEmpty());
    }
    EXPECT_EQ(chooser.asked.first(),
              "Load Settings to Local Hard Drive|kcf文档 (*.kcf);;所有文件 (*.*)");
}

TEST_F(ConfigFilePage, SaveThenRestoreBringsAChangedSettingBack) {
    for (const bool saveSupported : {false, true}) {
        SCOPED_TRACE(saveSupported ? "save supported" : "restart needed");
        openPage(saveSupported ? "recent" : "early");
        ASSERT_EQ(app::saveSupported(), saveSupported);
        const QString path = files() + "/site.kcf";
        save(path);
        ASSERT_TRUE(sim->command("set " + kSsid + " \"changed-ssid\""));
        ASSERT_EQ(ssid(), "changed-ssid");
        sim->clearJournal();
        prompter.shown.clear();

        restore(path, true);

        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].caption, "OK");
        EXPECT_EQ(prompter.shown[0].text, "The configuration file updated successfully!");
        QFile saved(path);
        ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
        EXPECT_TRUE(flashFile("site.kcf") == saved.readAll()); // what the device fetched
        QStringList expected{address("site.kcf"), devMibOid("3.3.4.0=2"), devMibOid("3.3.5.0=3")};
        if (!saveSupported)
            expected << devMibOid("3.3.5.0=4"); // the wait dialog restarts the device
        EXPECT_EQ(sets(), expected);
        EXPECT_EQ(page->ui->Ed_UpgFile->text(), path);
        if (saveSupported) {
            // Pending until the operator saves and activates.
            EXPECT_EQ(ssid(), "KW9100");
            EXPECT_EQ(sim->value(kSsid)["active"].toString(), "changed-ssid");
        } else {
            ASSERT_TRUE(waitFor([&] { return !events("ready").isEmpty(); }));
            EXPECT_EQ(sim->value(kSsid)["active"].toString(), "KW9100");
        }
        page.reset();
        form.reset();
        sim.reset();
    }
}

TEST_F(ConfigFilePage, CorruptFileIsRefusedWithoutRestart) {
    openPage();
    const QString path = files() + "/site.kcf";
    const QByteArray corrupt[] = {
        "not a configuration\n",
        "# KW-9100 configuration\n1.3.6.1.4.1.32473.1.1.1.1.1.1 string \"unterminated\n",
        "# KW-9100 configuration\n1.3.6.1.4.1.32473.1.1.1.1.3.1 integer 99\n",    // channel out of
                                                                                  // range
        "# KW-9100 configuration\n1.3.6.1.4.1.32473.1.4.1.1.1.0 string \"v9\"\n", // read-only
    };
    for (const QByteArray& contents : corrupt) {
        SCOPED_TRACE(contents.constData());
        ASSERT_TRUE(test::writeFile(path, contents));
        sim->clearJournal();
        prompter.shown.clear();
        restore(path);
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].caption, "ERROR");
        EXPECT_EQ(prompter.shown[0].text, "The configuration file updated fail!");
        EXPECT_EQ(sets(), (QStringList{address("site.kcf"), devMibOid("3.3.4.0=2"),
                                       devMibOid("3.3.5.0=3")}));
        EXPECT_TRUE(events("restart").isEmpty());
        EXPECT_EQ(sim->value("devMib.1.1.1.3.1")["value"].toString(), "6");
    }
}

TEST_F(ConfigFilePage, RestoreChecksSendNothing) {
    openPage();
    ASSERT_TRUE(test::writeFile(files() + "/site.txt", "x"));
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {"", "Empty file is not accepted."},
        {files() + "/site.txt", "File format error! Please try again!"},
        {files() + "/missing.kcf", "File format error! Please try again!"},
    };
    for (const auto& c : cases) {
        prompter.shown.clear();
        page->ui->Ed_UpgFile->setText(c.path);
        page->Bt_OKClick();
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].caption, "Warning");
        EXPECT_EQ(prompter.shown[0].text, c.message);
    }
    // A save whose dialog is cancelled has no file either.
    prompter.shown.clear();
    page->Bt_UploadClick();
    EXPECT_EQ(prompter.texts(), QStringList{"Empty file is not accepted."});
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(ConfigFilePage, RefusedAddressStopsTheFlowBeforeTheCommand) {
    openPage();
    const QString path = files() + "/site.kcf";
    ASSERT_TRUE(test::writeFile(path, "# KW-9100 configuration\n"));
    ASSERT_TRUE(sim->command("error devMib.3.3.2 17 set"));
    restore(path);
    EXPECT_EQ(prompter.texts(), QStringList{"The configuration file updated fail!"});
    EXPECT_EQ(sets(), QStringList{address("site.kcf")});
    EXPECT_TRUE(page->ui->Bt_OK->isEnabled());
}

TEST_F(ConfigFilePage, ButtonsAndCloseAreHeldWhileATransferRuns) {
    openPage();
    const QString path = files() + "/site.kcf";
    save(path);
    sim->clearJournal();
    prompter.shown.clear();
    ASSERT_TRUE(sim->command("delay devMib.3.3.4 1500 set"));
    page->ui->Ed_UpgFile->setText(path);
    page->Bt_OKClick();
    for (QPushButton* b : {page->ui->Bt_OK, page->ui->Bt_Upload, page->ui->Bt_Browse})
        EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
    // A second button press cannot start another sequence or flip the one under way.
    chooser.answers.push_back(files() + "/other");
    page->Bt_UploadClick();
    page->reject();
    EXPECT_TRUE(page->isVisible());
    ASSERT_TRUE(settled(true));
    EXPECT_EQ(prompter.texts(), QStringList{"The configuration file updated successfully!"});
    EXPECT_FALSE(QFile::exists(files() + "/other.kcf"));
    EXPECT_TRUE(page->ui->Bt_Upload->isEnabled());
    page->reject();
    EXPECT_FALSE(page->isVisible());
}

TEST_F(ConfigFilePage, RestoreTakesAPathWrittenWithBackslashes) {
    openPage();
    const QString path = files() + "/site.kcf";
    save(path);
    sim->clearJournal();
    prompter.shown.clear();
    QString windowsPath = path;
    windowsPath.replace('/', '\\');
    restore(windowsPath, true);
    EXPECT_EQ(prompter.texts(), QStringList{"The configuration file updated successfully!"});
    EXPECT_EQ(sets().value(0), address("site.kcf")); // the bare name after the last backslash
    EXPECT_EQ(events("transfer").value(0)["result"].toString(), "ok");
}

} // namespace
