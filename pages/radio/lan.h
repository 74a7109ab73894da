#pragma once
// "Home \ LAN": how the access point gets its own address (static or by DHCP), the static
// address, mask and gateway, and the Ethernet port type. A new static address is refused when
// it lies in the device's DHCP pool, answers on the network, or is one of its static DHCP
// leases; an accepted change restarts the device.
#include "pages/common/page.h"
#include "ui_lan.h"

#include <QString>

class TFM_LanCfg : public pages::FormPage<Ui::TFM_LanCfg> {
    Q_OBJECT

public:
    explicit TFM_LanCfg(QWidget* owner);
    ~TFM_LanCfg() override;

    void FormCreate();
    void BT_LanCfgOkClick();
    void BT_LanCfgCancelClick();
    void CB_IPFromChange();

    // Page state, readable by tests.
    const QString& storedAddress() const { return storedAddress_; }
    int addressMode() const { return addressMode_; }
    bool portTypeRead() const { return portTypeRead_; }

private:
    void applyStatic();
    void applyDhcp();
    // The static DHCP leases, read while the wait dialog counts; false (and refused) when one of
    // them is the new address or the table could not be read.
    bool staticLeasesAllow(const QString& address);
    // Refuses and shows the device's LAN values again.
    void refuseAndReread(const QString& text, QWidget* focus = nullptr);
    void setRestart(const QString& label);
    // The LAN list, then the port type (when the device answered it at opening); true when
    // every write that ran succeeded.
    bool writeLanAndPortType();

    QvSNMPRequest2Edits* lan_ = nullptr;
    QvSNMPRequest2Edits* pool_ = nullptr;
    QvSNMPRequest2Edits* static_ = nullptr;
    QvSNMPRequest2Edits* port_ = nullptr;

    QString storedAddress_;
    int addressMode_ = 0;
    bool portTypeRead_ = false;
    bool staticTableRead_ = false;
};
