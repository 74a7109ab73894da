#include "pages/service/log_settings.h"

#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/messages.h"
#include "tables/log_settings.h"

using namespace tables::log_settings;
namespace msg = pages::msg;

namespace {
const QString kEnable = QStringLiteral("Enable");
const QString kDisable = QStringLiteral("Disable");
constexpr int kAddressLength = 15;
constexpr int kNameLength = 64;

void emptyFreeAddress(QLineEdit* edit) {
    if (edit->text() == msg::kFreeAddress)
        edit->clear();
}
} // namespace

TFM_LogSet::TFM_LogSet(QWidget* owner) : FormPage(owner) {
    handle(ui->Bt_Apply, &QPushButton::clicked, &TFM_LogSet::Bt_ApplyClick);
    handle(ui->Bt_Cancel, &QPushButton::clicked, &TFM_LogSet::Bt_CancelClick);
    handle(ui->CB_SMTPStatus, &QCheckBox::toggled, &TFM_LogSet::CB_SMTPStatusClick);
    ui->GB_SMTP->setVisible(false);
    FormCreate();
    FormShow();
}

TFM_LogSet::~TFM_LogSet() = default;

void TFM_LogSet::FormCreate() {
    // The capability counts only as 1: any other answer is a device without e-mail notification.
    smtpSupported_ = pages::flag(pages::flags::Ed_SpSmtp) == 1;
    guard([this] {
        log_ = addRequest(kLog, {.kind = MVT_SV, .silent = true});
        pages::bind(*log_, {{kSystemLevel, ui->SysLevCeBox},
                            {kWirelessLevel, ui->WirelessLevCeBox},
                            {kNoticeLevel, ui->NoticeLevCeBox},
                            {kRemoteLogState, ui->RemoteStateComBox},
                            {kLogServer, ui->LogServerEdit}});
        if (smtpSupported_) {
            smtp_ = addRequest(kSmtp, {.silent = true});
            pages::bind(*smtp_, {{kSmtpStateVar, ui->CB_SMTPStatus},
                                 {kSmtpServer, ui->EDT_Server},
                                 {kSmtpSender, ui->EDT_Sender},
                                 {kSmtpRecipient, ui->EDT_Recipient}});
        }
    });
    // Read failures at opening are silent: the fields stay as designed.
    read();
    QvEditHooks::of(*ui->LogServerEdit).setMaxLength(kAddressLength);
    QvEditHooks::of(*ui->EDT_Server).setMaxLength(kAddressLength);
    QvEditHooks::of(*ui->EDT_Sender).setMaxLength(kNameLength);
    QvEditHooks::of(*ui->EDT_Recipient).setMaxLength(kNameLength);
}

void TFM_LogSet::FormShow() {
    // Without e-mail notification the form closes up over the SMTP group.
    ui->GB_SMTP->setVisible(smtpSupported_);
    if (smtpSupported_)
        emptyFreeAddress(ui->EDT_Server);
    CB_SMTPStatusClick();
}

void TFM_LogSet::read() {
    guard([this] {
        if (log_)
            log_->Refresh();
        if (smtp_)
            smtp_->Refresh();
    });
    CB_SMTPStatusClick();
    emptyFreeAddress(ui->LogServerEdit);
    emptyFreeAddress(ui->EDT_Server);
}

void TFM_LogSet::CB_SMTPStatusClick() {
    const bool on = ui->CB_SMTPStatus->isChecked();
    for (QLineEdit* e : {ui->EDT_Server, ui->EDT_Sender, ui->EDT_Recipient})
        e->setEnabled(on);
}

void TFM_LogSet::setSmtpColumns(quint32 access) {
    if (smtp_)
        for (int i : {kSmtpServer, kSmtpSender, kSmtpRecipient})
            smtp_->vars.item(i).access = access;
}

bool TFM_LogSet::checksPass() {
    QLineEdit* server = ui->LogServerEdit;
    if (server->text().isEmpty()) {
        ui->RemoteStateComBox->setCurrentIndex(ui->RemoteStateComBox->findText(kDisable));
        server->setText(msg::kFreeAddress);
    } else if (qv::isHostAddress(server->text())) {
        ui->RemoteStateComBox->setCurrentIndex(ui->RemoteStateComBox->findText(kEnable));
    } else {
        return pages::refuseAndClear(msg::kInvalidIpAddress, msg::kWarning, server);
    }
    if (!smtpSupported_)
        return true;
    if (!ui->CB_SMTPStatus->isChecked()) {
        // Only the state is written: whatever the fields hold stays on the device.
        setSmtpColumns(QvAccess::invalid);
        return true;
    }
    if (!qv::isHostAddress(ui->EDT_Server->text()))
        return pages::refuseAndClear(msg::kInvalidIpAddress, msg::kWarning, ui->EDT_Server);
    if (ui->EDT_Sender->text().isEmpty())
        return pages::refuseAndClear(QStringLiteral("You must input SMTP Sender!"), msg::kWarning,
                                     ui->EDT_Sender);
    if (ui->EDT_Recipient->text().isEmpty())
        return pages::refuseAndClear(QStringLiteral("You must input SMTP Recipient!"),
                                     msg::kWarning, ui->EDT_Recipient);
    setSmtpColumns(QvAccess::readwrite);
    return true;
}

void TFM_LogSet::Bt_ApplyClick() {
    if (!checksPass()) {
        // The address 0.0.0.0 is never shown.
        emptyFreeAddress(ui->LogServerEdit);
        return;
    }
    if (pages::writeInOrder({{log_}, {smtp_, smtpSupported_}})) {
        pages::waitForRestartUnlessSaved(this);
        pages::showStatus(ui->StatusBar1, msg::kSetSuccess);
    } else {
        pages::showStatus(ui->StatusBar1, msg::kSetError);
    }
    setSmtpColumns(QvAccess::readwrite);
    read();
}

void TFM_LogSet::Bt_CancelClick() {
    close();
}
