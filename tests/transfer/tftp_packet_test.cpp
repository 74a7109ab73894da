// Request parsing, packet layouts, event texts and the names the server accepts.
#include "transfer/tftp_msg.h"
#include "transfer/tftp_packet.h"
#include "transfer/tftp_server.h"

#include <gtest/gtest.h>

using namespace qv::tftp;

namespace {

TEST(TftpPacket, RequestsAreParsedUpToTheModeAndMalformedOnesRejected) {
    struct Case {
        const char* what;
        QByteArray datagram;
        bool valid;
        quint16 opcode;
        const char* name;
        const char* mode;
    };
    using namespace Qt::StringLiterals;
    const Case cases[] = {
        {"read request", "\0\1fw.tfp\0octet\0"_ba, true, 1, "fw.tfp", "octet"},
        {"write request", "\0\2cfg.kcf\0netascii\0"_ba, true, 2, "cfg.kcf", "netascii"},
        {"options after the mode are not used", "\0\1a\0octet\0tsize\0000\0blksize\0512\0"_ba, true,
         1, "a", "octet"},
        {"empty name", "\0\1\0octet\0"_ba, true, 1, "", "octet"},
        {"mode not terminated", "\0\1a\0octet"_ba, false, 0, "", ""},
        {"name not terminated", "\0\1abc"_ba, false, 0, "", ""},
        {"data packet", "\0\3\0\1xyz"_ba, false, 0, "", ""},
        {"ack packet", "\0\4\0\1"_ba, false, 0, "", ""},
        {"opcode 0", "\0\0a\0octet\0"_ba, false, 0, "", ""},
        {"one byte", "\1"_ba, false, 0, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto r = parseRequest(c.datagram);
        ASSERT_EQ(r.has_value(), c.valid);
        if (!r)
            continue;
        EXPECT_EQ(r->opcode, c.opcode);
        EXPECT_EQ(r->fileName, QString(c.name));
        EXPECT_EQ(r->mode, QString(c.mode));
    }
}

TEST(TftpPacket, LayoutsAreInNetworkOrder) {
    using namespace Qt::StringLiterals;
    EXPECT_EQ(dataPacket(0x1234, "ab"), "\0\3\x12\x34"
                                        "ab"_ba);
    EXPECT_EQ(dataPacket(1, {}), "\0\3\0\1"_ba);
    EXPECT_EQ(ackPacket(0xFFFF), "\0\4\xff\xff"_ba);
    EXPECT_EQ(errorPacket(kErrAccessViolation), "\0\5\0\2\0"_ba);
    const QByteArray d = dataPacket(65535, "payload");
    EXPECT_EQ(opcodeOf(d), kData);
    EXPECT_EQ(blockOf(d), 65535);
    EXPECT_EQ(payloadOf(d), "payload");
}

TEST(TftpMsg, EventCodesCarryTheirFixedTexts) {
    struct Case {
        int code;
        const char* text;
    };
    const Case cases[] = {
        {3, "(QvTFTP) Success to transfer file."},
        {2, "(QvTFTP) File is transferring..."},
        {1, "(QvTFTP) A TFTP session is connected..."},
        {0, "(QvTFTP) A TFTP session is disconnected..."},
        {-1101, "(QvTFTP) Undefined error:"},
        {-1102, "(QvTFTP) File not found!"},
        {-1103, "(QvTFTP) Access violation!"},
        {-1104, "(QvTFTP) Disk full!"},
        {-1105, "(QvTFTP) Bad operation!"},
        {-1106, "(QvTFTP) Unknown port!"},
        {-1107, "(QvTFTP) File already exist!"},
        {-1108, "(QvTFTP) No such user!"},
        {-1109, "(QvTFTP) Fail to open socket!Please check if the network is ready."},
        {-1110, "(QvTFTP) Fail to send or receive socket packet!"},
        {-1111, "(QvTFTP) Socket is not ready!"},
        {-1112, "(QvTFTP) Bad packet!"},
        {-1113, "(QvTFTP) Timeout!"},
        {-1114, "(QvTFTP) Transfer has been canceled."},
        {4, ""},
        {-1115, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(statusText(c.code), QString(c.text)) << c.code;
    // TFTP error codes map onto -1101..-1108.
    for (int e = 0; e <= 7; ++e)
        EXPECT_EQ(eventForErrorCode(e), -(1101 + e));
    EXPECT_EQ(eventForErrorCode(8), kUndefinedError);
}

TEST(TftpMsg, ServerTemplateStartsAsDocumented) {
    QvTFTPServer server;
    const QvTFTPMsg& m = server.templateMsg();
    EXPECT_EQ(m.status, -1111);
    EXPECT_EQ(m.statusText, "(QvTFTP) Socket is not ready!");
    EXPECT_EQ(m.operation, 1);
    EXPECT_EQ(m.mode, "octet");
    EXPECT_EQ(m.clientAddress, "0.0.0.0");
    EXPECT_EQ(m.port, 69);
    EXPECT_EQ(m.sessionNumber, -1);
    EXPECT_EQ(m.timeout, 1000);
    EXPECT_EQ(server.maxSends(), 3);
    EXPECT_FALSE(m.serverAddress.isEmpty());
    server.SetTimeouts(300, 5);
    EXPECT_EQ(server.templateMsg().timeout, 300);
    EXPECT_EQ(server.maxSends(), 5);
}

TEST(TftpNames, PlainNamesOnly) {
    struct Case {
        const char* name;
        bool plain;
    };
    const Case cases[] = {
        {"fw.tfp", true},       {"LogFile.RD", true}, {"..hidden", true},
        {"a..b", true},         {"", false},          {".", false},
        {"..", false},          {"../x", false},      {"..\\x", false},
        {"sub/x", false},       {"sub\\x", false},    {"/etc/passwd", false},
        {"\\\\host\\x", false}, {"C:x", false},       {"c:\\x", false},
        {"x/", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(isPlainFileName(c.name), c.plain) << c.name;
}

} // namespace
