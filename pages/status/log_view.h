#pragma once
// "Status\Log": the device's system log. The device cannot return its log by SNMP: the page
// orders it to upload the log by TFTP to the module's own server and shows one row per log line
// once the upload has arrived whole. "Clear" orders the device to empty its log.
#include "pages/common/page.h"
#include "ui_log_view.h"

#include <optional>

namespace pages {
class DeviceFile;
class TransferServer;
} // namespace pages

class TLogForm : public pages::FormPage<Ui::TLogForm> {
    Q_OBJECT
public:
    explicit TLogForm(QWidget* owner);

    // One log line: time, tab, "[", type, "]", message. The time is trimmed; the message keeps
    // its leading blanks. A line without a tab is all message; one without a bracketed type has
    // an empty type. Blank lines give no row.
    struct Row {
        QString time;
        QString type;
        QString message;
    };
    static std::optional<Row> parseLine(QString line);

    void FormCreate();
    void GetBtnClick();
    void Clear_BtnClick();

    pages::DeviceFile* logFile() const { return file_; }

private:
    void showLog(const QString& path);
    void showFailure(const QString& reason);

    QvSNMPRequest2Edits* order_ = nullptr;
    QvSNMPRequest2Edits* clear_ = nullptr;
    pages::TransferServer* server_ = nullptr;
    pages::DeviceFile* file_ = nullptr;
};
