#include "pages/service/admin.h"

#include "pages/common/messages.h"
#include "tables/admin.h"

using namespace tables::admin;
namespace msg = pages::msg;

TFM_Admin::TFM_Admin(QWidget* owner) : FormPage(owner) {
    handle(ui->OK, &QPushButton::clicked, &TFM_Admin::OKClick);
    handle(ui->Cancel, &QPushButton::clicked, &TFM_Admin::CancelClick);
    FormCreate();
}

TFM_Admin::~TFM_Admin() = default;

pages::login::Fields TFM_Admin::fields() const {
    return {ui->Ed_Usr, ui->Ed_OPwd, ui->Ed_NPwd, ui->Ed_CNP, ui->Ed_Pwd};
}

void TFM_Admin::FormCreate() {
    guard([this] {
        login_ = addRequest(kLogin, {.status = ui->StatusBar});
        pages::bind(*login_, {{kUserName, ui->Ed_Usr}, {kPassword, ui->Ed_Pwd}});
        if (login_->Refresh())
            storedPassword_ = ui->Ed_Pwd->text();
        // Only the check needs the password; no field shows it.
        ui->Ed_Pwd->clear();
    });
    pages::login::setLimits(fields());
}

void TFM_Admin::CancelClick() {
    close();
}

void TFM_Admin::OKClick() {
    if (!pages::login::checksPass(fields(), storedPassword_))
        return;
    pages::login::prepareWrite(fields(), *login_, kPassword);
    const bool written = pages::apply(*login_);
    ui->Ed_Pwd->clear();
    if (!written)
        return pages::showStatus(ui->StatusBar, msg::kSettingError);
    if (!ui->Ed_NPwd->text().isEmpty())
        storedPassword_ = ui->Ed_NPwd->text();
    for (QLineEdit* e : {ui->Ed_OPwd, ui->Ed_NPwd, ui->Ed_CNP})
        e->clear();
    pages::waitForRestart(this);
}
