#include "platform/paths.h"
#include "tests/support/files.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

class LocalPathTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path();
        ASSERT_TRUE(test::writeFile(root + "/help/errmsg/snmp.err", "x\n"));
        ASSERT_TRUE(test::writeFile(root + "/bin/errMSg/common.err", "x\n"));
        ASSERT_TRUE(test::writeFile(root + "/bin/errmsg/common.err", "y\n"));
        ASSERT_TRUE(test::writeFile(root + "/Halvren/Conf/MBF/10.0.0.5.cfg", "x\n"));
    }
    QTemporaryDir dir;
    QString root;
};

struct PathCase {
    const char* written; // below the temporary root, as the host would write it
    const char* expected;
};

TEST_F(LocalPathTest, BackslashesAndLetterCaseAreResolved) {
    const PathCase cases[] = {
        {"\\help\\errmsg\\snmp.err", "/help/errmsg/snmp.err"},
        {"\\help\\errMSg\\snmp.err", "/help/errmsg/snmp.err"},
        {"/HELP/ERRMSG/SNMP.ERR", "/help/errmsg/snmp.err"},
        {"\\help/errmsg\\", "/help/errmsg/"}, // mixed separators; the final one is kept
        // Exact names win where both spellings exist.
        {"\\bin\\errMSg\\common.err", "/bin/errMSg/common.err"},
        {"\\bin\\errmsg\\common.err", "/bin/errmsg/common.err"},
        // The host's "Path + ..\Conf\MBF\" form, through a directory that does not exist.
        {"\\Halvren\\Bin\\..\\conf\\mbf\\10.0.0.5.cfg", "/Halvren/Conf/MBF/10.0.0.5.cfg"},
        {"\\Halvren\\.\\Conf\\MBF\\", "/Halvren/Conf/MBF/"},
        // Nothing matches: the rest stays as written.
        {"\\help\\Missing\\Errmsg\\snmp.err", "/help/Missing/Errmsg/snmp.err"},
        {"\\help\\errmsg\\Absent.ERR", "/help/errmsg/Absent.ERR"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::localPath(root + c.written), root + c.expected) << c.written;
    }
}

TEST_F(LocalPathTest, RelativePathsStayRelativeToTheWorkingDirectory) {
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(root + "/help"));
    EXPECT_EQ(platform::localPath("ERRMSG\\snmp.err"), "errmsg/snmp.err");
    EXPECT_EQ(platform::localPath("10.0.0.9.cfg"), "10.0.0.9.cfg");
    EXPECT_EQ(platform::localPath(""), "");
    QDir::setCurrent(saved);
}

TEST(ExecutableDir, EndsWithASeparatorAndHoldsTheRunningProgram) {
    const QString dir = platform::executableDir();
    EXPECT_TRUE(dir.endsWith('/'));
    EXPECT_EQ(dir + QFileInfo(QCoreApplication::applicationFilePath()).fileName(),
              QCoreApplication::applicationFilePath());
}

} // namespace
