#pragma once
// "Tools \ Misc.": the console (Telnet or SSH, or none) and its idle time-out. A protocol change
// first switches both protocols off, then the chosen one on. When a write fails part-way the
// console is written back as the device had it, so the operator is not locked out of it.
#include "pages/common/page.h"
#include "ui_misc.h"

#include <QString>

class TFM_Misc : public pages::FormPage<Ui::TFM_Misc> {
    Q_OBJECT

public:
    explicit TFM_Misc(QWidget* owner);
    ~TFM_Misc() override;

    void FormCreate();
    void Bt_RfreshClick();
    void Bt_ApplyClick();
    void CB_StatusClick();

    // Page state, readable by tests.
    bool sshRead() const { return sshRead_; }

private:
    // The console as the device holds it: the hidden combos' and the time-out's texts.
    struct Console {
        QString telnet;
        QString timeout;
        QString ssh;
    };
    void readConsole();
    void statusRule();
    void protocolRule();
    // The Telnet list (with the time-out unless it is left out), then the SSH list when the
    // device has one and the first write succeeded.
    bool writeConsole();
    // Writes the console read last back to the device and shows it again.
    void restoreConsole();

    QvSNMPRequest2Edits* telnet_ = nullptr;
    QvSNMPRequest2Edits* ssh_ = nullptr;
    bool sshRead_ = false;
    Console device_;
};
