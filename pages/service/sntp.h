#pragma once
// "Tools \ SNTP": the device's time server, time zone and daylight saving, and its local time.
// Which zones observe daylight saving the device tells by uploading its list ("SNTPFile.RD", one
// line per zone) to the module's TFTP server when the page opens; until that list has arrived
// the daylight-saving setting stays as the device reported it.
#include "pages/common/page.h"
#include "ui_sntp.h"

#include <array>
#include <memory>

class QTimer;
class QLabel;

namespace pages {
class DeviceFile;
class TransferServer;
} // namespace pages

class TSNTPForm : public pages::FormPage<Ui::TSNTPForm> {
    Q_OBJECT

public:
    explicit TSNTPForm(QWidget* owner);
    ~TSNTPForm() override;

    static constexpr int kZones = 75;

    void FormCreate();
    bool FormCloseQuery() override;
    void Bt_ApplyClick();
    void Bt_CancelClick();
    void CB_WSNTPTimeZoneChange();
    void Timer1Timer();

    // Page state, readable by tests.
    bool listKnown() const { return listKnown_; }
    bool daylightFlag(int zoneIndex) const { return daylight_.at(static_cast<size_t>(zoneIndex)); }
    bool closePermitted() const { return closePermission_; }
    QString listPath() const;
    QLabel* statusPanel() const { return status_; }

private:
    void askForList();
    void onTimeRead(const QvSNMPError& result);
    void onTimeWritten(const QvSNMPError& result);
    void onListCommandAnswered(const QvSNMPError& result);
    void listEnded(bool arrived, const QString& reason);
    void readList();
    void finishListing();
    void report(const QString& text);

    QvSNMPRequest2Edits* time_ = nullptr;
    QvSNMPRequest2Edits* list_ = nullptr;
    pages::TransferServer* server_ = nullptr;
    pages::DeviceFile* file_ = nullptr;
    QTimer* timer_ = nullptr;
    QLabel* status_ = nullptr;
    std::array<bool, kZones> daylight_{};
    bool listKnown_ = false;
    bool closePermission_ = true;
    int countdown_ = 2;
    // The list step ends when the count-down has run out and the file has arrived or failed.
    bool countedDown_ = false;
    bool listEnded_ = false;
    bool listArrived_ = false;
    QString listFailure_;
};
