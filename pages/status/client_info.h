#pragma once
// "Status\Client Info": the wireless stations associated with the access point and, in the
// bridge modes, the WDS peers it sees. The device builds each table on demand: the page writes a
// trigger and, once the device has answered it, walks the table. Client detection repeats every
// 10 seconds while the page is shown, never overlapping a detection still under way.
#include "pages/common/page.h"
#include "ui_client_info.h"

class QLabel;
class QTimer;
class New_req2Edit;

class TClientInformation : public pages::FormPage<Ui::TClientInformation> {
    Q_OBJECT
public:
    explicit TClientInformation(QWidget* owner);

    // The texts of the visible client list, from a raw row's values.
    static QString bandText(const QString& value);
    static QString authenticationText(const QString& value);
    static QString powerSavingText(const QString& value);
    // A row that names no station: its MAC address is empty or all zeros.
    static bool noStation(const QString& mac);

    void FormCreate();
    void Bt_RfrshClick();
    void Bt_WDSRefreshClick();
    void Timer1Timer();
    bool FormCloseQuery() override;

    bool clientDetecting() const { return clientDetecting_; }
    bool wdsDetecting() const { return wdsDetecting_; }
    QTimer* timer() const { return timer_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void detectClients();
    void clientTriggerAnswered(const QvSNMPError& answer);
    void clientTableRead(const QvSNMPError& result);
    void wdsTriggerAnswered(const QvSNMPError& answer);
    void wdsTableRead(const QvSNMPError& result);
    void rebuildClientList();
    void status(const QString& text);

    QLabel* panel_ = nullptr;
    QTimer* timer_ = nullptr;
    QvSNMPRequest2Edits* mode_ = nullptr;
    QvSNMPRequest2Edits* clientTrigger_ = nullptr;
    QvSNMPRequest2Edits* clientTable_ = nullptr;
    QvSNMPRequest2Edits* wdsTrigger_ = nullptr;
    New_req2Edit* wdsTable_ = nullptr;
    bool ssidVariant_ = false;
    bool clientDetecting_ = false;
    bool wdsDetecting_ = false;
};
