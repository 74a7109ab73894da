// The start-up measurement's marker: written once, after the last capability request of the
// probe has had its first answer (benchmarks/startup times the module by it).
#include "tests/support/device_window.h"

#include <QFile>

namespace {

class ProbeMarker : public test::DeviceWindow {
protected:
    void SetUp() override {
        DeviceWindow::SetUp();
        marker = dir.filePath("probe.marker");
        qputenv("KW9100_PROBE_MARKER", marker.toUtf8());
    }
    void TearDown() override {
        DeviceWindow::TearDown();
        qunsetenv("KW9100_PROBE_MARKER");
    }
    QString marker;
};

TEST_F(ProbeMarker, IsWrittenWhenTheLastCapabilityAnswerHasArrived) {
    // A first window starts the simulator; the second one is probed with one capability that
    // the probe reads asynchronously answered late, after several periodic refreshes of others.
    start("recent");
    form.reset();
    QFile::remove(marker);
    ASSERT_TRUE(sim->command("delay devMib.99.1.1.31 800 get"));
    form = std::make_unique<TMainForm>(
        QStringList{"/I" + sim->address(), "/R" + QString(kwtest::SimDevice::kReadCommunity)});
    ASSERT_TRUE(form->started());
    EXPECT_FALSE(QFile::exists(marker)); // the WMM flag is still on its way
    EXPECT_EQ(form->flagText("Ed_WMM"), "Ed_WMM");
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return QFile::exists(marker); }, 5000));
    EXPECT_EQ(form->flagText("Ed_WMM"), "1");

    // Later refreshes of the same requests do not write it again.
    QFile::remove(marker);
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return form->refreshCounter() >= 3; }, 5000));
    EXPECT_FALSE(QFile::exists(marker));
}

TEST_F(ProbeMarker, IsNotWrittenWithoutTheVariable) {
    qunsetenv("KW9100_PROBE_MARKER");
    start("recent");
    ASSERT_TRUE(kwtest::SimDevice::waitUntil([&] { return form->refreshCounter() >= 2; }, 5000));
    EXPECT_FALSE(QFile::exists(marker));
}

} // namespace
