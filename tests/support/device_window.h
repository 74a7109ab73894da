#pragma once
// A main window started as the host starts it, against the simulated device: the device file
// gives the simulator's port, timers run ten times faster, message boxes are scripted.
#include "app/main_window.h"
#include "app/wait_dialog.h"
#include "platform/registry.h"
#include "platform/timers.h"
#include "snmplib/messages.h"
#include "tests/support/scripted_prompter.h"
#include "tests/support/sim_fixture.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

namespace test {

// A loopback address of this test process only: the window's single-instance lock is named
// after it.
inline QString deviceAddress(int n) {
    return QStringLiteral("127.94.%1.%2").arg(QCoreApplication::applicationPid() % 250).arg(n);
}

inline constexpr double kTestTimerSpeed = 10;

// The OID of a private object as the device sees it.
inline QString devMibOid(const QString& tail) {
    return QStringLiteral("1.3.6.1.4.1.32473.1.") + tail;
}

class DeviceWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        savedDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(dir.path())); // the session's boot counter goes here
        qv::resetMessageTables();
        platform::setTimerSpeed(kTestTimerSpeed);
        app::setSaveSupported(false);
    }
    void TearDown() override {
        form.reset();
        sim.reset();
        platform::setRegistry(nullptr);
        platform::setTimerSpeed(1);
        app::setSaveSupported(false);
        QDir::setCurrent(savedDir);
    }

    // Starts the simulator with `profile` (and further simulator options) and a main window
    // against it (SNMPv2c).
    void start(const QString& profile, int n = 1, const QStringList& simArgs = {}) {
        kwtest::SimOptions options(profile, 1);
        options.address = deviceAddress(n);
        options.extraArgs = simArgs;
        sim = std::make_unique<kwtest::SimDevice>(options);
        ASSERT_TRUE(sim->ok()) << sim->error().toStdString();
        registry = platform::makeIniRegistry(sim->writeModuleFiles(dir.path()));
        platform::setRegistry(registry.get());
        // The device file is read before each argument after the address.
        form = std::make_unique<TMainForm>(
            QStringList{"/I" + sim->address(), "/R" + QString(kwtest::SimDevice::kReadCommunity)});
        ASSERT_TRUE(form->started()) << prompter.texts().join("; ").toStdString();
        form->show();
    }

    // The capability refresh empties twelve flags on every eighth tick and asks for them again:
    // a page opened in between reads them as 0, as on a real device. Page tests that open pages
    // again and again hold it once the flags have their answers, so every opening sees them.
    // A refresh already on its way is let finish, so no flag is left emptied.
    void holdCapabilityRefresh() {
        if (auto* refresh = form->findChild<QTimer*>(QStringLiteral("Timer1")))
            refresh->stop();
        ASSERT_TRUE(
            kwtest::SimDevice::waitUntil([&] { return !form->capabilityRefreshPending(); }, 20000));
    }

    QString flag(const char* name) const { return form->flagText(QString::fromLatin1(name)); }
    bool lit(const char* led) const {
        return !form->findChild<QLabel*>(QString::fromLatin1(led))->isHidden();
    }
    // The SETs the device received, as "oid=value" per varbind, one string per PDU. Values of
    // the objects under `hexUnder` (MAC addresses: bytes, not text) as upper-case hex digits.
    QStringList sets(const QStringList& hexUnder = {}) const {
        QStringList out;
        for (const QJsonObject& pdu : sim->requests("set")) {
            QStringList binds;
            for (const auto& v : pdu["varbinds"].toArray()) {
                const QJsonObject vb = v.toObject();
                const QString oid = vb["oid"].toString();
                const bool hex =
                    std::any_of(hexUnder.begin(), hexUnder.end(),
                                [&](const QString& p) { return oid.startsWith(devMibOid(p)); });
                binds << oid + "=" +
                             (hex ? vb["hex"].toString().toUpper() : vb["value"].toString());
            }
            out << binds.join(",");
        }
        return out;
    }

    QTemporaryDir dir;
    QString savedDir;
    std::unique_ptr<platform::Registry> registry;
    ScriptedPrompter prompter;
    std::unique_ptr<kwtest::SimDevice> sim;
    std::unique_ptr<TMainForm> form;
};

} // namespace test
