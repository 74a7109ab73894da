// The pieces the transfer pages share that need no device: the split of a chosen path and the
// progress texts of the TFTP server's session events.
#include "pages/transfer/transfer_server.h"
#include "transfer/tftp_msg.h"

#include <gtest/gtest.h>

#include "tests/support/qt_printers.h"

namespace {

TEST(TransferParts, PathsSplitAtTheLastSeparatorOfEitherKind) {
    const struct {
        QString path;
        bool split;
        QString directory;
        QString name;
    } cases[] = {
        {"C:\\fw\\image.tfp", true, "C:\\fw\\", "image.tfp"},
        {"/home/op/fw/image.tfp", true, "/home/op/fw/", "image.tfp"},
        {"C:\\cfg/site.kcf", true, "C:\\cfg/", "site.kcf"},
        {"/srv\\odd/x\\y.kcf", true, "/srv\\odd/x\\", "y.kcf"},
        {"C:\\fw\\", true, "C:\\fw\\", ""},
        {"image.tfp", false, "", ""},
        {"", false, "", ""},
    };
    for (const auto& c : cases) {
        const auto parts = pages::splitPath(c.path);
        ASSERT_EQ(parts.has_value(), c.split) << c.path.toStdString();
        if (parts) {
            EXPECT_EQ(parts->directory, c.directory);
            EXPECT_EQ(parts->name, c.name);
        }
    }
}

TEST(TransferParts, ProgressTextsFollowTheSessionEvents) {
    const struct {
        int operation;
        int status;
        qint64 total;
        qint64 size;
        QString text;
    } cases[] = {
        {1, qv::tftp::kConnected, 0, 2048, "fw.tfp: 0 of 2048 bytes sent"},
        {1, qv::tftp::kTransferring, 1024, 2048, "fw.tfp: 1024 of 2048 bytes sent"},
        {1, qv::tftp::kTransferring, 512, -1, "fw.tfp: 512 bytes sent"},
        {2, qv::tftp::kTransferring, 1536, -1, "fw.tfp: 1536 bytes received"},
        {1, qv::tftp::kSuccess, 2048, 2048, "fw.tfp: 2048 bytes sent, transfer complete"},
        {2, qv::tftp::kSuccess, 700, -1, "fw.tfp: 700 bytes received, transfer complete"},
        {1, qv::tftp::kTimeout, 512, 2048, "fw.tfp: (QvTFTP) Timeout!"},
        {1, qv::tftp::kDisconnected, 2048, 2048, ""}, // the last text stays on the screen
    };
    for (const auto& c : cases) {
        QvTFTPMsg msg;
        msg.fileName = "fw.tfp";
        msg.operation = c.operation;
        msg.status = c.status;
        msg.statusText = qv::tftp::statusText(c.status);
        msg.totalBytes = c.total;
        msg.fileSize = c.size;
        EXPECT_EQ(pages::progressText(msg), c.text) << c.status;
    }
}

} // namespace
