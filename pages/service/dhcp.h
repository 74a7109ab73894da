#pragma once
// "Advanced \ DHCP Server": whether the access point's DHCP server runs, its dynamic pool, its
// static (MAC-bound) leases and the leases handed out now.
//
// Static leases live in a fixed number of slots. Every write of a slot goes through the selected
// row of the hidden slot list LV_StaticPoolSet; the operator sees the used slots, numbered, in
// User_ListView. A change that must first clear a slot sends the clearing SET, and the writing
// SET only once the first has completed; the lists are read again after the last.
#include "pages/common/page.h"
#include "ui_dhcp.h"

#include <QString>

class New_req2Edit;
class QTreeWidget;
class QTreeWidgetItem;
class TFM_StaticIP;

class TFM_DHCP : public pages::FormPage<Ui::TFM_DHCP> {
    Q_OBJECT

public:
    explicit TFM_DHCP(QWidget* owner);
    ~TFM_DHCP() override;

    TFM_StaticIP* staticDialog() const { return staticIp_; }

    void FormCreate();
    bool FormCloseQuery() override;
    void CB_Fuction1Change();
    void CB_Fuction2Change();
    void PageControl1Change();
    void Bt_ApplyClick();
    void Bt_CancelClick();
    void StaticApplyClick();
    void Bt_AddClick();
    void Bt_SetClick();
    void Bt_DelClick();
    void User_ListViewSelectItem();
    void Bt_RefreshClick();
    void Bt_RfrshClick();
    void Bt_RefreshDynamicPoolClick();
    void Bt_RefreshStaticPoolClick();

    // Page state, readable by tests.
    bool poolBusy() const { return poolBusy_; }
    bool listingComplete() const { return listingComplete_; }

    // --- for TFM_StaticIP ---
    // Selects a slot row (its values go into the dialog's controls).
    void selectSlot(QTreeWidgetItem* row);
    // The first slot row whose column holds `text` (MAC columns compared by macMatches).
    QTreeWidgetItem* findSlot(int column, const QString& text) const;
    // Writes the dialog's entry to the selected slot; with clearFirst, the slot is cleared by a
    // SET of its own first and the entry (kept in the dialog's hidden copies) is written once
    // that has completed. The server function is written before the entry; the lists are read
    // again after it.
    void writeSlot(bool clearFirst);
    // The wait after a slot write; pool busy ends with it.
    void waitAfterSlotWrite();

private:
    void applyEnablingRule();
    void showStaticStatus(const QString& text);
    void startStaticListing();
    void relist();
    void onStaticListed(const QvSNMPError& result);
    void onStaticWritten(const QvSNMPError& result);
    void greyList(QTreeWidget* list, bool grey);
    bool dynamicChecksPass();
    // The User_ListView row selected and the slot row with its address; null (after saying so)
    // when there is none.
    QTreeWidgetItem* slotOfSelection();

    QvSNMPRequest2Edits* pool_ = nullptr;
    QvSNMPRequest2Edits* function_ = nullptr;
    QvSNMPRequest2Edits* staticPool_ = nullptr;
    New_req2Edit* display_ = nullptr;
    New_req2Edit* dynLeases_ = nullptr;
    New_req2Edit* staticLeases_ = nullptr;
    QvSNMPRequest2Edits* system_ = nullptr;
    TFM_StaticIP* staticIp_ = nullptr;

    bool poolBusy_ = true;
    bool listingComplete_ = true;
    bool relistPending_ = false;
    bool writeAfterClear_ = false;
};
