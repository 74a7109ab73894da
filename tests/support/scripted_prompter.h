#pragma once
// Records every message box and beep, and answers with prepared answers (OK when none is left).
// Installed for its lifetime.
#include "platform/file_chooser.h"
#include "platform/prompter.h"

#include <deque>
#include <QList>
#include <QString>

namespace test {

struct Shown {
    QString caption;
    QString text;
    platform::Buttons buttons;
};

class ScriptedPrompter final : public platform::Prompter {
public:
    ScriptedPrompter() { platform::setPrompter(this); }
    ~ScriptedPrompter() override { platform::setPrompter(nullptr); }
    ScriptedPrompter(const ScriptedPrompter&) = delete;
    ScriptedPrompter& operator=(const ScriptedPrompter&) = delete;

    platform::Answer ask(const QString& caption, const QString& text,
                         platform::Buttons buttons) override {
        shown.append({caption, text, buttons});
        if (answers.empty())
            return platform::Answer::Ok;
        const auto a = answers.front();
        answers.pop_front();
        return a;
    }
    void beep() override { ++beeps; }

    QStringList texts() const {
        QStringList out;
        for (const auto& s : shown)
            out << s.text;
        return out;
    }

    QList<Shown> shown;
    std::deque<platform::Answer> answers;
    int beeps = 0;
};

class ScriptedFileChooser final : public platform::FileChooser {
public:
    ScriptedFileChooser() { platform::setFileChooser(this); }
    ~ScriptedFileChooser() override { platform::setFileChooser(nullptr); }
    ScriptedFileChooser(const ScriptedFileChooser&) = delete;
    ScriptedFileChooser& operator=(const ScriptedFileChooser&) = delete;

    std::optional<QString> openFile(const QString& caption, const QString& filter) override {
        asked.append(caption + "|" + filter);
        return next();
    }
    std::optional<QString> saveFile(const QString& caption, const QString& filter,
                                    const QString&) override {
        asked.append(caption + "|" + filter);
        return next();
    }

    std::deque<std::optional<QString>> answers;
    QStringList asked;

private:
    std::optional<QString> next() {
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

} // namespace test
