#pragma once
// "Status \ Stats \ Ethernet": the frames and bytes the access point's Ethernet port has sent
// and received. The counters are read in the background when the page opens and on "Refresh";
// the page writes nothing.
#include "pages/common/page.h"
#include "ui_ethernet.h"

class TFM_Ethernet : public pages::FormPage<Ui::TFM_Ethernet> {
    Q_OBJECT
public:
    explicit TFM_Ethernet(QWidget* owner);

    void FormCreate();
    void Bt_RfrshEClick();

private:
    QvSNMPRequest2Edits* counters_ = nullptr;
};
