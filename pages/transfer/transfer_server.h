#pragma once
// What the transfer pages share around the module's TFTP server: starting it when the page opens
// (a server that cannot start closes the page, not the module), the PC address the device is
// given, the split of a chosen path into the served directory and the bare name, and the
// progress of the device's sessions shown to the operator while a transfer runs.
//
//   server_ = new pages::TransferServer(this, 3000, 3, La_Progress);   // in the constructor
//   ...
//   const auto parts = pages::splitPath(Ed_UpgFile->text());           // {directory, name}
//   server_->serve(parts->directory);                                   // before the command
//   server_->attach(wait);                                              // progress in a dialog
#include <optional>
#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QLineEdit;
class QvTFTPServer;
class TFM_Waiting;
struct QvTFTPMsg;

namespace pages {

class Page;

struct PathParts {
    QString directory; // up to and including the last separator
    QString name;      // what follows it
};
// Splits a path at its last "\" or "/"; nothing when it has neither.
std::optional<PathParts> splitPath(const QString& path);

// The progress text of a session event: bytes moved (and the file's size when the PC serves it),
// the end of the transfer, or the server's failure text.
QString progressText(const QvTFTPMsg& msg);

class TransferServer : public QObject {
    Q_OBJECT
public:
    // Creates the server with its per-block time-out (10 ms units) and transmission count, and
    // starts it on the TFTP port with an empty root. When that fails the operator is told
    // ("TFTP Service Init Error:" and the reason) and the page closes as soon as it is shown.
    // Progress goes to `progress` (and to the wait dialogs attached). The server stops when the
    // page closes: the transfers under way end while the page is still whole to hear of them.
    TransferServer(Page* page, int timeout, int maxSends, QLabel* progress);
    ~TransferServer() override;

    bool started() const { return started_; }
    // Serves `directory` from now on. False (with the reason in the progress label) when the
    // server is not listening.
    bool serve(const QString& directory);
    // Whether a session of the device is still under way.
    bool transferring() const;

    // The PC's address on the device's subnet into `edit` (cleared first). When there is none
    // the operator gets "Invalid Server IP Address or SNMP timed out!" and false.
    bool fillServerAddress(QLineEdit* edit);

    // The steps every transfer takes before it writes to the device: the PC address into
    // `serverEdit`, the path split ("The file path is error." when it has no separator) and its
    // directory served. Nothing when a step failed (the operator has been told).
    std::optional<PathParts> prepare(const QString& path, QLineEdit* serverEdit);

    // Shows the progress in `wait` while it is open, below its own texts.
    void attach(TFM_Waiting& wait);

    QvTFTPServer& server() { return *server_; }
    const QvTFTPServer& server() const { return *server_; }

signals:
    // Every event of every session, after the progress texts; setting `cancel` makes the session
    // stop at its next step (a session that has not started yet creates no file).
    void sessionEvent(const QvTFTPMsg& msg, bool& cancel);

private:
    void onEvent(QvTFTPMsg* msg, bool* cancel);

    QvTFTPServer* server_ = nullptr;
    QPointer<QLabel> progress_;
    QPointer<QLabel> waitProgress_;
    bool started_ = false;
    // The page is being destroyed (without having closed): what the transfers still draining,
    // or the files waited for, have to say reaches nobody.
    bool closing_ = false;
};

} // namespace pages
