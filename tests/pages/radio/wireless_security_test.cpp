// The security section of the wireless page (full layout): the checks of Apply, what each
// authentication type writes, WEP keys, RADIUS and accounting, and the secondary SSIDs kept
// consistent with the primary one.
#include "tests/pages/radio/wireless_fixture.h"

namespace {

using test::WirelessPage;

// Every PDU sent, its varbinds' OIDs joined: for "was it sent at all" checks.
QString everything(const QStringList& sets) {
    return sets.join(" | ");
}

class WirelessSecurity : public WirelessPage {
protected:
    void SetUp() override {
        WirelessPage::SetUp();
        open("recent");
        ASSERT_TRUE(page->fullLayout);
        ASSERT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    }
    void applyExpectingRefusal(const QString& caption, const QString& text) {
        prompter.shown.clear();
        sim->clearJournal();
        page->Bt_ApplyClick();
        ASSERT_EQ(prompter.shown.size(), 1) << prompter.texts().join("; ").toStdString();
        EXPECT_EQ(prompter.shown[0].caption, caption);
        EXPECT_EQ(prompter.shown[0].text, text);
        EXPECT_TRUE(sets().isEmpty()) << everything(sets()).toStdString();
    }
    void applyExpectingSuccess() {
        prompter.shown.clear();
        sim->clearJournal();
        page->Bt_ApplyClick();
        EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
        EXPECT_EQ(status(), "Setting Success!");
    }
};

TEST_F(WirelessSecurity, OpensWithTheDeviceSecurityAndAllNineTypes) {
    EXPECT_EQ(page->ui->Ed_SecAuthaTemp->count(), 9);
    EXPECT_EQ(page->ui->Ed_SecAuthaTemp->currentText(), "Open System");
    EXPECT_TRUE(page->ui->GroupBox4->isVisible());
    EXPECT_FALSE(page->ui->GroupBox5->isVisible());
    EXPECT_FALSE(page->ui->GroupBox6->isVisible());
    EXPECT_EQ(page->ui->Ed_SecEncypa->currentText(), "Disable");
    // Keys come back masked; the key size follows their length.
    EXPECT_EQ(page->Ed_Keya[0]->text(), "**********");
    EXPECT_EQ(page->ui->Ed_KeySize->currentText(), "64 Bits");
    EXPECT_FALSE(page->ui->CB_AcntEnable->isHidden()); // inside the RADIUS box, shown with it
    EXPECT_TRUE(page->ui->CB_AuSc->isVisible());
}

struct PassPhraseCase {
    const char* name;
    QString groupKey;
    QString passPhrase;
    const char* refusal; // empty: accepted
};

TEST_F(WirelessSecurity, PersonalChecksGroupKeyIntervalAndPassPhrase) {
    const QString groupKeyRange = "Please input a number between 300 and 9999999.";
    const QString phraseLength = "The length of 802.11g PassPhrase is between 8 and 63.";
    const PassPhraseCase cases[] = {
        {"interval 299", "299", "passphrase", "interval"},
        {"interval not a number", "abc", "passphrase", "interval"},
        {"interval empty", "", "passphrase", "interval"},
        {"phrase of 7", "300", "1234567", "phrase"},
        {"phrase of 64", "300", QString(64, QLatin1Char('p')), "phrase"},
        {"lowest interval, phrase of 8", "300", "12345678", ""},
        {"highest interval, phrase of 63", "9999999", QString(63, QLatin1Char('q')), ""},
    };
    choose(page->ui->Ed_SecAuthaTemp, "WPA-Personal");
    ASSERT_TRUE(page->ui->GroupBox6->isVisible());
    for (const PassPhraseCase& c : cases) {
        SCOPED_TRACE(c.name);
        page->ui->GroupKeyPSKEdit->setText(c.groupKey);
        page->ui->PassPhrasePSKEdit->setText(c.passPhrase);
        if (QString(c.refusal) == "interval") {
            applyExpectingRefusal("Error", groupKeyRange);
            EXPECT_EQ(page->ui->GroupKeyPSKEdit->text(), ""); // cleared for a new entry
            EXPECT_EQ(page->focusWidget(), page->ui->GroupKeyPSKEdit);
        } else if (QString(c.refusal) == "phrase") {
            applyExpectingRefusal("Error", phraseLength);
        } else {
            applyExpectingSuccess();
            // The primary security carries the authentication and encryption; the pass-phrase
            // list its three items.
            EXPECT_TRUE(sets().contains(mib("2.5.1.1.1.1=4") + "," + mib("2.5.1.1.2.1=1")))
                << everything(sets()).toStdString();
            EXPECT_TRUE(sets().contains(mib("2.5.1.1.5.1=1") + "," + mib("2.5.1.1.6.1=") +
                                        c.groupKey + "," + mib("2.5.1.1.4.1=") + c.passPhrase))
                << everything(sets()).toStdString();
            EXPECT_FALSE(everything(sets()).contains(mib("2.5.3.1.1.")));
            EXPECT_EQ(deviceValue("devMib.2.5.1.1.4.1"), c.passPhrase);
        }
    }
}

struct WepCase {
    const char* name;
    const char* keyType;
    const char* keySize;
    const char* validKey;
    int keyIndex; // the key edit given `key`
    QString key;
    const char* caption; // empty: accepted
    QString message;
    QString written; // the key's digits as sent (accepted cases); empty: key not sent
};

TEST_F(WirelessSecurity, WepKeysAreCheckedAndOnlyTheValidKeyIsWritten) {
    const WepCase cases[] = {
        {"hex 128, second key too short", "HEX", "128 Bits", "Second", 1, "0123456789", "Warning",
         "The Length of the 2nd key in IEEE802.11g must be 26!", ""},
        {"hex 128, second key", "HEX", "128 Bits", "Second", 1, "0123456789abcdef0123456789", "",
         "", "0123456789abcdef0123456789"},
        {"hex 64, not hexadecimal", "HEX", "64 Bits", "First", 0, "12345g7890", "",
         "Please input  Hexadecimal digits!", ""},
        {"ascii 152 misspelt", "ASCII", "152 Bits", "Fourth", 3, "short", "Warning",
         "The Lengh of the 4th key in IEEE802.11g must be 16!", ""},
        {"ascii 64 as digits", "ASCII", "64 Bits", "First", 0, "kw910", "", "", "6b77393130"},
        {"ascii beyond one byte", "ASCII", "64 Bits", "First", 0,
         QString::fromUtf8("kw91\xe2\x82\xac"), "", "Please input  Hexadecimal digits!", ""},
    };
    choose(page->ui->Ed_SecAuthaTemp, "Shared Key");
    ASSERT_EQ(page->ui->Ed_SecEncypa->currentText(), "Enable"); // forced for Shared Key
    for (const WepCase& c : cases) {
        SCOPED_TRACE(c.name);
        // As the operator goes: the key slot, then its type and size, then the key.
        choose(page->ui->Ed_SecValKeya, c.validKey);
        choose(page->ui->Ed_KeyType, c.keyType);
        choose(page->ui->Ed_KeySize, c.keySize);
        page->Ed_Keya[c.keyIndex]->setText(c.key);
        if (!c.message.isEmpty()) {
            applyExpectingRefusal(c.caption, c.message);
            continue;
        }
        applyExpectingSuccess();
        const QString keyOid = mib(QStringLiteral("2.5.3.1.1.1.%1").arg(c.keyIndex + 1));
        const QString validKey = QString::number(c.keyIndex + 1);
        EXPECT_TRUE(sets().contains(mib("2.5.1.1.1.1=2") + "," + mib("2.5.1.1.2.1=1") + "," +
                                    mib("2.5.1.1.3.1=") + validKey + "," + keyOid + "=" +
                                    c.written))
            << everything(sets()).toStdString();
        EXPECT_EQ(storedValue(QStringLiteral("devMib.2.5.3.1.1.1.%1").arg(c.keyIndex + 1)),
                  c.written);
        // The other keys are neither checked nor written.
        for (int k = 1; k <= 4; ++k) {
            if (k == c.keyIndex + 1)
                continue;
            EXPECT_FALSE(
                everything(sets()).contains(mib(QStringLiteral("2.5.3.1.1.1.%1=").arg(k))));
        }
    }
}

TEST_F(WirelessSecurity, AnUnchangedMaskedKeyIsNotSentWhileTheValidKeyIs) {
    choose(page->ui->Ed_SecAuthaTemp, "Open System");
    choose(page->ui->Ed_SecEncypa, "Enable");
    choose(page->ui->Ed_SecValKeya, "Third");
    ASSERT_EQ(page->Ed_Keya[2]->text(), "**********");
    applyExpectingSuccess();
    EXPECT_TRUE(sets().contains(mib("2.5.1.1.1.1=1") + "," + mib("2.5.1.1.2.1=1") + "," +
                                mib("2.5.1.1.3.1=3")))
        << everything(sets()).toStdString();
    EXPECT_FALSE(everything(sets()).contains(mib("2.5.3.1.1.")));
    EXPECT_EQ(storedValue("devMib.2.5.3.1.1.1.3"), "0000000000");
}

struct RadiusCase {
    const char* name;
    QString groupKey;
    QString server;
    QString port;
    QString message; // empty: accepted
};

TEST_F(WirelessSecurity, EnterpriseChecksTheRadiusServer) {
    const RadiusCase cases[] = {
        {"interval too small", "299", "10.0.0.5", "1812",
         "Please input a number between 300 and 9999999."},
        {"first field 0", "3600", "0.1.2.3", "1812", "The Radius server's IP is illegal."},
        {"not an address", "3600", "radius", "1812", "The Radius server's IP is illegal."},
        {"no port", "3600", "10.0.0.5", "", "Please input a number between 1 and 65535."},
        {"accepted", "3600", "10.0.0.5", "1645", ""},
    };
    choose(page->ui->Ed_SecAuthaTemp, "WPA2-Enterprise");
    ASSERT_TRUE(page->ui->GroupBox5->isVisible());
    ASSERT_TRUE(page->ui->GroupBox7->isVisible());
    choose(page->ui->CB_AcntEnable, "Disable");
    for (const RadiusCase& c : cases) {
        SCOPED_TRACE(c.name);
        page->ui->GroupKeyEdit->setText(c.groupKey);
        page->ui->RadiusServerEdit->setText(c.server);
        page->ui->RadiusportEdit->setText(c.port);
        page->ui->RadiusSecretEdit->setText("s3cret");
        if (!c.message.isEmpty()) {
            applyExpectingRefusal("Error", c.message);
            continue;
        }
        applyExpectingSuccess();
        EXPECT_TRUE(sets().contains(mib("2.5.1.1.5.1=1") + "," + mib("2.5.2.4.0=1645") + "," +
                                    mib("2.5.1.1.6.1=3600") + "," + mib("2.5.2.3.0=10.0.0.5") +
                                    "," + mib("2.5.2.5.0=s3cret")))
            << everything(sets()).toStdString();
        // Accounting disabled: only its mode is written.
        EXPECT_TRUE(sets().contains(mib("2.5.1.1.8.1=0"))) << everything(sets()).toStdString();
        EXPECT_FALSE(everything(sets()).contains(mib("2.5.1.1.9.1")));
        EXPECT_FALSE(everything(sets()).contains(mib("2.5.1.1.10.1")));
    }
}

TEST_F(WirelessSecurity, AccountingEnabledChecksItsServerAndWritesAllThree) {
    choose(page->ui->Ed_SecAuthaTemp, "Open System");
    choose(page->ui->CB_AcntEnable, "Enable");
    page->ui->Ed_AcntServer->setText("0.0.0.0");
    page->ui->Ed_AcntPort->setText("1813");
    applyExpectingRefusal("Warning", "The Accountings server's IP is illegal");
    page->ui->Ed_AcntServer->setText("10.0.0.9");
    page->ui->Ed_AcntPort->setText("");
    applyExpectingRefusal("Warning", "The range of Accounting Port is (1-65535)");
    page->ui->Ed_AcntPort->setText("1813");
    applyExpectingSuccess();
    EXPECT_TRUE(sets().contains(mib("2.5.1.1.8.1=1") + "," + mib("2.5.1.1.9.1=10.0.0.9") + "," +
                                mib("2.5.1.1.10.1=1813")))
        << everything(sets()).toStdString();
}

// A secondary SSID on WPA-Enterprise cannot stay so when the primary leaves it.
TEST_F(WirelessSecurity, SecondarySsidsFollowThePrimarySecurity) {
    ASSERT_TRUE(sim->command("set devMib.2.9.3.1.1.0 1"));
    ASSERT_TRUE(sim->command("set devMib.2.9.2.1.2.1.3 1"));
    ASSERT_TRUE(sim->command("set devMib.2.9.2.1.4.1.3 5")); // WPA-Enterprise
    ASSERT_TRUE(sim->command("set devMib.2.9.2.1.5.1.3 1"));
    reopen();
    ASSERT_TRUE(page->multiSsidAtLoad);
    // WPA on a secondary SSID leaves the primary the first and fourth key slots.
    EXPECT_EQ(items(page->ui->Ed_SecValKeya), (QStringList{"First", "Fourth"}));

    prompter.shown.clear();
    page->ui->Ed_SSIDa->setText("Lab-3");
    page->Bt_ApplyClick();
    ASSERT_EQ(prompter.texts(), QStringList{"The 11g Primary SSID's SSID is same as Multi-SSID 2"});
    EXPECT_TRUE(sets().isEmpty());

    page->ui->Ed_SSIDa->setText("KW9100");
    choose(page->ui->Ed_SecAuthaTemp, "WPA-Personal");
    page->ui->GroupKeyPSKEdit->setText("3600");
    page->ui->PassPhrasePSKEdit->setText("long enough");
    prompter.shown.clear();
    sim->clearJournal();
    page->Bt_ApplyClick();
    ASSERT_EQ(prompter.shown.size(), 1) << prompter.texts().join("; ").toStdString();
    EXPECT_EQ(prompter.shown[0].caption, "Warning");
    EXPECT_EQ(prompter.shown[0].text, "To change authentication type of Primary SSID will change "
                                      "WPA-Enterprise of Secondary SSID to non security.");
    const QStringList sent = sets();
    ASSERT_GE(sent.size(), 3);
    // SSID 3 (row 2) loses its security before anything of the primary is written.
    EXPECT_EQ(sent[0], mib("2.9.2.1.5.1.3=0"));
    EXPECT_EQ(sent[1], mib("2.9.2.1.4.1.3=1"));
    EXPECT_TRUE(sent[2].startsWith(mib("1.1.1.1.1=KW9100")));
    EXPECT_EQ(status(), "Setting Success!");
    EXPECT_FALSE(page->multiSsidAtLoad); // the warning comes once per opening
}

// Earlier firmware has guest SSIDs instead: the primary WEP key slot must not be a guest's, and a
// primary WPA type leaves the guests without encryption.
TEST_F(WirelessPage, GuestSsidsOfEarlierFirmware) {
    start("recent");
    settleFlags();
    ASSERT_TRUE(sim->command("set devMib.2.9.2.1.2.1.2 1")); // guest 1 on, encrypted, first key
    ASSERT_TRUE(sim->command("set devMib.2.9.2.1.5.1.2 1"));
    form->flagEdit("NewMultiSupport")->setText("0");
    reopen();
    ASSERT_EQ(page->Guest_ComboBox[0]->currentText(), "Enable");
    ASSERT_EQ(page->GuestKeyIndex_ComboBox[0]->currentText(), "first");

    choose(page->ui->Ed_SecAuthaTemp, "Shared Key");
    choose(page->ui->Ed_SecValKeya, "First");
    prompter.shown.clear();
    page->Bt_ApplyClick();
    EXPECT_EQ(prompter.texts(),
              QStringList{"The 11g master SSID's key index is same as Guest SSID1"});
    EXPECT_TRUE(sets().isEmpty());

    // Another slot: accepted, and WEP on the primary leaves the guests as they are.
    choose(page->ui->Ed_SecValKeya, "Second");
    prompter.shown.clear();
    page->Bt_ApplyClick();
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join("; ").toStdString();
    EXPECT_FALSE(sets().join("|").contains(mib("2.9.2.1.5.1.2")));
    EXPECT_EQ(status(), "Setting Success!");

    choose(page->ui->Ed_SecAuthaTemp, "WPA-Personal");
    page->ui->PassPhrasePSKEdit->setText("long enough");
    sim->clearJournal();
    page->Bt_ApplyClick();
    EXPECT_EQ(sets().value(0), mib("2.9.1.1.1.1=0,") + mib("2.9.2.1.2.1.2=1,") +
                                   mib("2.9.2.1.2.1.3=0,") + mib("2.9.2.1.2.1.4=0,") +
                                   mib("2.9.2.1.5.1.2=0,") + mib("2.9.2.1.5.1.3=0,") +
                                   mib("2.9.2.1.5.1.4=0"));
    EXPECT_EQ(deviceValue("devMib.2.9.2.1.5.1.2"), "0");
    EXPECT_EQ(status(), "Setting Success!");
}

} // namespace
