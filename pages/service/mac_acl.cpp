#include "pages/service/mac_acl.h"

#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/mac_text.h"
#include "pages/common/messages.h"
#include "pages/common/selection.h"
#include "pages/common/wep_keys.h"
#include "pages/transfer/command_step.h"
#include "tables/mac_acl.h"

#include <utility>

using namespace tables::mac_acl;
namespace msg = pages::msg;

namespace {
const QString kDisable = QStringLiteral("Disable");
const QString kRefresh = QStringLiteral("Refresh...");
constexpr int kMacLength = 12;
} // namespace

TFM_WMACACL::TFM_WMACACL(QWidget* owner) : FormPage(owner) {
    handle(ui->CB_FilterCtrl, &QComboBox::currentIndexChanged, &TFM_WMACACL::CB_FilterCtrlChange);
    handle(ui->Bt_Apply, &QPushButton::clicked, &TFM_WMACACL::Bt_ApplyClick);
    handle(ui->Bt_Del, &QPushButton::clicked, &TFM_WMACACL::Bt_DelClick);
    handle(ui->Bt_Cancel, &QPushButton::clicked, &TFM_WMACACL::Bt_CancelClick);
    ui->CB_Band->addItems({QStringLiteral("IEEE802.11g"), QStringLiteral("IEEE802.11g")});
    ui->CB_Band->setCurrentIndex(0);
    QvEditHooks::of(*ui->Ed_MacAdd).setMaxLength(kMacLength);
    FormCreate();
}

TFM_WMACACL::~TFM_WMACACL() = default;

void TFM_WMACACL::FormCreate() {
    guard([this] {
        access_ = addRequest(kAccessControl, {.status = ui->StatusBar1});
        pages::bind(*access_, {{kAccess, ui->CB_FilterCtrl}});
        access_->Refresh();

        slots_ = addRequest(
            kMacTable,
            {.kind = MVT_UMV, .keyCount = 1, .status = ui->StatusBar1, .asynchronous = true});
        pages::bind(*slots_,
                    {{kSlotIndex, ui->LA_Index}, {kSlotMac, ui->Ed_MACAddr, QStringLiteral("%h")}});
        slots_->AttachListView(ui->LV_GetMAC, false);
        slots_->OnGetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            onSlotsListed(e);
        };
        // The answer is handled once its delivery has ended: the wait dialog may follow.
        slots_->OnSetCompleteLater(this, [this](const QvSNMPError& e) { onSlotWritten(e); });

        display_ = addRequest<New_req2Edit>(
            kMacTable,
            {.kind = MVT_UMV, .keyCount = 1, .status = ui->StatusBar1, .asynchronous = true});
        display_->skipText = pages::kFreeMac;
        display_->watchedIndex = kSlotMac;
        display_->AttachListView(ui->LV_UerMACAddress, false);
        listSlots();
    });
    CB_FilterCtrlChange();
}

void TFM_WMACACL::setButtons(bool enabled) {
    ui->Bt_Apply->setEnabled(enabled);
    ui->Bt_Del->setEnabled(enabled);
}

void TFM_WMACACL::listSlots() {
    closePermission_ = false;
    setButtons(false);
    pages::showStatus(ui->StatusBar1, kRefresh);
    ui->LV_GetMAC->clear();
    slots_->Refresh();
    ui->LV_UerMACAddress->clear();
    display_->rowNumber = 1;
    display_->Refresh();
}

bool TFM_WMACACL::FormCloseQuery() {
    return closePermission_ && Page::FormCloseQuery();
}

void TFM_WMACACL::CB_FilterCtrlChange() {
    ui->Ed_MacAdd->setEnabled(ui->CB_FilterCtrl->currentText() != kDisable);
}

void TFM_WMACACL::onSlotsListed(const QvSNMPError& result) {
    // A failed walk is reported, and the page may be closed all the same.
    closePermission_ = true;
    setButtons(true);
    pages::showStatus(ui->StatusBar1, result.code == 0 ? QStringLiteral("Get OK!") : result.text);
}

void TFM_WMACACL::onSlotWritten(const QvSNMPError& result) {
    if (result.code != 0) {
        // The list is not read again: it still shows what the device holds.
        pages::showStatus(ui->StatusBar1, result.text);
        closePermission_ = true;
        setButtons(true);
        return;
    }
    // An addition ends with the list read again; only a delete the device took is restarted
    // into effect (every wireless station drops meanwhile).
    if (std::exchange(deleting_, false))
        pages::waitForRestartUnlessSaved(this);
    listSlots();
}

QTreeWidgetItem* TFM_WMACACL::findSlot(const QString& mac, const QTreeWidgetItem* except) const {
    for (int i = 0; i < ui->LV_GetMAC->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = ui->LV_GetMAC->topLevelItem(i);
        if (row != except && pages::macMatches(row->text(kSlotMac), mac))
            return row;
    }
    return nullptr;
}

bool TFM_WMACACL::addressChecksPass() {
    const QString mac = ui->Ed_MacAdd->text();
    if (mac.size() != kMacLength)
        return pages::refuse(QStringLiteral("The length is 12 in MAC Address."), msg::kError,
                             ui->Ed_MacAdd);
    if (mac == pages::kFreeMac)
        return pages::refuse(QStringLiteral("Please input a valid MAC Address."), msg::kWarning,
                             ui->Ed_MacAdd);
    // The device stores six bytes: anything but hex digits cannot be one.
    if (!pages::isHexText(mac))
        return pages::refuse(msg::kHexDigits, msg::kWarning, ui->Ed_MacAdd);
    if (findSlot(mac))
        return pages::refuse(QStringLiteral("Reject: The MAC already exists "), msg::kWarning);
    return true;
}

void TFM_WMACACL::writeSlot(bool deleting) {
    deleting_ = deleting;
    closePermission_ = false;
    setButtons(false);
    if (!pages::apply(*slots_, {.refreshAfter = false})) {
        // Not sent at all: nothing will answer.
        closePermission_ = true;
        setButtons(true);
    }
}

void TFM_WMACACL::Bt_ApplyClick() {
    if (!pages::selectionsMade({ui->CB_FilterCtrl}))
        return;
    if (!pages::apply(*access_))
        return pages::showStatus(ui->StatusBar1, QStringLiteral("Set error!"));
    if (ui->CB_FilterCtrl->currentText() != kDisable && !ui->Ed_MacAdd->text().isEmpty()) {
        if (!addressChecksPass())
            return;
        QTreeWidgetItem* free = findSlot(pages::kFreeMac);
        // A full list has no slot to overwrite.
        if (!free)
            return void(
                pages::refuse(QStringLiteral("The MAC address list is full."), msg::kWarning));
        const QString mac = ui->Ed_MacAdd->text();
        ui->LV_GetMAC->setCurrentItem(free);
        slots_->SelectItem(ui->LV_GetMAC, free, true);
        ui->Ed_MACAddr->setText(mac);
        writeSlot(false);
        return;
    }
    pages::waitForRestartUnlessSaved(this);
    pages::showStatus(ui->StatusBar1, msg::kSetOk);
}

void TFM_WMACACL::Bt_DelClick() {
    const QList<QTreeWidgetItem*> selected = ui->LV_UerMACAddress->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem* slot = findSlot(selected.first()->text(kSlotMac));
    if (!slot)
        return;
    ui->LV_GetMAC->setCurrentItem(slot);
    slots_->SelectItem(ui->LV_GetMAC, slot, true);
    ui->Ed_MACAddr->setText(pages::kFreeMac);
    writeSlot(true);
}

void TFM_WMACACL::Bt_CancelClick() {
    close();
}
