#include "snmplib/session.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "snmplib/exchange.h"
#include "snmplib/qv_exception.h"
#include "tests/support/qt_printers.h"

namespace {

const char* const counterName = "QvSNMP_PP_BootCounter";

class Session : public ::testing::Test {
protected:
    QString counterPath() const { return dir.filePath(QLatin1String(counterName)); }
    QByteArray counter() const {
        QFile f(counterPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void writeCounter(const QByteArray& content) {
        QFile f(counterPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
    // The code CreateSession raises, 0 when it returns.
    int create(const QString& where) {
        try {
            qv::CreateSession(where);
            return 0;
        } catch (const QvException& e) {
            return e.code();
        }
    }

    QTemporaryDir dir;
};

TEST_F(Session, EachStartRaisesTheBootCountAndHandsItToTheEngine) {
    ASSERT_EQ(create(dir.path()), 0);
    EXPECT_EQ(counter(), QByteArray("QvSNMP_PP_Application 1\n"));
    EXPECT_EQ(qv::detail::localBootCount(), 1);
    EXPECT_EQ(qv::detail::localEngineId(), QByteArray("QvSNMP_PP_Application"));

    // The directory may end in a separator of either kind.
    ASSERT_EQ(create(dir.path() + QLatin1Char('/')), 0);
    EXPECT_EQ(counter(), QByteArray("QvSNMP_PP_Application 2\n"));
    EXPECT_EQ(qv::detail::localBootCount(), 2);
    // Nothing else is written.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{QLatin1String(counterName)});
}

TEST_F(Session, OtherEnginesLinesAreKept) {
    writeCounter("OtherEngine 41\nQvSNMP_PP_Application 6\n");
    ASSERT_EQ(create(dir.path()), 0);
    EXPECT_EQ(counter(), QByteArray("OtherEngine 41\nQvSNMP_PP_Application 7\n"));
    EXPECT_EQ(qv::detail::localBootCount(), 7);
}

TEST_F(Session, EmptyDirectoryMeansTheWorkingDirectory) {
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const int code = create(QString());
    QDir::setCurrent(previous);
    ASSERT_EQ(code, 0);
    EXPECT_EQ(counter(), QByteArray("QvSNMP_PP_Application 1\n"));
}

struct MalformedCase {
    const char* what;
    const char* content;
};

TEST_F(Session, MalformedCounterFileFailsWithLoadErrorAndIsLeftAlone) {
    const MalformedCase cases[] = {
        {"count not a number", "QvSNMP_PP_Application many\n"},
        {"count missing", "QvSNMP_PP_Application\n"},
        {"extra field", "QvSNMP_PP_Application 3 4\n"},
        {"negative count", "QvSNMP_PP_Application -1\n"},
        {"count beyond 2^31-1", "QvSNMP_PP_Application 2147483648\n"},
        {"engine ID longer than 32 octets", "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456 1\n"},
        {"bad line of another engine", "Other x\nQvSNMP_PP_Application 3\n"},
    };
    for (const auto& c : cases) {
        writeCounter(c.content);
        EXPECT_EQ(create(dir.path()), -507) << c.what;
        EXPECT_EQ(counter(), QByteArray(c.content)) << c.what;
    }
    try {
        writeCounter("garbage\n");
        qv::CreateSession(dir.path());
        ADD_FAILURE() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.text(),
                  QStringLiteral("(QvSNMP++) Error when loading SNMP engine boots counter!"));
    }
}

TEST_F(Session, ReadOnlyCounterFileFailsWithSaveError) {
    writeCounter("QvSNMP_PP_Application 4\n");
    ASSERT_TRUE(
        QFile::setPermissions(counterPath(), QFileDevice::ReadOwner | QFileDevice::ReadUser |
                                                 QFileDevice::ReadGroup | QFileDevice::ReadOther));
    try {
        qv::CreateSession(dir.path());
        ADD_FAILURE() << "no exception";
    } catch (const QvException& e) {
        EXPECT_EQ(e.code(), -508);
        EXPECT_EQ(e.text(),
                  QStringLiteral("(QvSNMP++) Error when saving SNMP engine boots counter!"));
    }
    EXPECT_EQ(counter(), QByteArray("QvSNMP_PP_Application 4\n"));
    // A counter that cannot be written at all: its place is taken by a directory.
    QTemporaryDir other;
    ASSERT_TRUE(QDir(other.path()).mkdir(QLatin1String(counterName)));
    EXPECT_EQ(create(other.path()), -508);
}

TEST_F(Session, CountAtItsLimitStaysThere) {
    writeCounter("QvSNMP_PP_Application 2147483647\n");
    ASSERT_EQ(create(dir.path()), 0);
    EXPECT_EQ(counter(), QByteArray("QvSNMP_PP_Application 2147483647\n"));
}

TEST_F(Session, CreationSetsEveryParameterToItsDefault) {
    qv::sessionDevice() = {QStringLiteral("10.0.0.5"), 1161};
    qv::sessionScope() = {QStringLiteral("engine"), QStringLiteral("ctx")};
    qv::sessionSecurity().version = 3;
    qv::sessionSecurity().securityName = QStringLiteral("admin");
    qv::sessionSecurity().privProtocol = 9;
    qv::defaultTimeout() = 500;
    ASSERT_EQ(create(dir.path()), 0);

    EXPECT_EQ(qv::sessionDevice().address, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(qv::sessionDevice().port, 161);
    EXPECT_TRUE(qv::sessionScope().contextEngineId.isEmpty());
    EXPECT_TRUE(qv::sessionScope().contextName.isEmpty());
    const QvSNMPSecurity& s = qv::sessionSecurity();
    EXPECT_EQ(s.version, 0);
    EXPECT_EQ(s.readCommunity, QStringLiteral("fenrow"));
    EXPECT_EQ(s.writeCommunity, QStringLiteral("quillet"));
    EXPECT_EQ(s.securityModel, 1);
    EXPECT_EQ(s.securityLevel, 1);
    EXPECT_TRUE(s.securityName.isEmpty());
    EXPECT_TRUE(s.authPassword.isEmpty());
    EXPECT_TRUE(s.privPassword.isEmpty());
    EXPECT_EQ(s.authProtocol, 1);
    EXPECT_EQ(s.privProtocol, 1);
    EXPECT_EQ(qv::defaultTimeout(), 100);

    const qv::Target t = qv::sessionTarget();
    EXPECT_EQ(t.device.address, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(t.security.readCommunity, QStringLiteral("fenrow"));
    EXPECT_EQ(t.timeout, 100);
    EXPECT_EQ(t.retries, 1);
}

} // namespace

// The user's keys (RFC 3414 Ku) of every authentication protocol, for the pass phrase
// "maplesyrup" of RFC 3414's appendix (whose MD5 and SHA-1 keys are given there; the SHA-2 keys
// are the same construction: the hash of the pass phrase repeated to one megabyte). A SHA-512
// user's keys are 64 octets.
struct UserKeyCase {
    int authProtocol;
    const char* ku;
};

TEST(UserKeys, AreTheHashOfTheRepeatedPassPhraseAndThePassPhrasesAreGone) {
    const UserKeyCase cases[] = {
        {2, "9faf3283884e92834ebc9847d8edd963"},
        {3, "9fb5cc0381497b3793528939ff788d5d79145211"},
        {4, "282a5867ee9aac639ad59df9572c7d3ac0fbc13a905b6df07dbbf00b"},
        {5, "ab51014d1e077f6017df2b12bee5f5aa72993177e9bb569c4dff5a4ca0b4afac"},
        {6,
         "e06eccdf2c68a06ed034723c9c26e0db3b669e1e2efed49150b55377a2e98f383c86fb836857444654b287c9"
         "3f51ff64"},
        {7,
         "7e4396de5aadc77be853819b98c9406265b3a9c37cc3176569847a4e4f6fba63dd3a73d04924d31a63f95a60"
         "1f9385af6be4ed1b37f87d040f7c6ed6f8d38a91"},
    };
    for (const UserKeyCase& c : cases) {
        QvSNMPSecurity s;
        s.authProtocol = c.authProtocol;
        s.authPassword = QStringLiteral("maplesyrup");
        s.privPassword = QStringLiteral("maplesyrup");
        qv::makeUserKeys(s);
        EXPECT_EQ(s.authKey.toHex(), QByteArray(c.ku)) << c.authProtocol;
        // The privacy key is made with the authentication protocol's hash as well.
        EXPECT_EQ(s.privKey, s.authKey) << c.authProtocol;
        EXPECT_TRUE(s.authPassword.isEmpty());
        EXPECT_TRUE(s.privPassword.isEmpty());
    }
}

TEST(UserKeys, NoKeyForAShortPassPhraseOrAnUnknownProtocol) {
    QvSNMPSecurity shortPass;
    shortPass.authProtocol = 5;
    shortPass.authPassword = QStringLiteral("seven77");
    shortPass.privPassword = QStringLiteral("long enough");
    qv::makeUserKeys(shortPass);
    EXPECT_TRUE(shortPass.authKey.isEmpty());
    EXPECT_EQ(shortPass.privKey.size(), 32);
    EXPECT_TRUE(shortPass.authPassword.isEmpty());

    QvSNMPSecurity unknown;
    unknown.authProtocol = 8;
    unknown.authPassword = QStringLiteral("long enough");
    qv::makeUserKeys(unknown);
    EXPECT_TRUE(unknown.authKey.isEmpty());
    EXPECT_TRUE(unknown.authPassword.isEmpty());
}
