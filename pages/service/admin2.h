#pragma once
// "Tools \ Administrator Settings" (firmware with management limits): the login, the console
// protocol and its idle time-out, where management may come from (address ranges, or two single
// manager addresses on firmware without ranges; the wireless LAN; a management VLAN), ping
// control and traps.
//
// Address ranges are written at once through the selected row of the hidden row list
// ListView_IpRange; the operator sees the used rows, numbered, in ListView_User. Apply asks for
// the current password whatever it changes, writes the other settings in a fixed order and stops
// at the first failure; a console left half-switched by a failure is written back as the device
// had it, so the operator is not locked out.
#include "pages/common/page.h"
#include "pages/service/login.h"
#include "ui_admin2.h"

#include <QString>

class New_req2Edit;
class QTreeWidgetItem;

class TFM_Admin2 : public pages::FormPage<Ui::TFM_Admin2> {
    Q_OBJECT

public:
    explicit TFM_Admin2(QWidget* owner);
    ~TFM_Admin2() override;

    void FormCreate();
    void OKClick();
    void CancelClick();
    void RB_NoneClick();
    void CkBx_ManagerStateClick();
    void CheckBox_VIDClick();
    void ListView_UserClick();
    void Btn_AddClick();
    void Btn_DelClick();

    // Page state, readable by tests.
    bool wlanRead() const { return wlanRead_; }
    bool vidRead() const { return vidRead_; }
    bool sshRead() const { return sshRead_; }
    bool rangesSupported() const { return rangesSupported_; }
    bool managerAddressFlag() const { return managerFlag_; }
    // Whether both range lists have been read (the last listing has ended).
    bool rangesListed() const;

private:
    struct Console {
        QString telnet;
        QString timeout;
        QString ssh;
    };
    pages::login::Fields fields() const;
    void tidyAddresses();
    void rememberConsole();
    void restoreConsole();
    bool writeConsole();
    // The checks of Apply before anything is written; false after a refusal.
    bool checksPass();
    // A drop-down without a selection is refused (never written).
    // An asynchronous write that counts only once the device has answered it.
    bool writeAnswered(QvSNMPRequest2Edits& request, const QvSNMPError& result);
    // The row of ListView_IpRange with these ends, or null.
    QTreeWidgetItem* findRow(const QString& from, const QString& to) const;
    // Writes the ends into `row` and waits for the answer; relists after a success.
    bool writeRow(QTreeWidgetItem* row, const QString& from, const QString& to);
    void relist();

    QvSNMPRequest2Edits* mssid_ = nullptr;
    QvSNMPRequest2Edits* vlan_ = nullptr;
    QvSNMPRequest2Edits* wlan_ = nullptr;
    QvSNMPRequest2Edits* vid_ = nullptr;
    QvSNMPRequest2Edits* limit_ = nullptr;
    QvSNMPRequest2Edits* telnet_ = nullptr;
    QvSNMPRequest2Edits* ssh_ = nullptr;
    QvSNMPRequest2Edits* login_ = nullptr;
    QvSNMPRequest2Edits* managers_ = nullptr;
    QvSNMPRequest2Edits* trapCapability_ = nullptr;
    QvSNMPRequest2Edits* traps_ = nullptr;
    QvSNMPRequest2Edits* pingCapability_ = nullptr;
    QvSNMPRequest2Edits* ping_ = nullptr;
    QvSNMPRequest2Edits* ranges_ = nullptr;
    New_req2Edit* display_ = nullptr;

    bool wlanRead_ = false;
    bool vidRead_ = false;
    bool sshRead_ = false;
    bool rangesSupported_ = false;
    bool managerFlag_ = false;
    bool trapsShown_ = false;
    bool pingShown_ = false;
    QString storedPassword_;
    Console device_;
    QvSNMPError limitWritten_;
    QvSNMPError trapsWritten_;
    QvSNMPError rowWritten_;
};
