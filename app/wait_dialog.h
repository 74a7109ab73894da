#pragma once
// The wait dialog: counts down while the device restarts and, on devices that apply changes only
// after a restart, sends the restart command itself on an early tick.
//
//   TFM_Waiting wait(qApp->activeWindow());   // or the main window
//   wait.ticksBeforeReboot = 5;               // optional, after construction
//   wait.Label3->setText("Waiting for reboot...");
//   wait.exec();
#include <functional>
#include <memory>
#include <QDialog>

class QLabel;
class QLineEdit;
class QTimer;
class QvSNMPRequest2Edits;

namespace app {
// Whether the device keeps changes pending until "Save and Active" (decided by the main window's
// capability probe). Pages read it to decide whether an apply needs a restart.
bool saveSupported();
void setSaveSupported(bool supported);
} // namespace app

class TFM_Waiting : public QDialog {
    Q_OBJECT

public:
    explicit TFM_Waiting(QWidget* owner);
    ~TFM_Waiting() override;

    int secondsLeft = 25;      // shown in La_Time
    int stallCount = 0;        // ticks spent waiting at 1 second for a silent device
    int ticksBeforeReboot = 2; // ticks before the restart command goes out
    bool rebootPending = true; // the restart step has not run yet
    bool sendReboot = true;    // whether the restart step sends the command

    // Whether the device is silent now. By default: the main window's front-panel poll last
    // timed out.
    std::function<bool()> deviceSilent;

    QLabel* Label2 = nullptr; // "Settings saved."
    QLabel* Label3 = nullptr; // "The device is restarting." (pages may replace it)
    QLabel* Label1 = nullptr;
    QLabel* La_Time = nullptr;
    QLabel* seconds = nullptr;
    QLineEdit* Ed_Reboot = nullptr; // carries the restart command
    QLineEdit* Ed_FwVer = nullptr;  // never filled
    QTimer* Timer1 = nullptr;       // 1200 ms

    // The restart request once the restart step has sent it.
    const QvSNMPRequest2Edits* rebootRequest() const { return rebootRequest_.get(); }

    // One tick of Timer1.
    void Timer1Timer();
    // Whether a close may go on: never during the count-down, unless the device has stayed
    // silent for more than two ticks (then the count-down ends here).
    bool FormCloseQuery();

public slots:
    void reject() override;

private:
    // La_Time and what it announces follow secondsLeft.
    void showSecondsLeft();
    void restartStep();

    std::unique_ptr<QvSNMPRequest2Edits> rebootRequest_;
};
