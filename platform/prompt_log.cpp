#include "platform/prompt_log.h"

#include <QFile>

namespace platform {

PromptLog::PromptLog(QString path) : path_(std::move(path)) {}

PromptLog::~PromptLog() {
    if (&prompter() == this)
        setPrompter(nullptr);
}

Answer PromptLog::ask(const QString& caption, const QString& text, Buttons) {
    QString flat = text;
    flat.replace(u'\n', QStringLiteral("\\n"));
    append(caption + u'\t' + flat);
    return Answer::Ok;
}

void PromptLog::beep() {
    append(QStringLiteral("(beep)"));
}

void PromptLog::append(const QString& line) {
    QFile file(path_);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append))
        file.write(line.toUtf8() + '\n');
}

std::unique_ptr<PromptLog> installPromptLogFromEnvironment() {
    const QString path = qEnvironmentVariable("KW9100_PROMPT_LOG");
    if (path.isEmpty())
        return nullptr;
    auto log = std::make_unique<PromptLog>(path);
    setPrompter(log.get());
    return log;
}

} // namespace platform
