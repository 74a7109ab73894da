#include "platform/prompt_log.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(PromptLog, RecordsEachBoxAsOneLineAndAnswersOk) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("prompts.log");
    const QByteArray saved = qgetenv("KW9100_PROMPT_LOG");
    qunsetenv("KW9100_PROMPT_LOG");
    EXPECT_EQ(platform::installPromptLogFromEnvironment(), nullptr);
    qputenv("KW9100_PROMPT_LOG", path.toLocal8Bit());
    const platform::Prompter* installed = nullptr;
    {
        auto log = platform::installPromptLogFromEnvironment();
        ASSERT_NE(log, nullptr);
        installed = log.get();
        EXPECT_EQ(&platform::prompter(), installed);
        platform::message("Warning", "Another KW9100 module is running!");
        EXPECT_TRUE(platform::confirm("", "first line\nsecond line"));
        platform::beep();
    }
    EXPECT_NE(&platform::prompter(), installed); // uninstalled with the log
    if (saved.isNull())
        qunsetenv("KW9100_PROMPT_LOG");
    else
        qputenv("KW9100_PROMPT_LOG", saved);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "Warning\tAnother KW9100 module is running!\n"
                              "\tfirst line\\nsecond line\n"
                              "(beep)\n");
}

} // namespace
