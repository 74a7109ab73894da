#pragma once
// "Tools \ Admin" (firmware without management limits): the administrator's user name and
// password. A change needs the current password; it takes effect when the device restarts.
#include "pages/common/page.h"
#include "pages/service/login.h"
#include "ui_admin.h"

#include <QString>

class TFM_Admin : public pages::FormPage<Ui::TFM_Admin> {
    Q_OBJECT

public:
    explicit TFM_Admin(QWidget* owner);
    ~TFM_Admin() override;

    void FormCreate();
    void OKClick();
    void CancelClick();

private:
    pages::login::Fields fields() const;

    QvSNMPRequest2Edits* login_ = nullptr;
    QString storedPassword_;
};
