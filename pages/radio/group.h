#pragma once
// "Advanced \ Grouping": load balancing between the access points of a group (with the user
// limit it applies) and link integrity, which the device honours only in the "Access Point"
// mode, and the Ethernet link status where the device reports it. Without save-and-activate an
// accepted change restarts the device.
#include "pages/common/page.h"
#include "ui_group.h"

class TFM_Group : public pages::FormPage<Ui::TFM_Group> {
    Q_OBJECT
public:
    explicit TFM_Group(QWidget* owner);

    void FormCreate();
    void CB_LoadBChange();
    void ED_APModeComboBoxChange();
    void Bt_RefreshClick();
    void Bt_ApplyClick();
    void Bt_CancelClick();

    bool linkStatusShown() const { return linkStatusShown_; }

private:
    bool linkStatusSupported() const;

    QvSNMPRequest2Edits* apMode_ = nullptr;
    QvSNMPRequest2Edits* grouping_ = nullptr;
    QvSNMPRequest2Edits* linkStatus_ = nullptr;
    bool linkStatusShown_ = false;
};
