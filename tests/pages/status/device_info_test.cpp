// "Status \ Device Info" against the simulated device: the fields, the secondary MAC range, the
// Super G text, the AP Status box, the Refresh button and failures.
#include "pages/status/device_info.h"
#include "tests/support/page_window.h"

#include <QGroupBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>

namespace {

using test::devMibOid;

class DeviceInfo : public test::PageWindow<TFM_DevInfo> {
protected:
    void open() { showPage(); }
    // The main window's capability refresh would overwrite a flag set by the test.
    void setFlag(const char* name, const QString& text) {
        form->findChild<QTimer*>("Timer1")->stop();
        form->flagEdit(QString::fromLatin1(name))->setText(text);
    }
    // The page's own GETs (the main window polls meanwhile), first OID of each.
    QStringList pageGets() const {
        QStringList asked;
        for (const QJsonObject& pdu : sim->requests("get")) {
            const QString oid = pdu["varbinds"].toArray().first().toObject()["oid"].toString();
            if (oid.startsWith(devMibOid("4.1.2.")) || oid.startsWith(devMibOid("4.2.")))
                asked << oid;
        }
        asked.sort();
        return asked;
    }
};

TEST_F(DeviceInfo, ShowsTheDeviceAndItsRadio) {
    start("recent");
    open();
    EXPECT_EQ(page->windowTitle(), "Status \\ Device Info");
    EXPECT_EQ(page->ui->Ed_Firmware->text(), "v2.50");
    EXPECT_EQ(page->ui->Ed_Mac->text(), "000F3D12ABCD");
    EXPECT_EQ(page->ui->Ed_SecFirstMac->text(), "04013D12ABCD");
    EXPECT_EQ(page->ui->Ed_SecSecMac->text(), "04073D12ABCD");
    EXPECT_EQ(page->ui->Ed_GetIP->text(), "Manual");
    EXPECT_EQ(page->ui->Ed_IPaddr->text(), sim->address());
    EXPECT_EQ(page->ui->Ed_SubMask->text(), "255.0.0.0");
    EXPECT_EQ(page->ui->Ed_Gate->text(), "127.0.0.254");

    EXPECT_EQ(page->ui->PC_WirlessTraffic->tabText(0), "IEEE 802.11g");
    EXPECT_FALSE(page->ui->PC_WirlessTraffic->isTabVisible(1));
    EXPECT_EQ(page->ui->Ed_SSIDa->text(), "KW9100");
    EXPECT_EQ(page->ui->Ed_Channela->text(), "6");
    EXPECT_EQ(page->ui->Ed_SupModa->text(), "Disabled");
    EXPECT_EQ(page->ui->Ed_SupModusa->text(), "Disabled");
    EXPECT_FALSE(page->ui->Ed_SupModa->isVisible());
    EXPECT_EQ(page->ui->Ed_DatRata->text(), "54Mbps");
    EXPECT_EQ(page->ui->Ed_SecLevAutha->text(), "Open System");
    EXPECT_EQ(page->ui->Ed_SecLevPria->text(), "Disabled");

    // The load arrives asynchronously.
    EXPECT_TRUE(page->ui->GB_AP->isVisible());
    ASSERT_TRUE(kwtest::SimDevice::waitUntil(
        [&] {
            return !page->ui->Ed_Cpu->text().isEmpty() && !page->ui->Ed_Memory->text().isEmpty();
        },
        5000));
    bool number = false;
    EXPECT_LE(page->ui->Ed_Cpu->text().toInt(&number), 100);
    EXPECT_TRUE(number) << page->ui->Ed_Cpu->text().toStdString();
    EXPECT_TRUE(page->ui->StatusBar->currentMessage().isEmpty());
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("|").toStdString();

    for (QLineEdit* edit : page->findChildren<QLineEdit*>())
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
}

TEST_F(DeviceInfo, SecondaryMacRangeReplacesTheFirstByteAndTheSecondBytesLowDigit) {
    struct Case {
        const char* mac; // as the device holds it (hex)
        const char* first;
        const char* last;
    };
    const Case cases[] = {
        {"001122334455", "041122334455", "041722334455"},
        {"000F3D12ABCD", "04013D12ABCD", "04073D12ABCD"},
        {"FFFFFFFFFFFF", "04F1FFFFFFFF", "04F7FFFFFFFF"},
    };
    start("recent");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mac);
        ASSERT_TRUE(sim->command(QStringLiteral("define devMib.4.1.1.2.0 hex ro %1").arg(c.mac)));
        open();
        EXPECT_EQ(page->ui->Ed_Mac->text(), c.mac);
        EXPECT_EQ(page->ui->Ed_SecFirstMac->text(), c.first);
        EXPECT_EQ(page->ui->Ed_SecSecMac->text(), c.last);
        ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return page->close(); }, 5000));
        page.reset();
    }
    // What is not a MAC address gives no range (and no made-up address).
    for (const char* text : {"", "0011223344", "00:11:22:33:44:55"})
        EXPECT_EQ(TFM_DevInfo::secondaryMac(QString::fromLatin1(text), 1), "") << text;
}

