#include "platform/profile.h"
#include "platform/qv_ini.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

const QByteArray kDeviceFile = "\xEF\xBB\xBF"
                               "Stray=before any section\r\n"
                               "; the host writes one section\r\n"
                               "[Program Information]\r\n"
                               "AgentPort = 1161 \r\n"
                               "  Version=3\r\n"
                               "ContextName=   ctx one   \r\n"
                               "ContextEngineID=\r\n"
                               "SecurityName=\" admin \"\r\n"
                               "AuthPassword=pass=word;x\r\n"
                               ";PrivPassword=commented out\r\n"
                               "SecurityLevel=2\r\n"
                               "SecurityLevel=0\r\n"
                               "NoEqualsSign\r\n"
                               "[Other]\r\n"
                               "AgentPort=99\r\n";

struct IniCase {
    const char* section;
    const char* key;
    const char* defaultValue;
    const char* expected;
};

class QvIniTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("10.0.0.5.cfg");
        ASSERT_TRUE(test::writeFile(path, kDeviceFile));
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(QvIniTest, ReadStringTrimsValuesAndFallsBackToTheDefault) {
    const IniCase cases[] = {
        {"Program Information", "AgentPort", "", "1161"},
        {"PROGRAM INFORMATION", "agentport", "", "1161"}, // names ignore letter case
        {"Program Information", "Version", "", "3"},      // blanks before the key
        {"Program Information", "ContextName", "", "ctx one"},
        {"Program Information", "SecurityName", "", "admin"},       // quotes, then blanks, removed
        {"Program Information", "AuthPassword", "", "pass=word;x"}, // split at the first '='
        {"Program Information", "SecurityLevel", "", "2"},          // the first of two wins
        {"Other", "AgentPort", "", "99"},
        // Present but empty: the default exactly as given, blanks included.
        {"Program Information", "ContextEngineID", "", ""},
        {"Program Information", "ContextEngineID", " d ", " d "},
        // Absent: the platform hands back the default, which is then trimmed.
        {"Program Information", "PrivPassword", "", ""},
        {"Program Information", "PrivPassword", "  x  ", "x"},
        {"Program Information", "NoEqualsSign", "", ""},
        {"Missing Section", "AgentPort", "", ""},
        {"", "Stray", "", ""}, // keys before the first section belong to none
    };
    const QvIni ini(path);
    for (const auto& c : cases) {
        EXPECT_EQ(ini.ReadString(c.section, c.key, c.defaultValue), QString(c.expected))
            << c.section << " / " << c.key << " default [" << c.defaultValue << "]";
    }
}

TEST_F(QvIniTest, MissingFileGivesTheDefault) {
    const QvIni ini(dir.filePath("absent.cfg"));
    EXPECT_EQ(ini.ReadString("Program Information", "AgentPort", ""), "");
    EXPECT_EQ(ini.ReadString("Program Information", "AgentPort", "161"), "161");
}

TEST_F(QvIniTest, EveryReadSeesTheFileAsItIsNow) {
    const QvIni ini(path);
    EXPECT_EQ(ini.ReadString("Program Information", "Version", ""), "3");
    ASSERT_TRUE(test::writeFile(path, "[Program Information]\nVersion=1\n"));
    EXPECT_EQ(ini.ReadString("Program Information", "Version", ""), "1");
}

TEST_F(QvIniTest, LongValuesAreCutToTheBufferOf4096Characters) {
    const QByteArray longValue(5000, 'k');
    ASSERT_TRUE(test::writeFile(path, "[Program Information]\nAuthPassword=" + longValue + "\n"));
    const QString read = QvIni(path).ReadString("Program Information", "AuthPassword", "");
    EXPECT_EQ(read, QString(4095, u'k'));
}

TEST(ProfileText, SectionsAreFoundWithoutRegardToCaseAndBlanks) {
    const auto profile = platform::ProfileText::parse("[ \\SOFTWARE\\Velkor\\Modules ]\n"
                                                      "[Unclosed\n"
                                                      "a=1\n");
    EXPECT_TRUE(profile.hasSection("\\software\\velkor\\modules"));
    EXPECT_TRUE(profile.hasSection("Unclosed"));
    EXPECT_EQ(profile.value("unclosed", "A"), std::optional<QString>("1"));
    EXPECT_FALSE(profile.hasSection("\\SOFTWARE\\Velkor"));
    EXPECT_EQ(profile.value("\\SOFTWARE\\Velkor\\Modules", "a"), std::nullopt);
}

} // namespace
