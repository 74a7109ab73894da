#pragma once
// "Tools \ System": restarts the device, or restores its factory defaults and restarts it. The
// count-down starts once the device has taken the command; a device that refuses it says why in
// the status bar and does not restart. One that does not answer may be restarting already: the
// count-down runs all the same.
#include "pages/common/page.h"
#include "ui_system.h"

#include <QString>

class TFM_Sytem : public pages::FormPage<Ui::TFM_Sytem> {
    Q_OBJECT

public:
    explicit TFM_Sytem(QWidget* owner);
    ~TFM_Sytem() override;

    void FormCreate();
    void Button1Click();
    void Button2Click();

private:
    // Writes "True" to the command `include` (the other left out of the SET) after the
    // operator's confirmation; true when the device took it or did not answer.
    bool sendCommand(int include, int exclude, QComboBox* command);

    QvSNMPRequest2Edits* system_ = nullptr;
    QvSNMPError lastWrite_;
};
