#pragma once
// "Status \  Log Setting": which kinds of events the device logs, the remote log server it sends
// them to (an empty server means remote logging off), and on devices with e-mail notification
// the SMTP server, sender and recipient.
#include "pages/common/page.h"
#include "ui_log_settings.h"

class TFM_LogSet : public pages::FormPage<Ui::TFM_LogSet> {
    Q_OBJECT

public:
    explicit TFM_LogSet(QWidget* owner);
    ~TFM_LogSet() override;

    void FormCreate();
    void FormShow();
    void Bt_ApplyClick();
    void Bt_CancelClick();
    void CB_SMTPStatusClick();

    // Whether the device offers e-mail notification (its flag reads 1).
    bool smtpSupported() const { return smtpSupported_; }

private:
    // Reads what the page shows: the log list, and the SMTP list where there is one.
    void read();
    bool checksPass();
    void setSmtpColumns(quint32 access);

    QvSNMPRequest2Edits* log_ = nullptr;
    QvSNMPRequest2Edits* smtp_ = nullptr;
    bool smtpSupported_ = false;
};
