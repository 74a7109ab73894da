#include "snmplib/messages.h"
#include "snmplib/qv_exception.h"
#include "tests/support/qt_printers.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace {

using qv::MessageTable;

class Messages : public ::testing::Test {
protected:
    void SetUp() override { qv::resetMessageTables(); }
    void TearDown() override { qv::resetMessageTables(); }

    QString writeFile(const QByteArray& content) {
        const QString path = dir.filePath(QStringLiteral("msg%1.err").arg(++files));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }

    QTemporaryDir dir;
    int files = 0;
};

struct MapCase {
    int result;
    int code;
    const char* text;
};

// Every row of the result mapping, at both ends of each range and beside them.
TEST_F(Messages, ResultsMapToLibraryCodesAndTexts) {
    const MapCase cases[] = {
        {0, 0, "(QvSNMP++) Ok!"},
        {1400, 0, "(QvSNMP++) Ok!"},
        {-1401, 0, "(QvSNMP++) Ok!"},
        {1, -101, "(SNMP) Response PDU Too Big!"},
        {2, -102, "(SNMP) Variable does not exist!"},
        {18, -118, "(SNMP) Cannot create variable, Inconsistent Name!"},
        {19, -119, "(SNMP) Cannot download the overdue firmware!"},
        {20, -528, "(QvSNMP++) Unknown error code!"},
        {1401, -301, "(SNMPv3USM) error!"},
        {1413, -313, "(SNMPv3USM) Unsupported PrivProtocol!"},
        {1414, -314, "(SNMPv3USM) Address error!"},
        {1415, -528, "(QvSNMP++) Unknown error code!"},
        {-1402, -201, "(SNMPv3) Unsupported Security Model!"},
        {-1412, -211, "(SNMPv3) Unknown UserName!"},
        {-1418, -217, "(SNMPv3) Report sent!"},
        {-1419, -528, "(QvSNMP++) Unknown error code!"},
        {-1400, -528, "(QvSNMP++) Unknown error code!"},
        {-1, -401, "(SNMPClass) Operation failed!"},
        {-5, -405, "(SNMPClass) SNMP request timed out!"},
        {-9, -409, "(SNMPClass)Unknown error code!"},
        {-20, -420, "(SNMP Class) Transport is not supported!"},
        {-23, -423, "(SNMPClass) Blocked Mode Shutdown!"},
        {-24, -528, "(QvSNMP++) Unknown error code!"},
        {42, -528, "(QvSNMP++) Unknown error code!"},
        {1399, -528, "(QvSNMP++) Unknown error code!"},
    };
    for (const auto& c : cases) {
        const auto mapped = qv::MapResult(c.result);
        EXPECT_EQ(mapped.code, c.code) << "result " << c.result;
        EXPECT_EQ(mapped.text, QString::fromUtf8(c.text)) << "result " << c.result;
    }
}

struct CodeCase {
    int code;
    const char* text;
};