TEST_F(DeviceInfo, SuperGTextFollowsTurboSupportChannelAndMode) {
    struct Case {
        const char* turbo; // the main window's turbo-modes flag
        int channel;
        int mode; // 1 without turbo, 2 static, 3 dynamic, 4 disabled
        const char* shown;
    };
    const Case cases[] = {
        {"1", 11, 3, "Super G without Turbo"},
        {"1", 6, 3, "Super G with Dynamic Turbo"},
        {"1", 6, 2, "Super G with Static Turbo"},
        {"1", 11, 4, "Disabled"},
        {"1", 6, 4, "Disabled"},
        {"0", 6, 3, "Enabled"},
        {"0", 11, 1, "Enabled"},
        {"0", 6, 4, "Disabled"},
    };
    start("recent");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.turbo << " " << c.channel << " " << c.mode);
        setFlag("ED_Turbomode", c.turbo);
        ASSERT_TRUE(sim->command(QStringLiteral("set devMib.1.1.1.3.1 %1").arg(c.channel)));
        ASSERT_TRUE(sim->command(QStringLiteral("set devMib.4.2.1.3.1 %1").arg(c.mode)));
        open();
        EXPECT_EQ(page->ui->Ed_SupModusa->text(), c.shown);
        EXPECT_TRUE(page->ui->Ed_SupModusa->isVisible());
        ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return page->close(); }, 5000));
        page.reset();
    }
}

TEST_F(DeviceInfo, WithoutLoadFiguresTheApStatusBoxGoesAndTheOthersMoveDown) {
    struct Case {
        const char* profile;
        const char* support; // set on the device first; null: as the profile has it
        bool shown;
    };
    const Case cases[] = {
        {"recent", nullptr, true},
        {"recent", "0", false},
        {"recent", "2", false},
        {"early", nullptr, false}, // the object does not exist
    };
    int shownTop = -1;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.profile << " " << (c.support ? c.support : "-"));
        start(c.profile);
        if (c.support) {
            ASSERT_TRUE(sim->command(QStringLiteral("set devMib.99.1.1.43.0 %1").arg(c.support)));
        }
        sim->clearJournal();
        open();
        EXPECT_EQ(page->ui->GB_AP->isVisible(), c.shown);
        if (c.shown) {
            shownTop = page->ui->GroupBox2->y();
        } else {
            EXPECT_EQ(page->ui->GroupBox2->y(), shownTop + 40);
        }
        EXPECT_EQ(page->ui->GroupBox1->y() - page->ui->GroupBox2->y(),
                  page->ui->GroupBox2->height() + 8);
        // The load is asked for only when the device has it.
        ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return page->close(); }, 5000));
        EXPECT_EQ(pageGets().contains(devMibOid("4.1.2.1.0")), c.shown);
        EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("|").toStdString();
        page.reset();
        form.reset();
        sim.reset();
    }
}

TEST_F(DeviceInfo, RefreshReadsRadioAndLoadOnly) {
    start("recent");
    open();
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return !page->exchangesOutstanding(); }, 5000));
    ASSERT_TRUE(sim->command("set devMib.1.1.1.1.1 lab-west"));
    ASSERT_TRUE(sim->command("set devMib.4.1.1.1.0 v9.99"));
    ASSERT_TRUE(sim->command("set devMib.4.2.1.3.1 3"));
    ASSERT_TRUE(sim->command("set devMib.1.1.1.3.1 11"));
    sim->clearJournal();
    page->ui->Bt_Refa->click();
    EXPECT_EQ(page->ui->Ed_SSIDa->text(), "lab-west");
    EXPECT_EQ(page->ui->Ed_Channela->text(), "11");
    EXPECT_EQ(page->ui->Ed_SupModa->text(), "Super G with Dynamic Turbo");
    // Neither the Super G text nor the device fields are worked out again.
    EXPECT_EQ(page->ui->Ed_SupModusa->text(), "Disabled");
    EXPECT_EQ(page->ui->Ed_Firmware->text(), "v2.50");
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return !page->exchangesOutstanding(); }, 5000));
    EXPECT_EQ(pageGets(), (QStringList{devMibOid("4.1.2.1.0"), devMibOid("4.2.1.1.1")}));
}

TEST_F(DeviceInfo, ARadioFailureGoesToTheStatusBarAndLeavesTheFields) {
    start("recent");
    open();
    ASSERT_TRUE(sim->command("error devMib.4.2 5 get"));
    ASSERT_TRUE(sim->command("set devMib.1.1.1.1.1 lab-west"));
    page->ui->Bt_Refa->click();
    EXPECT_EQ(page->ui->Ed_SSIDa->text(), "KW9100");
    EXPECT_TRUE(page->ui->StatusBar->currentMessage().startsWith("Get: "))
        << page->ui->StatusBar->currentMessage().toStdString();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("|").toStdString();
}

} // namespace
