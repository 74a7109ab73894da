// A device that does not answer: the main window shows, with its picture and a status line naming
// the device, before the capability probe's synchronous reads have waited out their time-outs,
// and it is painted while they wait; the menus wait for the probe.
#include "app/main_window.h"
#include "platform/registry.h"
#include "platform/timers.h"
#include "snmplib/messages.h"
#include "tests/support/files.h"
#include "tests/support/scripted_prompter.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QNetworkDatagram>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <vector>

namespace {

QString address() {
    return QStringLiteral("127.93.%1.1").arg(QCoreApplication::applicationPid() % 250);
}

// BER contents of the OIDs the probe reads synchronously first and second: the save-and-activate
// variable devMib.5.1.0 and wdsclientinfonotsupported devMib.99.1.1.35.0 (devMib is
// 1.3.6.1.4.1.32473.1; 32473 in base 128 is 0x81 0xFD 0x59).
const QByteArray kDevMib = QByteArray::fromHex("2b06010401 81fd59 01");
const QByteArray kSaveOid = kDevMib + QByteArray::fromHex("050100");
const QByteArray kWdsOid = kDevMib + QByteArray::fromHex("6301012300");

// What the window looked like each time its picture was painted during the start-up.
struct Paint {
    bool probing = false;
    bool menusEnabled = false;
    QString status;
    bool saveAsked = false; // the first synchronous read had been sent
    bool wdsAsked = false;  // the second one had been sent: the first wait was over
};

// Watches the picture's paints while the window is being made, and reads what the silent device
// has received so far at each of them. Until the second synchronous read goes out it asks for
// another paint each time, so that paints during a later wait show that the waits keep painting.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QUdpSocket& device) : device_(device) {}
    std::vector<Paint> paints;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint || watched->objectName() != "Image1")
            return false;
        TMainForm* form = app::mainForm();
        if (!form)
            return false;
        while (device_.hasPendingDatagrams()) {
            const QByteArray datagram = device_.receiveDatagram().data();
            saveAsked_ = saveAsked_ || datagram.contains(kSaveOid);
            wdsAsked_ = wdsAsked_ || datagram.contains(kWdsOid);
        }
        paints.push_back({form->probing(), form->menuBar()->isEnabled(),
                          form->statusBar()->findChild<QLabel*>("StatusPanel")->text(), saveAsked_,
                          wdsAsked_});
        if (form->probing() && !wdsAsked_)
            static_cast<QWidget*>(watched)->update();
        return false;
    }

private:
    QUdpSocket& device_;
    bool saveAsked_ = false;
    bool wdsAsked_ = false;
};

TEST(WindowAtOnce, ASilentDeviceSeesTheWindowPaintedWhileTheProbeWaits) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString savedDir = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path())); // the session's boot counter goes here
    qv::resetMessageTables();

    // The device: a port that receives and never answers.
    QUdpSocket device;
    ASSERT_TRUE(device.bind(QHostAddress(address()), 0));
    const QString base = dir.path() + "/";
    ASSERT_TRUE(test::writeFile(base + address() + ".cfg",
                                QStringLiteral("[Program Information]\nAgentPort=%1\nVersion=1\n"
                                               "SecurityModel=3\nSecurityLevel=0\n"
                                               "AuthProtocol=0\nPrivProtocol=0\n")
                                    .arg(device.localPort())
                                    .toUtf8()));
    ASSERT_TRUE(
        test::writeFile(base + "registry.ini",
                        "[\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile]\nPath=" + base.toUtf8() + "\n"));
    const auto registry = platform::makeIniRegistry(base + "registry.ini");
    platform::setRegistry(registry.get());
    test::ScriptedPrompter prompter;

    PaintWatch watch(device);
    qApp->installEventFilter(&watch);
    // Every synchronous read of the probe waits out its time-out and retry here.
    auto form = std::make_unique<TMainForm>(QStringList{"/I" + address(), "/Rfenrow"});
    qApp->removeEventFilter(&watch);
    ASSERT_TRUE(form->started()) << prompter.texts().join("; ").toStdString();

    // The first paint came while the first synchronous read was still waiting, at the latest.
    ASSERT_FALSE(watch.paints.empty()) << "the window was not painted during the probe";
    const Paint& first = watch.paints.front();
    EXPECT_TRUE(first.probing);
    EXPECT_TRUE(first.saveAsked);
    EXPECT_FALSE(first.wdsAsked);
    EXPECT_FALSE(first.menusEnabled);
    EXPECT_EQ(first.status, "Asking " + address() + " ...");
    // And it kept being painted in the later waits.
    const bool paintedLater = std::any_of(watch.paints.begin(), watch.paints.end(),
                                          [](const Paint& p) { return p.probing && p.wdsAsked; });
    EXPECT_TRUE(paintedLater);

    // The probe has ended: the menus are open to the operator.
    EXPECT_FALSE(form->probing());
    EXPECT_TRUE(form->menuBar()->isEnabled());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(prompter.shown.isEmpty());

    form.reset();
    platform::setRegistry(nullptr);
    QDir::setCurrent(savedDir);
}

} // namespace
