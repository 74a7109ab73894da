#pragma once
// Every timer of the module is made here, so that tests can run count-downs faster. The speed
// factor is 1 outside tests; a factor of 10 makes a 1200 ms tick fire every 120 ms.
#include <QTimer>

namespace platform {

double timerSpeed();
// Tests only. Also read once from the environment variable KW9100_TIMER_SPEED, so that a module
// started as a separate process by a test runs at the test's speed.
void setTimerSpeed(double factor);

// Interval in real milliseconds for a nominal interval.
int scaledInterval(int nominalMs);

// A timer owned by `parent` with the nominal interval scaled by the speed factor.
QTimer* makeTimer(QObject* parent, int nominalMs, bool singleShot = false);

} // namespace platform
