#include "platform/events.h"

#include <gtest/gtest.h>
#include <QTimer>

namespace {

TEST(ProcessPendingEvents, RunsWhatIsWaitingAndReturnsWithoutWaitingForMore) {
    int queued = 0;
    int later = 0;
    QObject context;
    QMetaObject::invokeMethod(
        &context, [&] { ++queued; }, Qt::QueuedConnection);
    QTimer::singleShot(60000, &context, [&] { ++later; });
    platform::processPendingEvents();
    EXPECT_EQ(queued, 1);
    EXPECT_EQ(later, 0); // a timer not yet due is left alone, and nothing blocked on it
}

} // namespace
