#pragma once
// "Static Pool Settings": the dialog of the DHCP server page for adding or changing one static
// (MAC-bound) lease. Its controls are bound to the columns of the page's static pool table, so
// selecting a slot of the page's hidden slot list loads the slot into them.
#include "pages/common/mac_text.h"
#include "ui_static_ip.h"

#include <memory>
#include <QDialog>
#include <QString>

class TFM_DHCP;

class TFM_StaticIP : public QDialog {
    Q_OBJECT

public:
    TFM_StaticIP(TFM_DHCP* page);
    ~TFM_StaticIP() override;

    const std::unique_ptr<Ui::TFM_StaticIP> ui;

    // Hidden in the form: the entry being changed (Ed_OldIP enabled means add mode), and the
    // operator's entry kept while its slot is cleared first (Ed_AsgIP2 ...).
    QString stat2; // CB_Stat's item with the entry kept

    // The five texts and the status as they were when a change began.
    struct Kept {
        QString mask, gateway, wins, dns, domain, status;
    } kept;

    void ApplyClick();

    // Before a show: add mode (a free slot selected) or change mode (the selected slot's
    // address and MAC kept in Ed_OldIP / ED_OldMAC).
    void prepareAdd();
    void prepareChange();
    // The empty entry of a free slot into the controls.
    void loadEmptyEntry();
    // The operator's entry into the hidden copies and back (blank mask, gateway, WINS and DNS
    // come back as "0.0.0.0").
    void keepEntry();
    void restoreEntry();
    // Blank mask, gateway, WINS and DNS become "0.0.0.0".
    void fillBlankAddresses();
    void setLengthLimits();

private:
    bool checksPass();
    bool addMode() const;

    TFM_DHCP* page_;
};

using pages::macMatches;
