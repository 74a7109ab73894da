#pragma once
// Shared by the fuzz targets: the Qt application they need, a prompter that never blocks, a
// scratch directory, and the splitting of one input into several texts.
#include "platform/prompter.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <QApplication>
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

namespace fuzz {

// Parts of one input are separated by this byte (the ASCII record separator); the dictionaries
// name it, so that the fuzzer adds and removes parts easily.
inline constexpr char kSeparator = '\x1e';

inline QList<QByteArray> split(const uint8_t* data, size_t size, int maxParts) {
    const QByteArray all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QList<QByteArray> parts = all.split(kSeparator);
    while (parts.size() > maxParts)
        parts.removeLast();
    while (parts.size() < maxParts)
        parts.append(QByteArray());
    return parts;
}

// Answers every question with OK and counts nothing: a message box must never wait here.
class SilentPrompter : public platform::Prompter {
public:
    platform::Answer ask(const QString& caption, const QString& text, platform::Buttons) override {
        lastCaption = caption;
        lastText = text;
        return platform::Answer::Ok;
    }
    void beep() override {}
    QString lastCaption;
    QString lastText;
};

// The application object (widgets on the offscreen platform) and the silent prompter, made once.
inline SilentPrompter& start() {
    static int argc = 1;
    static char name[] = "kw-fuzz";
    static char* argv[] = {name, nullptr};
    static const bool environment = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        // Qt's own warnings (a bad widget geometry, a missing font) are no findings.
        qputenv("QT_LOGGING_RULES", "*.warning=false");
        return true;
    }();
    (void)environment;
    // Made once and never destroyed: libFuzzer ends the process with exit(), and tearing Qt's
    // GUI down from the exit handlers crashes inside Qt.
    static QApplication* const app = new QApplication(argc, argv);
    (void)app;
    static SilentPrompter prompter;
    platform::setPrompter(&prompter);
    return prompter;
}

// A directory of this process for the files an input becomes.
inline const QTemporaryDir& scratch() {
    static QTemporaryDir dir;
    if (!dir.isValid())
        std::abort();
    return dir;
}

inline QString writeScratch(const QString& name, const QByteArray& contents) {
    const QString path = scratch().filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(contents) < 0)
        std::abort();
    return path;
}

// A finding of our own (an invariant broken without a crash): stop so that libFuzzer keeps it.
#define KW_FUZZ_CHECK(condition)                                                                   \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);    \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

} // namespace fuzz
