#pragma once
// Records every wait dialog (TFM_Waiting) that shows while it exists: its texts and count-down
// settings as they were when it appeared. Polls the open windows every few milliseconds; the
// dialogs' own ticks are far slower even at the tests' timer speed.
#include "app/wait_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QList>
#include <QPointer>
#include <QTimer>

namespace test {

struct SeenWait {
    QString title;
    QString label2;
    QString label3;
    int secondsLeft = 0;
    int ticksBeforeReboot = 0;
    bool sendReboot = false;
};

class WaitWatcher {
public:
    WaitWatcher() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
        timer_.start();
    }

    QList<SeenWait> seen;

private:
    void look() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* wait = qobject_cast<TFM_Waiting*>(w);
            if (!wait || !wait->isVisible() || known_.contains(wait))
                continue;
            known_.append(wait);
            seen.append({wait->windowTitle(), wait->Label2->text(), wait->Label3->text(),
                         wait->secondsLeft, wait->ticksBeforeReboot, wait->sendReboot});
        }
    }

    QTimer timer_;
    QList<QPointer<TFM_Waiting>> known_;
};

} // namespace test
