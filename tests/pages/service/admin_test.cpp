// The administrator page of firmware without management limits, against the simulated device:
// the login checks in their order, what is written, and that the device's password is never
// shown and is kept when no new one is typed.
#include "pages/service/admin.h"
#include "tests/pages/service/service_page.h"

#include <QStatusBar>

namespace {

using test::devMibOid;

const QString kStoredPassword = "s3cret";

class AdminPage : public test::ServicePage<TFM_Admin> {
protected:
    void openPage() {
        openOn("early", {"set devMib.3.1.1.0 admin", "set devMib.3.1.2.0 " + kStoredPassword});
    }
};

TEST_F(AdminPage, OpensWithTheUserNameAndNoPasswordShown) {
    openPage();
    EXPECT_EQ(page->windowTitle(), "Tools \\ Admin");
    EXPECT_EQ(page->ui->Ed_Usr->text(), "admin");
    for (QLineEdit* e : {page->ui->Ed_OPwd, page->ui->Ed_NPwd, page->ui->Ed_CNP, page->ui->Ed_Pwd})
        EXPECT_TRUE(e->text().isEmpty()) << e->objectName().toStdString();
    for (QLineEdit* e : {page->ui->Ed_OPwd, page->ui->Ed_NPwd, page->ui->Ed_CNP})
        EXPECT_EQ(e->echoMode(), QLineEdit::Password);
    EXPECT_FALSE(page->ui->Ed_Pwd->isVisibleTo(page.get()));
    EXPECT_EQ(page->ui->Label_usr->buddy(), page->ui->Ed_Usr);
    EXPECT_EQ(page->ui->Label_cnp->buddy(), page->ui->Ed_CNP);
}

TEST_F(AdminPage, LoginChecksAndWrites) {
    const QString user = devMibOid("3.1.1.0=");
    const QString password = devMibOid("3.1.2.0=");
    const QString name64 = QString(63, 'a') + "Z";
    struct Case {
        const char* name;
        QString old, user, newPassword, confirm;
        QString message;  // refused with this text, or empty
        QString cleared;  // the field the refusal empties
        QStringList sets; // when accepted
    };
    const Case cases[] = {
        {"wrong old password",
         "wrong",
         "admin",
         "",
         "",
         "Please input the current password correctly!",
         "",
         {}},
        {"no old password",
         "",
         "admin",
         "",
         "",
         "Please input the current password correctly!",
         "",
         {}},
        {"64-character name", kStoredPassword, name64, "", "", "", "", {user + name64}},
        {"65-character name",
         kStoredPassword,
         name64 + "b",
         "",
         "",
         "Please limit user name to 64 characters!",
         "Ed_Usr",
         {}},
        {"name with a blank", kStoredPassword, "ad min", "", "", "Invaild UserName!", "Ed_Usr", {}},
        {"name with #", kStoredPassword, "ad#min", "", "", "Invaild UserName!", "Ed_Usr", {}},
        {"name of every allowed sign",
         kStoredPassword,
         "aZ09@._-",
         "",
         "",
         "",
         "",
         {user + "aZ09@._-"}},
        {"empty name", kStoredPassword, "", "", "", "", "", {user}},
        {"12-character password",
         kStoredPassword,
         "admin",
         "abcdefghijkl",
         "abcdefghijkl",
         "",
         "",
         {user + "admin," + password + "abcdefghijkl"}},
        {"13-character password",
         kStoredPassword,
         "admin",
         "abcdefghijklm",
         "abcdefghijklm",
         "Please limit password to 12 characters!",
         "Ed_NPwd",
         {}},
        {"confirmation differs",
         kStoredPassword,
         "admin",
         "new1",
         "new2",
         "Please input the confirm new password correctly!",
         "",
         {}},
        // No new password keeps the current one: the password is not sent at all.
        {"no new password", kStoredPassword, "admin", "", "", "", "", {user + "admin"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openPage();
        page->ui->Ed_OPwd->setText(c.old);
        page->ui->Ed_Usr->setText(c.user);
        page->ui->Ed_NPwd->setText(c.newPassword);
        page->ui->Ed_CNP->setText(c.confirm);
        page->ui->OK->click();
        if (!c.message.isEmpty()) {
            ASSERT_EQ(prompter.shown.size(), 1);
            EXPECT_EQ(prompter.shown[0].caption, "Warning");
            EXPECT_EQ(prompter.shown[0].text, c.message);
            if (!c.cleared.isEmpty()) {
                EXPECT_TRUE(page->findChild<QLineEdit*>(c.cleared)->text().isEmpty());
            }
            EXPECT_TRUE(sets().isEmpty());
            EXPECT_TRUE(waits.seen.isEmpty());
            continue;
        }
        EXPECT_TRUE(prompter.shown.isEmpty());
        // The wait dialog's restart command follows.
        EXPECT_EQ(sets(), c.sets + QStringList{devMibOid("3.3.5.0=4")});
        ASSERT_EQ(waits.seen.size(), 1);
        EXPECT_TRUE(waits.seen[0].sendReboot);
        EXPECT_EQ(waits.seen[0].label3, "The device is restarting.");
        // The restart made the login active.
        ASSERT_TRUE(kwtest::SimDevice::waitUntil(
            [&] { return sim->value("devMib.3.1.1.0")["active"].toString() == c.user; }, 8000));
        EXPECT_EQ(sim->value("devMib.3.1.2.0")["active"].toString(),
                  c.newPassword.isEmpty() ? kStoredPassword : c.newPassword);
    }
}

TEST_F(AdminPage, ARefusedWriteSaysSoAndDoesNotRestart) {
    openPage();
    ASSERT_TRUE(sim->command("error devMib.3.1 5 set"));
    page->ui->Ed_OPwd->setText(kStoredPassword);
    page->ui->OK->click();
    EXPECT_EQ(sets().size(), 1);
    EXPECT_EQ(page->ui->StatusBar->currentMessage(), "Setting Error!");
    EXPECT_TRUE(waits.seen.isEmpty());
}

} // namespace
