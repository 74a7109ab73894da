#pragma once
// "Status \ Device Info": a read-only summary of the device (firmware, MAC addresses, address
// settings, CPU and memory load when the device reports them) and of radio instance 1. Every
// field is read when the page is made; "Refresh" reads the radio and load figures again.
#include "pages/common/page.h"
#include "ui_device_info.h"

class TFM_DevInfo : public pages::FormPage<Ui::TFM_DevInfo> {
    Q_OBJECT
public:
    explicit TFM_DevInfo(QWidget* owner);

    // The secondary MAC address derived from the primary one: "04", the primary's second
    // hex digit, n, then its last ten digits (000F3D12ABCD, 1 -> 04013D12ABCD). Empty when the
    // primary is not twelve hex digits.
    static QString secondaryMac(const QString& primary, int n);

    void FormCreate();
    void Bt_RefaClick();

private:
    void showSuperMode();
    bool apStatusSupported() const;

    QvSNMPRequest2Edits* radio_ = nullptr;
    QvSNMPRequest2Edits* device_ = nullptr;
    QvSNMPRequest2Edits* support_ = nullptr;
    QvSNMPRequest2Edits* load_ = nullptr;
};
