#pragma once
// "Advanced \ WLAN Partition": whether wireless stations may reach each other, and whether
// traffic from the Ethernet side reaches the wireless side.
#include "pages/common/page.h"
#include "ui_wlan_partition.h"

class TFM_WPart : public pages::FormPage<Ui::TFM_WPart> {
    Q_OBJECT

public:
    explicit TFM_WPart(QWidget* owner);
    ~TFM_WPart() override;

    void FormCreate();
    void BT_ApplyClick();
    void BT_CancelClick();
    void CB_WLANAccessaClick();

private:
    QvSNMPRequest2Edits* partition_ = nullptr;
};
