#include "pages/transfer/transfer_server.h"

#include "app/module_texts.h"
#include "app/wait_dialog.h"
#include "pages/common/page.h"
#include "pages/transfer/device_file.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"
#include "transfer/pc_address.h"
#include "transfer/tftp_server.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace pages {

std::optional<PathParts> splitPath(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    if (cut < 0)
        return std::nullopt;
    return PathParts{path.left(cut + 1), path.mid(cut + 1)};
}

QString progressText(const QvTFTPMsg& msg) {
    const bool toDevice = msg.operation == 1;
    switch (msg.status) {
    case qv::tftp::kConnected:
    case qv::tftp::kTransferring:
        if (toDevice && msg.fileSize >= 0)
            return QStringLiteral("%1: %2 of %3 bytes sent")
                .arg(msg.fileName)
                .arg(msg.totalBytes)
                .arg(msg.fileSize);
        return QStringLiteral("%1: %2 bytes %3")
            .arg(msg.fileName)
            .arg(msg.totalBytes)
            .arg(toDevice ? QStringLiteral("sent") : QStringLiteral("received"));
    case qv::tftp::kSuccess:
        return QStringLiteral("%1: %2 bytes %3, transfer complete")
            .arg(msg.fileName)
            .arg(msg.totalBytes)
            .arg(toDevice ? QStringLiteral("sent") : QStringLiteral("received"));
    case qv::tftp::kDisconnected:
        return {}; // the last text stays
    default:
        return QStringLiteral("%1: %2").arg(msg.fileName, msg.statusText);
    }
}

TransferServer::TransferServer(Page* page, int timeout, int maxSends, QLabel* progress)
    : QObject(page), progress_(progress) {
    server_ = new QvTFTPServer(this);
    server_->SetTimeouts(timeout, maxSends);
    server_->SetEventHandler(
        [this](QObject*, QvTFTPMsg* msg, bool* cancel) { onEvent(msg, cancel); }, this);
    try {
        server_->Start(QString(), qv::tftp::kStandardPort);
        started_ = true;
    } catch (const QvException& e) {
        platform::message(QString::fromLatin1(app::kModelName),
                          QStringLiteral("TFTP Service Init Error:") + e.text());
        // The page cannot work without its server: it closes as soon as it is shown, and the
        // module goes on.
        QMetaObject::invokeMethod(page, &Page::reject, Qt::QueuedConnection);
    }
    connect(page, &QDialog::finished, this, [this] { server_->Stop(); });
}

TransferServer::~TransferServer() {
    // The server goes with its page, whose destruction has begun: while it stops (turning the
    // event loop), neither the transfers that end nor the files waited for may reach the page.
    closing_ = true;
    for (DeviceFile* file : findChildren<DeviceFile*>(Qt::FindDirectChildrenOnly))
        file->blockSignals(true);
    server_->Stop();
}

bool TransferServer::serve(const QString& directory) {
    if (!started_)
        return false;
    server_->Start(directory, qv::tftp::kStandardPort); // listening already: only the root moves
    return true;
}

bool TransferServer::transferring() const {
    return server_->sessionCount() > 0;
}

bool TransferServer::fillServerAddress(QLineEdit* edit) {
    edit->clear();
    const QString address =
        qv::pcAddressOnSubnet(flagText(flags::IPAddressEdit), flagText(flags::SubMaskEdit));
    if (address.isEmpty()) {
        platform::message(QString::fromLatin1(app::kModelName),
                          QString::fromLatin1(qv::kNoServerAddressText));
        return false;
    }
    edit->setText(address);
    return true;
}

std::optional<PathParts> TransferServer::prepare(const QString& path, QLineEdit* serverEdit) {
    if (!fillServerAddress(serverEdit))
        return std::nullopt;
    auto parts = splitPath(path);
    if (!parts) {
        refuse(QStringLiteral("The file path is error."), QStringLiteral("Warning"));
        return std::nullopt;
    }
    if (!serve(platform::localPath(parts->directory)))
        return std::nullopt;
    return parts;
}

void TransferServer::attach(TFM_Waiting& wait) {
    auto* label = new QLabel(progress_ ? progress_->text() : QString(), &wait);
    label->setObjectName(QStringLiteral("La_Transfer"));
    if (auto* box = qobject_cast<QBoxLayout*>(wait.layout()))
        box->addWidget(label);
    waitProgress_ = label;
}

void TransferServer::onEvent(QvTFTPMsg* msg, bool* cancel) {
    if (closing_)
        return;
    const QString text = progressText(*msg);
    if (!text.isEmpty()) {
        if (progress_)
            progress_->setText(text);
        if (waitProgress_)
            waitProgress_->setText(text);
    }
    emit sessionEvent(*msg, *cancel);
}

} // namespace pages
