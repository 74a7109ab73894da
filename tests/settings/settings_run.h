#pragma once
// kw9100-settings run as a program against the simulated device, as an administrator runs it:
// the host's registry stand-in and device file name the device's port and SNMP version.
#include "tests/support/sim_fixture.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace test {

struct SettingsResult {
    int exitCode = -1;
    QString out;
    QString err;
};

inline QString settingsProgram() {
    return kwtest::binDir() + "/kw9100-settings";
}

inline QProcessEnvironment settingsEnvironment(const QString& registry) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KW9100_REGISTRY", registry);
    return env;
}

// Runs the program with `args` in `workDir` (its boot counter goes there) and waits for it.
inline SettingsResult runSettings(const QStringList& args, const QString& registry,
                                  const QString& workDir, int timeoutMs = 120000) {
    QProcess p;
    p.setProcessEnvironment(settingsEnvironment(registry));
    p.setWorkingDirectory(workDir);
    p.start(settingsProgram(), args);
    SettingsResult r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        r.err = "did not end";
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The switches that reach a simulated device over SNMPv2c (its port comes from the device file).
inline QStringList deviceSwitches(const kwtest::SimDevice& sim) {
    return {"/I" + sim.address(), QString("/R") + kwtest::SimDevice::kReadCommunity};
}

} // namespace test
