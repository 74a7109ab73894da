// Entry point of every test executable: GoogleTest inside a QApplication on the offscreen
// platform, so that widgets, timers and sockets work without a display.
#include "platform/accessibility.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Single-instance locks live in the runtime directory. Test processes run side by side (and
    // their device addresses may meet), so each has a directory of its own; the processes a test
    // starts inherit it and so share its locks.
    std::unique_ptr<QTemporaryDir> runtime;
    if (qEnvironmentVariableIsEmpty("KW_TEST_RUNTIME_DIR")) {
        runtime = std::make_unique<QTemporaryDir>();
        if (runtime->isValid()) {
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
            qputenv("KW_TEST_RUNTIME_DIR", QFile::encodeName(runtime->path()));
        }
    }
    QApplication app(argc, argv);
    platform::installAccessibility(); // as the module's main() does
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
