#pragma once
// "Advanced \ Multi-SSID" of current firmware: multiple SSIDs and VLAN tagging on or off for the
// 802.11g radio, and one SSID at a time in the editor: the primary SSID's VLAN settings, or an
// additional SSID's name, security (WEP keys, pass phrase or the device's RADIUS server), VLAN
// tag, dynamic VLAN, broadcast suppression, WMM and priority.
//
// Every SSID is a row of the device's SSID table, read by a walk into the hidden list
// MulSSIDListView (row r is SSID r, row 0 the primary one); the editor shows the selected row and
// Save writes it back with only the columns that belong to the change. The operator's overview is
// LV_MultiSSID_User, the enabled SSIDs. Which columns exist follows the device's capabilities:
// the longer table whenever it has dynamic VLAN or SSID priority.
#include "pages/common/page.h"
#include "ui_multi_ssid_new.h"

#include <QString>
#include <vector>

class TFM_MultiSSIDNewForm : public pages::FormPage<Ui::TFM_MultiSSIDNewForm> {
    Q_OBJECT

public:
    explicit TFM_MultiSSIDNewForm(QWidget* owner);
    ~TFM_MultiSSIDNewForm() override;

    void FormCreate();
    void CB_IdxChange();
    void CB_SecChange();
    void CB_SecShowChange();
    void CB_KeySizeChange();
    void CB_IdxTmpChange();
    void CB_DyVlanChange();
    void CB_VLanStateClick();
    void IfEnabMuSSIDClick();
    void CheckBox_PriorityClick();
    void LV_MultiSSID_UserClick();
    void SaveButtonClick();
    void DelButtonClick();
    void ApplyBtnClick();
    void CancelBtnClick();

    // Page state, readable by tests.
    int ssidColumns() const; // variables of the SSID table list
    bool wpaInUseElsewhere() const { return wpaElsewhere_; }
    const QString& storedGroupKey() const { return storedGroupKey_; }
    bool tableBusy() const;

private:
    // The text of variable `var` in row `row` of MulSSIDListView (empty when there is none).
    QString cell(int row, int var) const;
    int rowCount() const;
    // Loads row `row` of MulSSIDListView into the bound controls.
    void selectRow(int row);
    void rebuildUserList();
    void showSecuritySelector();
    void groupVisibility();
    void applyEnablingRules();
    void setKeyLimit();
    void setEditLimits();
    int secItem() const { return ui->CB_Sec->currentIndex(); }
    bool additional() const { return ui->CB_Idx->currentIndex() > 0; }
    bool extended() const { return dyVlan_ || priority_; }
    // The SSID number (0 the primary) of a row of LV_MultiSSID_User, from its caption.
    static int ssidOfCaption(const QString& caption);

    // Save, in its parts: checks (nothing written yet), the columns to send, the writes.
    bool saveChecks(bool primary);
    bool wepKeyChecks(std::vector<int>& columns, QString& hexKey);
    bool writeStates();
    void warnSharedWepKey();
    void warnGroupKey();
    void warnKeySlots();
    void startRowSet(const std::vector<int>& columns, const QString* hexKey);

    QvSNMPRequest2Edits* managerVlan_ = nullptr;
    QvSNMPRequest2Edits* priorityState_ = nullptr;
    QvSNMPRequest2Edits* radioMode_ = nullptr;
    QvSNMPRequest2Edits* multiState_ = nullptr;
    QvSNMPRequest2Edits* vlanState_ = nullptr;
    QvSNMPRequest2Edits* groupKey_ = nullptr;
    QvSNMPRequest2Edits* radius_ = nullptr;
    QvSNMPRequest2Edits* account_ = nullptr;
    QvSNMPRequest2Edits* table_ = nullptr;
    std::vector<int> columnOrder_; // list-view column of each variable of the table

    bool dyVlan_ = false;
    bool priority_ = false;
    bool accounting_ = false;
    bool suppress_ = false;
    bool wmm_ = false;
    bool mssidAndWds_ = false;

    bool firstEnableWarning_ = false;
    bool vlanOn_ = false;
    QString storedGroupKey_;
    bool wpaElsewhere_ = false;
    bool listClick_ = false;
    bool managerVlanRead_ = false;
    bool priorityRead_ = false;
};
