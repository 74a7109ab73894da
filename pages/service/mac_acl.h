#pragma once
// "Advanced \ Wireless MAC ACL": whether the radio accepts or rejects the stations of its MAC list
// (or filters nothing), and the list. The list lives in a fixed number of slots; every write goes
// through the selected row of the hidden slot list LV_GetMAC (a free slot for an added address,
// the address's slot, written all zeros, for a delete). The operator sees the used slots,
// numbered, in LV_UerMACAddress. On a device without save-and-activate only a delete restarts
// it; an addition ends with the list read again.
#include "pages/common/page.h"
#include "ui_mac_acl.h"

class New_req2Edit;
class QTreeWidgetItem;

class TFM_WMACACL : public pages::FormPage<Ui::TFM_WMACACL> {
    Q_OBJECT

public:
    explicit TFM_WMACACL(QWidget* owner);
    ~TFM_WMACACL() override;

    void FormCreate();
    bool FormCloseQuery() override;
    void CB_FilterCtrlChange();
    void Bt_ApplyClick();
    void Bt_DelClick();
    void Bt_CancelClick();

    // Whether a walk or a slot write is under way (the page stays open, its buttons off).
    bool slotsBusy() const { return !closePermission_; }

private:
    void listSlots();
    void onSlotsListed(const QvSNMPError& result);
    void onSlotWritten(const QvSNMPError& result);
    // Writes Ed_MACAddr into the selected slot (`deleting`: the all-zero address); the answer
    // arrives in onSlotWritten.
    void writeSlot(bool deleting);
    // The first slot whose MAC matches `mac`, leaving out `except`.
    QTreeWidgetItem* findSlot(const QString& mac, const QTreeWidgetItem* except = nullptr) const;
    bool addressChecksPass();
    void setButtons(bool enabled);

    QvSNMPRequest2Edits* access_ = nullptr;
    QvSNMPRequest2Edits* slots_ = nullptr;
    New_req2Edit* display_ = nullptr;
    bool closePermission_ = true;
    bool deleting_ = false; // the slot write under way removes an address
};
