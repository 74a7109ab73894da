#include "platform/registry.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

const QString kHelpKey = "\\SOFTWARE\\Velkor\\Modules\\HelpPath";
const QString kExeKey = "\\SOFTWARE\\Velkor\\Halvren5.1\\ExePath";
const QString kMibKey = "\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile";
const QString kProductOid = "1.3.6.1.4.1.32473.2.20";

const QByteArray kRegistryFile = "[\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile]\n"
                                 "Path=/srv/halvren/mbf/\n"
                                 "[\\SOFTWARE\\Velkor\\Modules\\HelpPath]\n"
                                 "1.3.6.1.4.1.32473.2.20=/srv/help/KW9100HL.HLP\n";

class IniRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("registry.ini");
        ASSERT_TRUE(test::writeFile(path, kRegistryFile));
    }
    QTemporaryDir dir;
    QString path;
};

TEST_F(IniRegistryTest, KeysAreSectionsNamedByTheirPath) {
    auto reg = platform::makeIniRegistry(path);
    EXPECT_TRUE(reg->openKey(kMibKey, false));
    EXPECT_TRUE(reg->openKey(kMibKey.toLower(), false)); // key names ignore letter case
    EXPECT_FALSE(reg->openKey(kExeKey, false));
    EXPECT_FALSE(reg->openKey("\\SOFTWARE\\Velkor", false)); // a parent is not a key here
    EXPECT_EQ(reg->readString(kMibKey, "Path"), std::optional<QString>("/srv/halvren/mbf/"));
    EXPECT_EQ(reg->readString(kHelpKey, kProductOid),
              std::optional<QString>("/srv/help/KW9100HL.HLP"));
    EXPECT_EQ(reg->readString(kMibKey, "Other"), std::nullopt);
    EXPECT_EQ(reg->readString(kExeKey, "Path"), std::nullopt);
}

TEST_F(IniRegistryTest, CreatedKeyExistsEmptyAndTheFileIsNotWritten) {
    auto reg = platform::makeIniRegistry(path);
    EXPECT_TRUE(reg->openKey(kExeKey, true));
    EXPECT_TRUE(reg->openKey(kExeKey, false));
    EXPECT_EQ(reg->readString(kExeKey, "Path"), std::nullopt);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kRegistryFile);
}

TEST_F(IniRegistryTest, MissingFileMeansMissingKeys) {
    auto reg = platform::makeIniRegistry(dir.filePath("none.ini"));
    EXPECT_FALSE(reg->openKey(kMibKey, false));
    EXPECT_EQ(reg->readString(kHelpKey, kProductOid), std::nullopt);
}

TEST_F(IniRegistryTest, PlatformRegistryFollowsTheEnvironmentVariable) {
    const QByteArray saved = qgetenv("KW9100_REGISTRY");
    qputenv("KW9100_REGISTRY", path.toLocal8Bit());
    EXPECT_EQ(platform::registry().readString(kMibKey, "Path"),
              std::optional<QString>("/srv/halvren/mbf/"));
    qunsetenv("KW9100_REGISTRY");
    EXPECT_FALSE(platform::registry().openKey(kMibKey, false));
    if (!saved.isNull())
        qputenv("KW9100_REGISTRY", saved);
}

TEST_F(IniRegistryTest, InstalledRegistryReplacesThePlatformOne) {
    auto reg = platform::makeIniRegistry(path);
    platform::setRegistry(reg.get());
    EXPECT_EQ(&platform::registry(), reg.get());
    platform::setRegistry(nullptr);
    EXPECT_NE(&platform::registry(), reg.get());
}

} // namespace
