#include "app/main_window.h"
#include "app/module_texts.h"
#include "platform/registry.h"
#include "snmplib/messages.h"
#include "snmplib/session.h"
#include "tests/support/files.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/sim_fixture.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

// Loopback addresses of this test process only, so that no other module's lock is met.
QString address(int n) {
    return QStringLiteral("127.92.%1.%2").arg(QCoreApplication::applicationPid() % 250).arg(n);
}

class MainFormStartup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        savedDir = QDir::currentPath();
        // The session's boot counter is written to the working directory.
        ASSERT_TRUE(QDir::setCurrent(dir.path()));
        useRegistry("");
        qv::resetMessageTables();
    }
    void TearDown() override {
        platform::setRegistry(nullptr);
        QDir::setCurrent(savedDir);
        qv::resetMessageTables();
    }
    void useRegistry(const QByteArray& contents) {
        ASSERT_TRUE(test::writeFile(dir.filePath("registry.ini"), contents));
        registry = platform::makeIniRegistry(dir.filePath("registry.ini"));
        platform::setRegistry(registry.get());
    }
    // A simulated device answering at address(n), named by its device file (SNMPv1, the
    // default communities; the file is read before each switch after the address, so the window
    // gets one, "/Rfenrow", as the host gives it): a window that starts probes the device instead
    // of waiting out the time-outs of a silent address.
    void deviceAt(int n) {
        kwtest::SimOptions options("recent", 1);
        options.address = address(n);
        devices.push_back(std::make_unique<kwtest::SimDevice>(options));
        ASSERT_TRUE(devices.back()->ok()) << devices.back()->error().toStdString();
        registry = platform::makeIniRegistry(devices.back()->writeModuleFiles(dir.path(), 0));
        platform::setRegistry(registry.get());
    }

    QTemporaryDir dir;
    QString savedDir;
    std::unique_ptr<platform::Registry> registry;
    test::ScriptedPrompter prompter;
    std::vector<std::unique_ptr<kwtest::SimDevice>> devices;
};

TEST_F(MainFormStartup, WithoutArgumentsTheModuleRefusesToRun) {
    TMainForm form({});
    EXPECT_FALSE(form.started());
    EXPECT_EQ(form.exitCode(), 0);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.windowTitle(), "KW-9100");
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].caption, "KW-9100");
    EXPECT_EQ(prompter.shown[0].text, "This module is only used in the Halvren or HP-Openview.");
    EXPECT_EQ(prompter.shown[0].buttons, platform::Buttons::Ok);
}

TEST_F(MainFormStartup, AddressGoesToTheCaptionAndTheSession) {
    deviceAt(1);
    TMainForm form({"/I" + address(1), "/Rfenrow"});
    EXPECT_TRUE(form.started());
    EXPECT_TRUE(prompter.shown.isEmpty()) << prompter.texts().join('|').toStdString();
    EXPECT_EQ(form.windowTitle(), "KW-9100 : " + address(1));
    EXPECT_EQ(form.addressText(), address(1));
    EXPECT_EQ(qv::sessionDevice().address, address(1));
    // The port comes from the device file; 161 without one (tests/app/startup_test.cpp).
    EXPECT_EQ(qv::sessionDevice().port, devices[0]->port());
    EXPECT_EQ(qv::sessionSecurity().version, 0);
    EXPECT_EQ(qv::sessionSecurity().readCommunity, "fenrow");
    EXPECT_EQ(qv::sessionSecurity().writeCommunity, "quillet");
}

TEST_F(MainFormStartup, OneModulePerAddress) {
    deviceAt(2);
    deviceAt(3);
    auto first = std::make_unique<TMainForm>(QStringList{"/I" + address(2), "/Rfenrow"});
    ASSERT_TRUE(first->started());

    TMainForm second({"/I" + address(2), "/Rfenrow"});
    EXPECT_FALSE(second.started());
    EXPECT_EQ(second.exitCode(), 0);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].caption, "Warning");
    EXPECT_EQ(prompter.shown[0].text, "Another KW9100 module is running!");

    TMainForm otherAddress({"/I" + address(3), "/Rfenrow"});
    EXPECT_TRUE(otherAddress.started());
    EXPECT_EQ(prompter.shown.size(), 1);

    first.reset();
    TMainForm again({"/I" + address(2), "/Rfenrow"});
    EXPECT_TRUE(again.started());
    EXPECT_EQ(prompter.shown.size(), 1);
}

