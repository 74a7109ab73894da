// The earlier multi-SSID page against the simulated device: the guests' checks (enabled or not),
// key-index and SSID conflicts, keys as the device keeps them, what Apply writes and in which
// order, and that a failed check or write leaves nothing half done.
#include "pages/service/multi_ssid.h"
#include "tests/support/page_window.h"
#include "tests/support/wait_watcher.h"

#include <functional>
#include <QComboBox>
#include <QPushButton>
#include <QStatusBar>

namespace {

using test::devMibOid;

// One cell of guest g's row (SSID g + 1) or the master's (g = 0) as "oid=value".
QString cell(int column, int ssid, const QString& value) {
    return devMibOid(QStringLiteral("2.9.2.1.%1.1.%2=%3").arg(column).arg(ssid).arg(value));
}
QString set(int column, int ssid, const QString& value) {
    return QStringLiteral("set devMib.2.9.2.1.%1.1.%2 %3").arg(column).arg(ssid).arg(value);
}
const QString kRadioToAccessPoint = devMibOid("2.1.1.1.1=1,") + devMibOid("2.3.1.11.1=4");

class MultiSsidPage : public test::PageWindow<TFM_MultiSSIDForm> {
protected:
    void open(const QStringList& commands = {}) { openOn("multissid-early", commands); }
    static void choose(QComboBox* combo, const QString& text) {
        const int i = combo->findText(text);
        ASSERT_GE(i, 0) << text.toStdString();
        combo->setCurrentIndex(i);
        emit combo->activated(i);
    }
    void apply() {
        page->ui->Bt_Apply->click();
        ASSERT_TRUE(settled());
    }
    QString status() const { return page->ui->StatusBar1->currentMessage(); }

