// "Advanced \ Encryption" against the simulated device: keys shown masked and written only when
// retyped, key lengths by type and size, ASCII keys sent as digits, WPA pass phrase and group-key
// interval, the security server of WPA-Enterprise, and authentications the page does not offer.
#include "pages/radio/encrypt.h"
#include "tests/support/page_window.h"
#include "tests/support/wait_watcher.h"

#include <QComboBox>
#include <QStatusBar>
#include <QTabWidget>

namespace {

using test::devMibOid;

const QString kAuth = devMibOid("2.5.1.1.1.1=");
const QString kEnc = devMibOid("2.5.1.1.2.1=");
const QString kValid = devMibOid("2.5.1.1.3.1=");
QString key(int n, const QString& value) {
    return devMibOid("2.5.3.1.1.1.%1=%2").arg(n).arg(value);
}
// The first SET: authentication, encryption and valid key of a WEP class, then the keys given.
QString wepSet(int auth, const QStringList& keys = {}) {
    QStringList binds{kAuth + QString::number(auth), kEnc + "1", kValid + "1"};
    binds << keys;
    return binds.join(",");
}

class EncryptPage : public test::PageWindow<TFM_Encrypt> {
protected:
    void open(const QString& profile = "wireless-compact", const QStringList& before = {}) {
        openOn(profile, before);
    }
    // WEP with encryption on, the keys as the device holds them (masked when read).
    void openWep(const QString& profile = "wireless-compact") {
        open(profile, {"set devMib.2.5.1.1.2.1 1"});
    }
    QLineEdit* hexKey(int n) const {
        return page->findChild<QLineEdit*>(QStringLiteral("Ed_Key%1a").arg(n));
    }
    QLineEdit* asciiKey(int n) const {
        return page->findChild<QLineEdit*>(QStringLiteral("Ed_Key%1t").arg(n));
    }
    void choose(QComboBox* combo, const QString& text) {
        combo->setCurrentText(text);
        emit combo->activated(combo->currentIndex());
    }
    QString status() const { return page->ui->StatusBar->currentMessage(); }