TEST_F(MainFormStartup, BadNumberEndsTheModuleWithAMessageNamingIt) {
    deviceAt(4);
    {
        TMainForm form({"/I" + address(4), "/vx"});
        EXPECT_FALSE(form.started());
        EXPECT_EQ(form.exitCode(), 1);
        ASSERT_EQ(prompter.shown.size(), 1);
        EXPECT_EQ(prompter.shown[0].caption, "Error");
        EXPECT_TRUE(prompter.shown[0].text.contains("\"/v\""))
            << prompter.shown[0].text.toStdString();
        EXPECT_TRUE(prompter.shown[0].text.contains("\"x\""))
            << prompter.shown[0].text.toStdString();
        // The lock is not taken before the arguments are through: a corrected start runs.
        TMainForm corrected({"/I" + address(4), "/v1"});
        EXPECT_TRUE(corrected.started());
    }
    ASSERT_TRUE(test::writeFile(dir.filePath(address(5) + ".cfg"),
                                "[Program Information]\nVersion=1\nSecurityModel=1\n"));
    TMainForm form({"/I" + address(5), "/Rread"});
    EXPECT_FALSE(form.started());
    ASSERT_EQ(prompter.shown.size(), 2);
    EXPECT_TRUE(prompter.shown[1].text.contains("\"AgentPort\""))
        << prompter.shown[1].text.toStdString();
}

TEST_F(MainFormStartup, RegistryNamesTheDeviceFileAndTheHelpDirectory) {
    useRegistry("[\\SOFTWARE\\Velkor\\Halvren5.1\\ExePath]\n"
                "Path=" +
                dir.path().toUtf8() +
                "/Halvren/Bin/\n"
                "[\\SOFTWARE\\Velkor\\Modules\\HelpPath]\n"
                "1.3.6.1.4.1.32473.2.20=" +
                dir.path().toUtf8() + "/Help/KW9100HL.HLP\n");
    ASSERT_TRUE(test::writeFile(dir.path() + "/Halvren/Conf/MBF/" + address(6) + ".cfg",
                                "[Program Information]\nAgentPort=1161\nVersion=3\n"
                                "SecurityModel=3\nSecurityLevel=2\nAuthProtocol=1\n"
                                "PrivProtocol=1\nSecurityName=fileuser\n"));
    ASSERT_TRUE(test::writeFile(dir.path() + "/Help/ErrMsg/qvsnmp.err", "help text 0\n"));
    TMainForm form({"/I" + address(6), "/nadmin"});
    ASSERT_TRUE(form.started()) << prompter.texts().join('|').toStdString();
    EXPECT_EQ(qv::sessionDevice().port, 1161);
    EXPECT_EQ(qv::sessionSecurity().version, 3);
    EXPECT_EQ(qv::sessionSecurity().securityModel, 3);
    EXPECT_EQ(qv::sessionSecurity().securityLevel, 3);
    EXPECT_EQ(qv::sessionSecurity().authProtocol, 2);
    EXPECT_EQ(qv::sessionSecurity().privProtocol, 2);
    EXPECT_EQ(qv::sessionSecurity().securityName, "admin");
    EXPECT_EQ(qv::messageText(qv::MessageTable::Library, 0), "help text 0");
}

TEST_F(MainFormStartup, SessionThatCannotBeCreatedEndsTheModule) {
    // A read-only boot counter: the advanced count cannot be saved.
    const QString counter = dir.filePath("QvSNMP_PP_BootCounter");
    ASSERT_TRUE(test::writeFile(counter, ""));
    ASSERT_TRUE(QFile::setPermissions(counter, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    TMainForm form({"/I" + address(7)});
    EXPECT_FALSE(form.started());
    EXPECT_EQ(form.exitCode(), 1);
    ASSERT_EQ(prompter.shown.size(), 1);
    EXPECT_EQ(prompter.shown[0].caption, "KW-9100");
    EXPECT_EQ(prompter.shown[0].text, qv::codeText(-508));
    EXPECT_EQ(form.windowTitle(), "KW-9100");
}

} // namespace
