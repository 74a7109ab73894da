#pragma once
// "Status \ Device Info": a read-only summary of the device (firmware, MAC addresses, address
// settings, CPU and memory load when the device reports them) and of radio instance 1. Every
// field is read when the page is made; "Refresh" reads the radio and load figures again.
#include "pages/common/page.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;

class TFM_DevInfo : public pages::Page {
    Q_OBJECT
public:
    explicit TFM_DevInfo(QWidget* owner);

    // The secondary MAC address derived from the primary one: "04", the primary's second
    // hex digit, n, then its last ten digits (000F3D12ABCD, 1 -> 04013D12ABCD). Empty when the
    // primary is not twelve hex digits.
    static QString secondaryMac(const QString& primary, int n);

    void FormCreate();
    void Bt_RefaClick();

    QGroupBox* GroupBox2;
    QGroupBox* GroupBox1;
    QGroupBox* GB_AP;
    QLineEdit* Ed_Firmware;
    QLineEdit* Ed_Mac;
    QLineEdit* Ed_SecFirstMac;
    QLineEdit* Ed_SecSecMac;
    QLineEdit* Ed_GetIP;
    QLineEdit* Ed_IPaddr;
    QLineEdit* Ed_SubMask;
    QLineEdit* Ed_Gate;
    QLineEdit* Ed_Cpu;
    QLineEdit* Ed_Memory;
    QLineEdit* Ed_ApStatusSupport; // hidden
    QTabWidget* PC_WirlessTraffic;
    QWidget* TabSheetA;
    QLineEdit* Ed_SSIDa;
    QLineEdit* Ed_Channela;
    QLineEdit* Ed_SupModusa; // what the operator sees of the Super G mode
    QLineEdit* Ed_SupModa;   // hidden: the device's value
    QLineEdit* Ed_DatRata;
    QLineEdit* Ed_SecLevAutha;
    QLineEdit* Ed_SecLevPria;
    QPushButton* Bt_Refa;
    QStatusBar* StatusBar;

private:
    void buildControls();
    void showSuperMode();
    bool apStatusSupported() const;

    QvSNMPRequest2Edits* radio_ = nullptr;
    QvSNMPRequest2Edits* device_ = nullptr;
    QvSNMPRequest2Edits* support_ = nullptr;
    QvSNMPRequest2Edits* load_ = nullptr;
};
