#include "pages/service/misc.h"

#include "binding/choice.h"

#include "pages/common/console.h"
#include "pages/common/messages.h"
#include "pages/common/selection.h"
#include "platform/prompter.h"
#include "tables/misc.h"

using namespace tables::misc;
namespace msg = pages::msg;

TFM_Misc::TFM_Misc(QWidget* owner) : FormPage(owner) {
    handle(ui->Bt_Rfresh, &QPushButton::clicked, &TFM_Misc::Bt_RfreshClick);
    handle(ui->Bt_Apply, &QPushButton::clicked, &TFM_Misc::Bt_ApplyClick);
    handle(ui->CB_Status, &QCheckBox::clicked, &TFM_Misc::CB_StatusClick);
    FormCreate();
}

TFM_Misc::~TFM_Misc() = default;

void TFM_Misc::FormCreate() {
    guard([this] {
        telnet_ = addRequest(kTelnet, {.status = ui->StatusBar});
        pages::bind(*telnet_, {{kTelnetState, ui->TelnetCoBox}, {kTimeout, ui->CB_Timeout}});
        // A device without SSH does not answer for it: that is no fault to show.
        ssh_ = addRequest(kSsh, {.silent = true});
        pages::bind(*ssh_, {{kSshState, ui->SHHCoBox}});
        telnet_->Refresh();
        sshRead_ = ssh_->Refresh();
        ui->CB_SSH->setVisible(sshRead_);
        statusRule();
        protocolRule();
        device_ = {ui->TelnetCoBox->currentText(), ui->CB_Timeout->currentText(),
                   ui->SHHCoBox->currentText()};
    });
}

void TFM_Misc::readConsole() {
    telnet_->Refresh();
    if (sshRead_)
        ssh_->Refresh();
    statusRule();
    protocolRule();
    device_ = {ui->TelnetCoBox->currentText(), ui->CB_Timeout->currentText(),
               ui->SHHCoBox->currentText()};
}

void TFM_Misc::statusRule() {
    // A console state that no option stands for is not shown as on or off: the operator chooses.
    if (ui->TelnetCoBox->currentIndex() < 0 || (sshRead_ && ui->SHHCoBox->currentIndex() < 0))
        qv::ShowNoChoice(ui->CB_Status);
    else
        ui->CB_Status->setChecked(pages::console::enabled(ui->TelnetCoBox) ||
                                  pages::console::enabled(ui->SHHCoBox));
    CB_StatusClick();
}

void TFM_Misc::protocolRule() {
    if (!pages::console::enabled(ui->TelnetCoBox) && pages::console::enabled(ui->SHHCoBox))
        ui->CB_SSH->setChecked(true);
    else
        ui->CB_Telnet->setChecked(true);
}

void TFM_Misc::CB_StatusClick() {
    const bool on = ui->CB_Status->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(ui->CB_Telnet), static_cast<QWidget*>(ui->CB_SSH),
                       static_cast<QWidget*>(ui->CB_Timeout)})
        w->setEnabled(on);
}

void TFM_Misc::Bt_RfreshClick() {
    readConsole();
}

bool TFM_Misc::writeConsole() {
    return pages::writeInOrder({{telnet_}, {ssh_, sshRead_}});
}

void TFM_Misc::restoreConsole() {
    pages::console::set(ui->TelnetCoBox, device_.telnet);
    pages::console::set(ui->SHHCoBox, device_.ssh);
    pages::console::set(ui->CB_Timeout, device_.timeout);
    pages::console::leaveOutUnchosen(*telnet_, kTimeout, ui->CB_Timeout);
    writeConsole();
    readConsole();
}

void TFM_Misc::Bt_ApplyClick() {
    if (!pages::selectionsMade({ui->CB_Status}))
        return;
    const bool on = ui->CB_Status->isChecked();
    // A time-out the list does not hold is never written: with the console on the operator
    // chooses one; with it off the time-out does not matter and stays as it is.
    if (on && !pages::selectionsMade({ui->CB_Timeout}))
        return;
    pages::console::leaveOutUnchosen(*telnet_, kTimeout, ui->CB_Timeout);
    pages::console::disableBoth(ui->TelnetCoBox, ui->SHHCoBox);
    if (on) {
        if (!writeConsole()) {
            restoreConsole();
            return void(pages::refuse(QStringLiteral("Set error!Please reset."), msg::kWarning));
        }
        if (ui->CB_Telnet->isChecked())
            pages::console::set(ui->TelnetCoBox, pages::console::kEnable);
        else if (ui->CB_SSH->isChecked())
            pages::console::set(ui->SHHCoBox, pages::console::kEnable);
    }
    if (!writeConsole()) {
        restoreConsole();
        return pages::showStatus(ui->StatusBar, msg::kSettingError);
    }
    device_ = {ui->TelnetCoBox->currentText(), ui->CB_Timeout->currentText(),
               ui->SHHCoBox->currentText()};
    pages::waitForRestart(this);
    pages::showStatus(ui->StatusBar, msg::kSettingSuccess);
}