TEST_F(Messages, LibraryCodesFindTheirTexts) {
    const CodeCase cases[] = {
        {0, "(QvSNMP++) Ok!"},
        {-119, "(SNMP) Cannot download the overdue firmware!"},
        {-217, "(SNMPv3) Report sent!"},
        {-301, "(SNMPv3USM) error!"},
        {-423, "(SNMPClass) Blocked Mode Shutdown!"},
        {-506, "(QvSNMP++) Cannot create the global QvSNMP++ session!"},
        {-507, "(QvSNMP++) Error when loading SNMP engine boots counter!"},
        {-508, "(QvSNMP++) Error when saving SNMP engine boots counter!"},
        {-509, "(QvSNMP++) Invalid IP Address or DNS name!"},
        {-515, "(QvSNMP++) Bad item type of SNMP variable list!"},
        {-528, "(QvSNMP++) Unknown error code!"},
        // Outside every range.
        {-100, "(QvSNMP++) Unknown error code!"},
        {-529, "(QvSNMP++) Unknown error code!"},
        {7, "(QvSNMP++) Unknown error code!"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::codeText(c.code), QString::fromUtf8(c.text)) << "code " << c.code;
}

TEST_F(Messages, ExceptionCarriesCodeAndText) {
    const QvException looked(-509);
    EXPECT_EQ(looked.code(), -509);
    EXPECT_EQ(looked.text(), QStringLiteral("(QvSNMP++) Invalid IP Address or DNS name!"));
    EXPECT_STREQ(looked.what(), "(QvSNMP++) Invalid IP Address or DNS name!");
    const QvException given(-313, QStringLiteral("own text"));
    EXPECT_EQ(given.code(), -313);
    EXPECT_EQ(given.text(), QStringLiteral("own text"));
}

TEST_F(Messages, BuiltInTablesAreCompleteAndLookupsPastTheEndAreEmpty) {
    const std::pair<MessageTable, int> sizes[] = {
        {MessageTable::SnmpStatus, 19}, {MessageTable::SnmpV3, 17},
        {MessageTable::Usm, 14},        {MessageTable::SnmpClass, 23},
        {MessageTable::Library, 29},    {MessageTable::StatusTemplate, 2},
        {MessageTable::Common, 19},
    };
    for (const auto& [table, size] : sizes) {
        EXPECT_FALSE(qv::messageText(table, size - 1).isEmpty()) << static_cast<int>(table);
        EXPECT_TRUE(qv::messageText(table, size).isEmpty()) << static_cast<int>(table);
        EXPECT_TRUE(qv::messageText(table, -1).isEmpty()) << static_cast<int>(table);
    }
    EXPECT_EQ(qv::messageText(MessageTable::Common, 9),
              QStringLiteral("(QvCommon) Please enter a delimited number string with delimiter "
                             "'[DELIMITER]'.\nHere,the count of the number is less than "
                             "[MAXCOUNT]!"));
}

TEST_F(Messages, FileLinesReplaceTheTableSkippingBlanksAndKeepingWhiteSpace) {
    // "OK", an empty line and "Fail": two entries; beyond them the built-in texts.
    ASSERT_TRUE(qv::LoadMessageFile(MessageTable::Library, writeFile("OK\n\nFail\n")));
    EXPECT_EQ(qv::codeText(0), QStringLiteral("OK"));
    EXPECT_EQ(qv::codeText(-501), QStringLiteral("Fail"));
    EXPECT_EQ(qv::codeText(-502), QStringLiteral("(QvSNMP++) Bad format at line([LINENO])in SNMP "
                                                 "variables file([FILENAME])!"));
    EXPECT_EQ(qv::MapResult(0).text, QStringLiteral("OK"));

    // Blanks around a word are kept, CR LF line ends and white-space-only lines are dropped, the
    // last line needs no line end.
    ASSERT_TRUE(qv::LoadMessageFile(MessageTable::SnmpClass,
                                    writeFile("  first  \r\n \t \r\nsecond\r\n\r\n\tthird")));
    EXPECT_EQ(qv::messageText(MessageTable::SnmpClass, 0), QStringLiteral("  first  "));
    EXPECT_EQ(qv::messageText(MessageTable::SnmpClass, 1), QStringLiteral("second"));
    EXPECT_EQ(qv::messageText(MessageTable::SnmpClass, 2), QStringLiteral("\tthird"));
    EXPECT_EQ(qv::MapResult(-5).text, QStringLiteral("(SNMPClass) SNMP request timed out!"));

    // Other tables keep their texts.
    EXPECT_EQ(qv::codeText(-102), QStringLiteral("(SNMP) Variable does not exist!"));
}

TEST_F(Messages, LongLinesAreSplitIntoPiecesOf1023Characters) {
    const QByteArray exact(1023, 'a');
    const QByteArray longer = QByteArray(1023, 'b') + QByteArray(1023, ' ') + "tail";
    ASSERT_TRUE(
        qv::LoadMessageFile(MessageTable::Usm, writeFile(exact + "\n" + longer + "\nlast\n")));
    EXPECT_EQ(qv::messageText(MessageTable::Usm, 0), QString::fromLatin1(exact));
    EXPECT_EQ(qv::messageText(MessageTable::Usm, 1), QString(1023, u'b'));
    // The blank middle piece is a blank line: skipped.
    EXPECT_EQ(qv::messageText(MessageTable::Usm, 2), QStringLiteral("tail"));
    EXPECT_EQ(qv::messageText(MessageTable::Usm, 3), QStringLiteral("last"));
    EXPECT_EQ(qv::messageText(MessageTable::Usm, 4),
              QStringLiteral("(SNMPv3USM) Encryption error!"));
}

TEST_F(Messages, UnreadableOrBlankFilesLeaveTheTableAsItWas) {
    ASSERT_TRUE(qv::LoadMessageFile(MessageTable::SnmpStatus, writeFile("mine\n")));
    EXPECT_FALSE(qv::LoadMessageFile(MessageTable::SnmpStatus, writeFile("")));
    EXPECT_FALSE(qv::LoadMessageFile(MessageTable::SnmpStatus, writeFile("\n  \r\n\t\n")));
    EXPECT_FALSE(qv::LoadMessageFile(MessageTable::SnmpStatus, dir.filePath("missing.err")));
    EXPECT_FALSE(qv::LoadMessageFile(MessageTable::SnmpStatus, dir.path()));
    EXPECT_EQ(qv::codeText(-101), QStringLiteral("mine"));
    // A later file replaces the earlier one as a whole.
    ASSERT_TRUE(qv::LoadMessageFile(MessageTable::SnmpStatus, writeFile("\nother\n")));
    EXPECT_EQ(qv::codeText(-101), QStringLiteral("other"));
    EXPECT_EQ(qv::codeText(-102), QStringLiteral("(SNMP) Variable does not exist!"));
}

TEST_F(Messages, FilesInUtf8OrAn8BitCodePageAreRead) {
    ASSERT_TRUE(qv::LoadMessageFile(MessageTable::Common, writeFile("Gr\xc3\xbc\xc3\x9f"
                                                                    "e\n")));
    EXPECT_EQ(qv::messageText(MessageTable::Common, 0), QString::fromUtf8("Grüße"));
    ASSERT_TRUE(qv::LoadMessageFile(MessageTable::Common, writeFile("Gr\xfc\xdf"
                                                                    "e\n")));
    EXPECT_EQ(qv::messageText(MessageTable::Common, 0), QString::fromUtf8("Grüße"));
}

struct PlaceholderCase {
    const char* text;
    const char* placeholder;
    const char* value;
    const char* expected;
};

TEST_F(Messages, PlaceholdersAreReplacedEverywhereWithoutRecursion) {
    const PlaceholderCase cases[] = {
        {"between [MIN] and [MAX]!", "[MIN]", "1", "between 1 and [MAX]!"},
        {"[LEN]/[LEN]", "[LEN]", "8", "8/8"},
        {"[LEN]", "[LEN]", "[LEN][LEN]", "[LEN][LEN]"},
        {"no placeholder", "[LEN]", "8", "no placeholder"},
        {"file([FILENAME])", "[FILENAME]", "", "file()"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::replacePlaceholder(QString::fromUtf8(c.text),
                                         QString::fromUtf8(c.placeholder),
                                         QString::fromUtf8(c.value)),
                  QString::fromUtf8(c.expected))
            << c.text;
    EXPECT_EQ(qv::replacePlaceholders(QStringLiteral("[MIN]..[MAX]"),
                                      {{QStringLiteral("[MIN]"), QStringLiteral("[MAX]")},
                                       {QStringLiteral("[MAX]"), QStringLiteral("9")}}),
              QStringLiteral("[MAX]..9"));
}

struct StatusCase {
    int templateIndex;
    const char* error;
    const char* listName;
    const char* expected;
};

TEST_F(Messages, StatusLinesFillTheGetAndSetTemplates) {
    const QTime afternoon(15, 4, 5);
    const StatusCase cases[] = {
        {0, "(QvSNMP++) Ok!", "", "Get: (QvSNMP++) Ok!. Receive at 03:04:05 PM."},
        {1, "(SNMPClass) SNMP request timed out!", "LanCfg",
         "Set: (SNMPClass) SNMP request timed out! Request:LanCfg. Receive at 03:04:05 PM."},
        // An error text holding a placeholder is not looked into.
        {0, "odd [TIME]", "[ERROR]", "Get: odd [TIME] Request:[ERROR]. Receive at 03:04:05 PM."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(qv::StatusLine(c.templateIndex, QString::fromUtf8(c.error),
                                 QString::fromUtf8(c.listName), afternoon),
                  QString::fromUtf8(c.expected))
            << c.error;
    EXPECT_EQ(qv::StatusLine(0, QStringLiteral("x"), {}, QTime(9, 30, 0)),
              QStringLiteral("Get: x. Receive at 09:30:00 AM."));

    // A loaded template is used as it is.
    ASSERT_TRUE(qv::LoadMessageFile(MessageTable::StatusTemplate, writeFile("[TIME] [ERROR]\n")));
    EXPECT_EQ(qv::StatusLine(0, QStringLiteral("e"), QStringLiteral("n"), afternoon),
              QStringLiteral("03:04:05 PM e"));
    EXPECT_EQ(qv::StatusLine(1, QStringLiteral("e"), {}, afternoon),
              QStringLiteral("Set: e. Receive at 03:04:05 PM."));
}

} // namespace