    test::WaitWatcher waits;
};

TEST_F(EncryptPage, KeysShowMaskedByTypeAndSize) {
    openWep();
    EXPECT_EQ(page->windowTitle(), "Advanced \\ Encryption");
    EXPECT_EQ(page->ui->PC_Encryption->tabText(0), "IEEE 802.11g");
    EXPECT_FALSE(page->ui->PC_Encryption->isTabVisible(1));
    EXPECT_EQ(page->ui->CB_SecAutha->currentText(), "Open System");
    EXPECT_EQ(page->ui->CB_SecAutha->count(), 5);
    EXPECT_EQ(page->ui->CB_KeySizeA->currentText(), "64 Bits");
    struct Case {
        const char* type;
        const char* size;
        int length;
    };
    for (const Case& c : {Case{"HEX", "64 Bits", 10}, Case{"HEX", "128 Bits", 26},
                          Case{"HEX", "152 Bits", 32}, Case{"ASCII", "64 Bits", 5},
                          Case{"ASCII", "128 Bits", 13}, Case{"ASCII", "152 Bits", 16}}) {
        SCOPED_TRACE(std::string(c.type) + " " + c.size);
        choose(page->ui->CB_KeyTypeA, c.type);
        choose(page->ui->CB_KeySizeA, c.size);
        const bool hex = QString(c.type) == "HEX";
        for (int n = 1; n <= 4; ++n) {
            QLineEdit* shown = hex ? hexKey(n) : asciiKey(n);
            EXPECT_EQ(shown->text(), QString(c.length, '*')) << n;
            EXPECT_FALSE(shown->isHidden());
            EXPECT_TRUE((hex ? asciiKey(n) : hexKey(n))->isHidden());
        }
    }
}

TEST_F(EncryptPage, OnlyRetypedKeysAreWrittenAndAsciiGoesAsDigits) {
    openWep("early");
    struct Case {
        const char* type;
        int keyNo;
        QString typed;
        QString sent;
    };
    const Case cases[] = {
        {"HEX", 2, "0123456789", "0123456789"},
        {"ASCII", 2, "abcde", "6162636465"},
        // Latin-1 characters still have a two-digit code.
        {"ASCII", 3, QString::fromUtf8("\u00e9bcde"), "e962636465"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + c.typed.toStdString());
        sim->clearJournal();
        waits.seen.clear();
        choose(page->ui->CB_KeyTypeA, c.type);
        (QString(c.type) == "HEX" ? hexKey(c.keyNo) : asciiKey(c.keyNo))->setText(c.typed);
        page->ui->Bt_Apply->click();
        EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
        ASSERT_FALSE(sets().isEmpty());
        EXPECT_EQ(sets().first(), wepSet(1, {key(c.keyNo, c.sent)}));
        EXPECT_EQ(status(), "Setting Success!");
        // Masked again afterwards; without save-and-activate the device restarts.
        EXPECT_EQ((QString(c.type) == "HEX" ? hexKey(c.keyNo) : asciiKey(c.keyNo))->text(),
                  QString(QString(c.type) == "HEX" ? 10 : 5, '*'));
        ASSERT_EQ(waits.seen.size(), 1);
        EXPECT_EQ(waits.seen.first().ticksBeforeReboot, 5);
        EXPECT_EQ(waits.seen.first().secondsLeft, 20);
    }
}

TEST_F(EncryptPage, WrongKeysAreRefusedBeforeAnythingIsSent) {
    openWep();
    struct Case {
        const char* type;
        const char* size;
        int keyNo;
        QString typed;
        QString message;
        bool cleared;
    };
    const Case cases[] = {
        {"HEX", "64 Bits", 2, "012345678", "The Length of the 2nd key in IEEE802.11g must be 10!",
         false},
        {"HEX", "128 Bits", 4, "0123456789", "The Length of the 4th key in IEEE802.11g must be 26!",
         false},
        {"ASCII", "152 Bits", 1, "abcdefghijklmno",
         "The Lengh of the 1st key in IEEE802.11g must be 16!", false},
        {"HEX", "64 Bits", 3, "*****G****", "Please input  Hexadecimal digits!", true},
        // A character beyond one byte would need more than two digits.
        {"ASCII", "64 Bits", 1, QString::fromUtf8("ab\u0100de"),
         "Please input  Hexadecimal digits!", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message.toStdString() + " " + c.typed.toStdString());
        prompter.shown.clear();
        choose(page->ui->CB_KeyTypeA, c.type);
        choose(page->ui->CB_KeySizeA, c.size);
        QLineEdit* field = QString(c.type) == "HEX" ? hexKey(c.keyNo) : asciiKey(c.keyNo);
        field->setText(c.typed);
        page->ui->Bt_Apply->click();
        EXPECT_EQ(prompter.texts(), QStringList{c.message});
        EXPECT_EQ(field->text().isEmpty(), c.cleared);
    }
    EXPECT_TRUE(sets().isEmpty());
}

TEST_F(EncryptPage, GroupKeyIntervalIsCheckedOnlyWhereWpaUsesIt) {
    openWep();
    // WEP: the interval is not the operator's to set and is not checked.
    page->ui->Ed_GKUIa->setText("");
    page->ui->Bt_Apply->click();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    EXPECT_EQ(sets().value(0), wepSet(1));

    sim->clearJournal();
    choose(page->ui->CB_SecAutha, "WPA-Personal");
    EXPECT_FALSE(page->ui->Ed_GKUIa->isReadOnly());
    page->ui->Ed_PassPha->setText("a-long-phrase");
    struct Case {
        const char* interval;
        bool accepted;
    };
    for (const Case& c :
         {Case{"299", false}, Case{"", false}, Case{"300", true}, Case{"9999999", true}}) {
        SCOPED_TRACE(c.interval);
        prompter.shown.clear();
        sim->clearJournal();
        page->ui->Ed_GKUIa->setText(c.interval);
        page->ui->Bt_Apply->click();
        if (c.accepted) {
            EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
            EXPECT_EQ(sets(),
                      (QStringList{kAuth + "4", devMibOid("2.5.1.1.4.1=a-long-phrase,") +
                                                    devMibOid("2.5.1.1.5.1=1,") +
                                                    devMibOid("2.5.1.1.6.1=") + c.interval}));
        } else {
            EXPECT_EQ(prompter.texts(),
                      QStringList{"Please input a number between 300 and 9999999."});
            EXPECT_TRUE(page->ui->Ed_GKUIa->text().isEmpty());
            EXPECT_TRUE(sets().isEmpty());
        }
    }
    prompter.shown.clear();
    page->ui->Ed_GKUIa->setText("3600");
    page->ui->Ed_PassPha->setText("short");
    page->ui->Bt_Apply->click();
    EXPECT_EQ(prompter.texts(),
              QStringList{"The length of 802.11g PassPhrase is between 8 and 63."});
}

TEST_F(EncryptPage, EnterpriseWritesTheSecurityServerAndCountsItsResult) {
    open("wireless-compact", {"set devMib.2.5.1.1.1.1 5", "set devMib.2.5.2.3.0 10.0.0.7"});
    EXPECT_EQ(page->ui->CB_SecAutha->currentText(), "WPA-Enterprise");
    EXPECT_EQ(page->ui->Ed_RadiusSrv2->text(), "10.0.0.7");
    EXPECT_FALSE(page->ui->Ed_RadiusSrv2->isReadOnly());
    EXPECT_TRUE(page->ui->Ed_PassPha->isReadOnly());

    page->ui->Ed_RadiusSrv2->setText("10.0.0.300");
    page->ui->Bt_Apply->click();
    EXPECT_EQ(prompter.texts(), QStringList{"The Radius server's IP is illegal."});

    prompter.shown.clear();
    page->ui->Ed_RadiusSrv2->setText("10.0.0.8");
    page->ui->Ed_DNSIP->setText("10.0.0.53");
    page->ui->Ed_RadiusPort->setText("1645");
    page->ui->Bt_Apply->click();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    const QStringList written = sets();
    ASSERT_EQ(written.size(), 3) << written.join(" | ").toStdString();
    EXPECT_EQ(written[0], kAuth + "5");
    EXPECT_EQ(written[1], devMibOid("2.5.1.1.5.1=1,") + devMibOid("2.5.1.1.6.1=3600"));
    EXPECT_EQ(written[2], QStringList({devMibOid("2.5.2.1.0=10.0.0.53"), devMibOid("2.5.2.2.0="),
                                       devMibOid("2.5.2.3.0=10.0.0.8"), devMibOid("2.5.2.4.0=1645"),
                                       devMibOid("2.5.2.5.0=")})
                              .join(","));
    EXPECT_EQ(status(), "Setting Success!");

    // A refused server write is the Apply's failure.
    ASSERT_TRUE(sim->command("error devMib.2.5.2 10 set"));
    page->ui->Bt_Apply->click();
    EXPECT_EQ(status(), "Setting error!");
}

TEST_F(EncryptPage, CodeBaseWithoutDnsHidesAndNeverWritesIt) {
    open("wireless-compact", {"set devMib.99.1.1.5.0 3.3.0.156", "set devMib.2.5.1.1.1.1 5"});
    EXPECT_TRUE(page->ui->Ed_DNSIP->isHidden());
    EXPECT_TRUE(page->ui->Ed_DNS->isHidden());
    EXPECT_TRUE(page->ui->Label23->isHidden());
    page->ui->Ed_RadiusSrv2->setText("10.0.0.8");
    page->ui->Bt_Apply->click();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    ASSERT_EQ(sets().size(), 3);
    EXPECT_FALSE(sets()[2].contains(devMibOid("2.5.2.1.0")));
    EXPECT_FALSE(sets()[2].contains(devMibOid("2.5.2.2.0")));
    EXPECT_TRUE(sets()[2].startsWith(devMibOid("2.5.2.3.0=10.0.0.8")));
}

TEST_F(EncryptPage, AnAuthenticationThePageDoesNotOfferIsNeverOverwritten) {
    struct Case {
        const char* mode;
        const char* auth;
    };
    // A bridge offers no WPA; no mode offers WPA2 here.
    for (const Case& c : {Case{"2", "4"}, Case{"1", "6"}}) {
        SCOPED_TRACE(std::string(c.mode) + "/" + c.auth);
        open("wireless-compact", {QString("set devMib.2.1.1.1.1 ") + c.mode,
                                  QString("set devMib.2.5.1.1.1.1 ") + c.auth});
        EXPECT_EQ(page->ui->CB_SecAutha->currentIndex(), -1);
        EXPECT_EQ(page->ui->CB_SecAutha->count(), QString(c.mode) == "1" ? 5 : 3);
        page->ui->Bt_Apply->click();
        EXPECT_EQ(prompter.texts(), QStringList{"Please select a value for Authentication."});
        EXPECT_TRUE(sets().isEmpty());
        page.reset();
        form.reset();
        sim.reset();
    }
}

} // namespace
