#pragma once
// "Advanced \ Mode": the operating mode of the access point (access point, point-to-point or
// point-to-multipoint bridge) and the MAC addresses of the remote access points the bridge modes
// connect with: one in "PtP Bridge", up to eight in "PtMP Bridge", none written otherwise. Every
// accepted change is followed by the restart count-down.
#include "pages/common/page.h"
#include "ui_mode.h"

#include <array>

class TFM_ModeCFG : public pages::FormPage<Ui::TFM_ModeCFG> {
    Q_OBJECT
public:
    explicit TFM_ModeCFG(QWidget* owner);

    void FormCreate();
    void CB_11a_APMChange();
    void Bt_RefreshClick();
    void Bt_ApplyClick();
    void Bt_CloseClick();

    // The device keeps "000000000000" for an entry without an address.
    static inline const QString kNoAddress = QStringLiteral("000000000000");

private:
    // Empties "no address" entries and makes the edits writable as the mode allows.
    void addressRule();
    void clearEmptyAddresses();
    bool noRepeatedAddress();
    // Marks the addresses the mode writes; false (and refused) when one has not 12 digits.
    bool addressLengthsFit();
    // Every address is read (and may be written) again.
    void includeAllAddresses();

    std::array<QLineEdit*, 8> addresses_{};
    QvSNMPRequest2Edits* mode_ = nullptr;
};
