#include "pages/service/system.h"

#include "pages/common/messages.h"
#include "platform/prompter.h"
#include "snmplib/error_codes.h"
#include "tables/system.h"

using namespace tables::system;
namespace msg = pages::msg;

namespace {
const QString kTrue = QStringLiteral("True");
const QString kConfirm = QStringLiteral("Device will reboot, continue?");
} // namespace

TFM_Sytem::TFM_Sytem(QWidget* owner) : FormPage(owner) {
    handle(ui->Button1, &QPushButton::clicked, &TFM_Sytem::Button1Click);
    handle(ui->Button2, &QPushButton::clicked, &TFM_Sytem::Button2Click);
    FormCreate();
}

TFM_Sytem::~TFM_Sytem() = default;

void TFM_Sytem::FormCreate() {
    guard([this] {
        system_ = addRequest(kSystem, {.status = ui->StatusBar, .asynchronous = true});
        pages::bind(*system_, {{kRestart, ui->CB_Restart}, {kFactoryDefault, ui->CB_Restore}});
        system_->OnSetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            lastWrite_ = e;
        };
        system_->Refresh();
    });
}

bool TFM_Sytem::sendCommand(int include, int exclude, QComboBox* command) {
    // The opening read may still be on its way: its answer would overwrite the command.
    pages::waitForAnswer(*system_);
    command->setCurrentIndex(command->findText(kTrue));
    system_->vars.item(include).access = QvAccess::readwrite;
    system_->vars.item(exclude).access = QvAccess::invalid;
    if (!platform::confirm(msg::kWarning, kConfirm))
        return false;
    lastWrite_ = {};
    if (!pages::apply(*system_))
        return false;
    pages::waitForAnswer(*system_);
    // The failure itself is in the status bar already.
    return lastWrite_.code == 0 || lastWrite_.code == qv::code::kTimedOut;
}

void TFM_Sytem::Button1Click() {
    if (!sendCommand(kRestart, kFactoryDefault, ui->CB_Restart))
        return;
    pages::waitForRestart(this, [](TFM_Waiting& wait) {
        wait.sendReboot = false;
        wait.setWindowTitle(QStringLiteral("System is rebooting, please waiting....."));
    });
}

void TFM_Sytem::Button2Click() {
    if (!sendCommand(kFactoryDefault, kRestart, ui->CB_Restore))
        return;
    pages::waitForRestart(this, [](TFM_Waiting& wait) {
        wait.sendReboot = false;
        wait.setWindowTitle(QStringLiteral("System is rebooting, please waiting.....!"));
        wait.Label3->setText(QStringLiteral("The system IP will be 192.168.0.50 !"));
    });
}