    test::WaitWatcher waits;
};

TEST_F(MultiSsidPage, OpensWithTheMasterAndTheGuestsAsTheDeviceHoldsThem) {
    open({set(2, 2, "1"), set(5, 2, "1"), set(4, 2, "2"), set(7, 2, "0123456789abcdef0123456789")});
    EXPECT_EQ(page->windowTitle(), "Advanced\\Multi-SSID");
    EXPECT_EQ(page->ui->PageControl1->tabText(0), "IEEE 802.11g");
    EXPECT_EQ(page->ui->MasterSSIDEdit->text(), "KW9100");
    EXPECT_FALSE(page->ui->MasterSSIDEdit->isEnabled());
    EXPECT_EQ(page->ui->GuestSSIDEdit1->text(), "Guest-2");
    EXPECT_TRUE(page->ui->Guest1CheckBox->isChecked());
    EXPECT_TRUE(page->ui->GuestSSIDEdit1->isEnabled());
    EXPECT_EQ(page->ui->TempComboBox1->currentText(), "Shared Key");
    // The device answers the key masked; its length gives the size.
    EXPECT_EQ(page->ui->GuestKeyvalueEdit1->text(), QString(26, '*'));
    EXPECT_EQ(page->ui->GuestKeySize1->currentText(), "128 Bits");
    EXPECT_EQ(page->ui->GuestKeyvalueEdit1->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(page->ui->Guest2CheckBox->isChecked());
    EXPECT_FALSE(page->ui->GuestSSIDEdit2->isEnabled());
    EXPECT_FALSE(page->ui->GroupIDBox->isEnabled()); // VLAN off
    EXPECT_EQ(page->ui->GroupIDBox->text(), "1");
    EXPECT_TRUE(prompter.shown.isEmpty());
}

TEST_F(MultiSsidPage, GuestChecksRefuseInOrderForEnabledAndDisabledGuests) {
    struct Case {
        QLineEdit* Ui::TFM_MultiSSIDForm::*field;
        QString text;
        const char* message;
        const char* caption;
    };
    const Case cases[] = {
        // Guest 2 is disabled, and still checked.
        {&Ui::TFM_MultiSSIDForm::GuestSSIDEdit2, "", "Please Input SSID in Guest SSID2.",
         "Warning"},
        {&Ui::TFM_MultiSSIDForm::GuestSSIDEdit1, QString(33, 'g'),
         "The Max Length of Guest SSID1's SSID is 32.!", "Warning"},
        {&Ui::TFM_MultiSSIDForm::GuestSSIDEdit3, " lobby",
         "The first character can't be blank in Guest SSID3.", "Error"},
        {&Ui::TFM_MultiSSIDForm::GroupIDBox, "",
         "The 11g master SSID's ID is invalid.The range of ID is 1 to 4095.", "Warning"},
        {&Ui::TFM_MultiSSIDForm::GuestGroupID2, "",
         "The 11g guest SSID2's ID is invalid.The range of ID is 1 to 4095.", "Warning"},
    };
    open({set(2, 2, "1")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        prompter.shown.clear();
        QLineEdit* field = (*page->ui).*c.field;
        const QString before = field->text();
        field->setText(c.text);
        apply();
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].text, c.message);
        EXPECT_EQ(prompter.shown[0].caption, c.caption);
        EXPECT_TRUE(sets().isEmpty()) << sets().join("\n").toStdString();
        field->setText(before);
    }
}

TEST_F(MultiSsidPage, KeyIndexAndSsidConflictsAreRefused) {
    struct Case {
        QStringList device;
        std::function<void(Ui::TFM_MultiSSIDForm&)> edit;
        const char* message; // empty: accepted
    };
    const Case cases[] = {
        {{set(2, 2, "1"), set(5, 2, "1"), set(6, 2, "2"), set(2, 3, "1"), set(5, 3, "1")},
         [](Ui::TFM_MultiSSIDForm& f) { choose(f.GuestKey2, "second"); },
         "The 11g Guest SSID2's key index is same as Guest SSID1"},
        {{set(5, 1, "1"), set(6, 1, "3"), set(2, 4, "1"), set(5, 4, "1")},
         [](Ui::TFM_MultiSSIDForm& f) { choose(f.GuestKey3, "third"); },
         "The 11g Guest SSID3's key index is same as master SSID"},
        {{set(5, 1, "1"), set(2, 3, "1")},
         [](Ui::TFM_MultiSSIDForm& f) { f.GuestSSIDEdit2->setText("KW9100"); },
         "The 11g Guest SSID2's SSID is same as master SSID"},
        {{set(2, 2, "1"), set(2, 3, "1")},
         [](Ui::TFM_MultiSSIDForm& f) { f.GuestSSIDEdit2->setText("Guest-2"); },
         "The 11g Guest SSID1's SSID is same as SSID2's SSID"},
        // The master without encryption may share its name.
        {{set(2, 3, "1")},
         [](Ui::TFM_MultiSSIDForm& f) { f.GuestSSIDEdit2->setText("KW9100"); },
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        open(c.device);
        // A key index is checked when it changes, and every check again in Apply.
        c.edit(*page->ui);
        apply();
        if (QString(c.message).isEmpty()) {
            EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
            EXPECT_EQ(status(), "Set Success!");
        } else {
            ASSERT_FALSE(prompter.shown.isEmpty());
            EXPECT_EQ(prompter.shown[0].text, c.message);
            EXPECT_EQ(prompter.shown[0].caption, "Warning");
            EXPECT_TRUE(sets().isEmpty());
        }
        page.reset();
        form.reset();
        sim.reset();
    }
}

TEST_F(MultiSsidPage, ApplyWritesRadioModeVlanMasterTagAndGuestsInOrder) {
    open({set(2, 2, "1")});
    page->ui->CheckBox1->setChecked(true);
    page->ui->GroupIDBox->setText("10");
    page->ui->GuestGroupID1->setText("11");
    choose(page->ui->TempComboBox1, "Open System");
    choose(page->ui->GuestKeyType1, "ASCII");
    choose(page->ui->GuestKeySize1, "128 Bits");
    page->ui->GuestKeyvalueEdit1->setText("thirteen-char");
    apply();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    const QStringList written = sets();
    ASSERT_EQ(written.size(), 6);
    EXPECT_EQ(written[0], kRadioToAccessPoint);
    EXPECT_EQ(written[1], devMibOid("2.9.1.1.1.0=1"));
    // The master's name is not this page's to write: its VLAN group alone.
    EXPECT_EQ(written[2], cell(8, 1, "10"));
    EXPECT_EQ(written[3], QStringList({cell(2, 2, "1"), cell(3, 2, "Guest-2"), cell(4, 2, "1"),
                                       cell(5, 2, "1"), cell(6, 2, "1"),
                                       cell(7, 2, "746869727465656e2d63686172"), cell(8, 2, "11")})
                              .join(","));
    EXPECT_EQ(written[4], QStringList({cell(2, 3, "0"), cell(8, 3, "3")}).join(","));
    EXPECT_EQ(written[5], QStringList({cell(2, 4, "0"), cell(8, 4, "4")}).join(","));
    ASSERT_EQ(waits.seen.size(), 1);
    EXPECT_EQ(status(), "Set Success!");
    EXPECT_EQ(page->ui->GuestKeyType1->currentText(), "HEX");
}

TEST_F(MultiSsidPage, WithVlanOffAndNoGuestNoRadioModeIsWritten) {
    open();
    apply();
    EXPECT_EQ(sets(), (QStringList{devMibOid("2.9.1.1.1.0=0"), cell(2, 2, "0"), cell(2, 3, "0"),
                                   cell(2, 4, "0")}));
}

TEST_F(MultiSsidPage, AMaskedKeyIsNotSentBack) {
    open({set(2, 2, "1"), set(5, 2, "1"), set(7, 2, "0123456789")});
    ASSERT_EQ(page->ui->GuestKeyvalueEdit1->text(), "**********");
    choose(page->ui->GuestKey1, "fourth");
    apply();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    ASSERT_EQ(sets().size(), 5);
    EXPECT_EQ(sets()[2], QStringList({cell(2, 2, "1"), cell(3, 2, "Guest-2"), cell(4, 2, "1"),
                                      cell(5, 2, "1"), cell(6, 2, "4")})
                             .join(","));
}

TEST_F(MultiSsidPage, RefusedKeysEndApplyAndARefreshShowsEveryColumnAgain) {
    struct Case {
        const char* type;
        const char* size;
        QString key;
        const char* message;
    };
    const Case cases[] = {
        {"ASCII", "64 Bits", "abc", "The Length of Guest SSID1's key in IEEE802.11g must be 5!"},
        {"ASCII", "152 Bits", "abc", "The Lengh of Guest SSID1's key in IEEE802.11g must be 16!"},
        {"HEX", "64 Bits", "0123", "The Length of Guest SSID1's key in IEEE802.11g must be 10!"},
        {"HEX", "64 Bits", "0123456xyz", "Please input  Hexadecimal digits!"},
        {"ASCII", "64 Bits", QString("abcd") + QChar(0x0100), "Please input  Hexadecimal digits!"},
    };
    open({set(2, 2, "1")});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        prompter.shown.clear();
        choose(page->ui->TempComboBox1, "Shared Key");
        choose(page->ui->GuestKeyType1, c.type);
        choose(page->ui->GuestKeySize1, c.size);
        page->ui->GuestKeyvalueEdit1->setText(c.key);
        page->ui->GuestSSIDEdit1->setText("renamed");
        // Columns an Apply leaves out: the VLAN group with VLAN off, a disabled guest's SSID.
        page->ui->GuestGroupID1->setText("99");
        page->ui->GuestSSIDEdit2->setText("renamed too");
        apply();
        EXPECT_EQ(prompter.texts(), QStringList{c.message});
        EXPECT_TRUE(sets().isEmpty());
        // Nothing of that Apply stays behind: a refresh reads every column again.
        page->ui->Bt_Refresh->click();
        ASSERT_TRUE(settled());
        EXPECT_EQ(page->ui->GuestSSIDEdit1->text(), "Guest-2");
        EXPECT_EQ(page->ui->GuestGroupID1->text(), "2");
        EXPECT_EQ(page->ui->GuestSSIDEdit2->text(), "Lab-3");
    }
}

TEST_F(MultiSsidPage, AFailedMasterWriteStopsTheChainWithoutTheWaitDialog) {
    open({set(2, 2, "1")});
    page->ui->CheckBox1->setChecked(true);
    ASSERT_TRUE(sim->command("error devMib.2.9.2.1.8.1.1 5 set"));
    apply();
    EXPECT_EQ(status(), "Set Error.");
    EXPECT_TRUE(waits.seen.isEmpty());
    // Radio mode, VLAN state and the refused master; no guest.
    const QStringList written = sets();
    ASSERT_EQ(written.size(), 3);
    EXPECT_EQ(written[2], cell(8, 1, "1"));
}

} // namespace
