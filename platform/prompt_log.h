#pragma once
// A prompter that shows nothing: it appends each message box (caption, a tab, the text with line
// breaks written as "\n") as one line to a file and answers OK. The module installs it when the
// environment variable KW9100_PROMPT_LOG names that file, so that a test which starts the module
// as a separate process can read what it would have shown and is never held by a box.
#include "platform/prompter.h"

#include <memory>
#include <QString>

namespace platform {

class PromptLog final : public Prompter {
public:
    explicit PromptLog(QString path);
    ~PromptLog() override;
    PromptLog(const PromptLog&) = delete;
    PromptLog& operator=(const PromptLog&) = delete;
    Answer ask(const QString& caption, const QString& text, Buttons buttons) override;
    void beep() override;

private:
    void append(const QString& line);
    QString path_;
};

// The log named by KW9100_PROMPT_LOG, installed as the prompter; nullptr when the variable is
// unset. Keep the result alive while the module runs.
std::unique_ptr<PromptLog> installPromptLogFromEnvironment();

} // namespace platform
