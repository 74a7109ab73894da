#include "platform/timers.h"

#include <algorithm>
#include <cmath>
#include <QtGlobal>

namespace platform {
namespace {
double& speed() {
    static double factor = [] {
        bool ok = false;
        const double env = qEnvironmentVariable("KW9100_TIMER_SPEED").toDouble(&ok);
        return ok && env > 0 ? env : 1.0;
    }();
    return factor;
}
} // namespace

double timerSpeed() {
    return speed();
}

void setTimerSpeed(double factor) {
    speed() = factor > 0 ? factor : 1.0;
}

int scaledInterval(int nominalMs) {
    if (nominalMs <= 0)
        return 0;
    return std::max(1, static_cast<int>(std::lround(nominalMs / speed())));
}

QTimer* makeTimer(QObject* parent, int nominalMs, bool singleShot) {
    auto* timer = new QTimer(parent);
    timer->setInterval(scaledInterval(nominalMs));
    timer->setSingleShot(singleShot);
    return timer;
}

} // namespace platform
