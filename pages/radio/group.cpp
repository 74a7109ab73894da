#include "pages/radio/group.h"

#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/edit_state.h"
#include "pages/common/messages.h"
#include "pages/common/selection.h"
#include "tables/group.h"

namespace tg = tables::group;
namespace msg = pages::msg;

namespace {
constexpr int kUserLimitMax = 64;
constexpr int kUserLimitLength = 2;
} // namespace

TFM_Group::TFM_Group(QWidget* owner) : FormPage(owner) {
    pages::setWritable(ui->Ed_EthLS, false);
    handle(ui->CB_LoadB, &QComboBox::currentIndexChanged, &TFM_Group::CB_LoadBChange);
    handle(ui->ED_APModeComboBox, &QComboBox::currentIndexChanged,
           &TFM_Group::ED_APModeComboBoxChange);
    handle(ui->Bt_Refresh, &QPushButton::clicked, &TFM_Group::Bt_RefreshClick);
    handle(ui->Bt_Apply, &QPushButton::clicked, &TFM_Group::Bt_ApplyClick);
    handle(ui->Bt_Cancel, &QPushButton::clicked, &TFM_Group::Bt_CancelClick);
    FormCreate();
}

bool TFM_Group::linkStatusSupported() const {
    return pages::flag(pages::flags::Ed_LinkStatusNotSupport) != 1;
}

void TFM_Group::FormCreate() {
    // A fault while binding or reading ends here with its text in the status bar; the rules
    // below run in every case.
    guard([this] {
        apMode_ = addRequest(tg::kApModeList, {.kind = MVT_SV});
        pages::bind(*apMode_, {{tg::kApModeValue, ui->ED_APModeComboBox}});
        apMode_->Refresh();

        grouping_ = addRequest(tg::kGrouping, {.status = ui->StatusBar});
        pages::bind(*grouping_, {{tg::kLoadBalance, ui->CB_LoadB},
                                 {tg::kUserLimit, ui->Ed_UsrL, QStringLiteral("%u")},
                                 {tg::kLinkIntegrate, ui->CB_LinkInt}});
        grouping_->Refresh();
        QvEditHooks::of(*ui->Ed_UsrL).setMaxLength(kUserLimitLength);

        if (!linkStatusSupported()) {
            ui->Label4->setVisible(false);
            ui->Ed_EthLS->setVisible(false);
        } else {
            linkStatus_ = addRequest(tg::kLinkStatus);
            pages::bind(*linkStatus_, {{tg::kLinkStatusValue, ui->Ed_EthLS}});
            linkStatus_->Refresh();
            linkStatusShown_ = true;
        }
    });
    CB_LoadBChange();
    ED_APModeComboBoxChange();
}

void TFM_Group::CB_LoadBChange() {
    ui->Ed_UsrL->setEnabled(ui->CB_LoadB->currentIndex() != 0);
}

void TFM_Group::ED_APModeComboBoxChange() {
    const bool accessPoint = ui->ED_APModeComboBox->currentIndex() == 0;
    ui->CB_LoadB->setEnabled(accessPoint);
    ui->CB_LinkInt->setEnabled(accessPoint);
}

void TFM_Group::Bt_RefreshClick() {
    grouping_->Refresh();
    if (linkStatus_ && linkStatusSupported())
        linkStatus_->Refresh();
    CB_LoadBChange();
}

void TFM_Group::Bt_ApplyClick() {
    bool number = false;
    const int limit = ui->Ed_UsrL->text().toInt(&number);
    if (!number || limit < 0 || limit > kUserLimitMax)
        return void(
            pages::refuseAndClear(msg::numberBetween(0, kUserLimitMax), msg::kError, ui->Ed_UsrL));
    if (!pages::selectionsMade({ui->CB_LoadB, ui->CB_LinkInt}))
        return;
    if (!pages::writeInOrder({{grouping_}, {linkStatus_, linkStatusShown_}}))
        return pages::showStatus(ui->StatusBar, msg::kSettingError);
    pages::showStatus(ui->StatusBar, QStringLiteral("Setting OK!"));
    pages::waitForRestartUnlessSaved(this, [](TFM_Waiting& wait) { wait.ticksBeforeReboot = 5; });
}

void TFM_Group::Bt_CancelClick() {
    close();
}
