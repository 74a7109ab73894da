#include "pages/service/dhcp.h"

#include "app/wait_dialog.h"
#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/address_pool.h"
#include "pages/common/mac_text.h"
#include "pages/common/messages.h"
#include "pages/service/static_ip.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"
#include "snmplib/session.h"
#include "tables/dhcp.h"

using namespace tables::dhcp;
namespace msg = pages::msg;

namespace {

const QString kListing = QStringLiteral("Listing data ... ");
const QString kEnable = QStringLiteral("Enable");
const QString kRangeMessage = pages::msg::numberBetween(1, 255);
const QString kLeaseMessage = pages::msg::numberBetween(60, 31536000);

// Columns as wide as the addresses and MACs they show, not only their captions.
void fitColumns(QTreeWidget* list) {
    for (int c = 0; c < list->columnCount(); ++c)
        list->resizeColumnToContents(c);
}

// The range as a number; text that is no number counts as -1.
qint64 rangeValue(const QString& text) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    return ok ? v : -1;
}

} // namespace

TFM_DHCP::TFM_DHCP(QWidget* owner) : FormPage(owner) {
    handle(ui->CB_Fuction1, &QComboBox::activated, &TFM_DHCP::CB_Fuction1Change);
    handle(ui->CB_Fuction2, &QComboBox::activated, &TFM_DHCP::CB_Fuction2Change);
    handle(ui->PageControl1, &QTabWidget::currentChanged, &TFM_DHCP::PageControl1Change);
    handle(ui->Bt_Apply, &QPushButton::clicked, &TFM_DHCP::Bt_ApplyClick);
    handle(ui->Bt_Cancel, &QPushButton::clicked, &TFM_DHCP::Bt_CancelClick);
    handle(ui->StaticApply, &QPushButton::clicked, &TFM_DHCP::StaticApplyClick);
    handle(ui->Bt_Add, &QPushButton::clicked, &TFM_DHCP::Bt_AddClick);
    handle(ui->Bt_Set, &QPushButton::clicked, &TFM_DHCP::Bt_SetClick);
    handle(ui->Bt_Del, &QPushButton::clicked, &TFM_DHCP::Bt_DelClick);
    handle(ui->User_ListView, &QTreeWidget::itemSelectionChanged,
           &TFM_DHCP::User_ListViewSelectItem);
    handle(ui->Bt_Refresh, &QPushButton::clicked, &TFM_DHCP::Bt_RefreshClick);
    handle(ui->Bt_Rfrsh, &QPushButton::clicked, &TFM_DHCP::Bt_RfrshClick);
    handle(ui->Bt_RefreshDynamicPool, &QPushButton::clicked, &TFM_DHCP::Bt_RefreshDynamicPoolClick);
    handle(ui->Bt_RefreshStaticPool, &QPushButton::clicked, &TFM_DHCP::Bt_RefreshStaticPoolClick);

    // Creation: nothing static is usable before the first listing.
    poolBusy_ = true;
    listingComplete_ = true;
    relistPending_ = false;
    for (QWidget* w : {static_cast<QWidget*>(ui->Bt_Rfrsh), static_cast<QWidget*>(ui->Bt_Add),
                       static_cast<QWidget*>(ui->Bt_Set), static_cast<QWidget*>(ui->Bt_Del),
                       static_cast<QWidget*>(ui->Bt_Apply), static_cast<QWidget*>(ui->StaticApply),
                       static_cast<QWidget*>(ui->Bt_Refresh), static_cast<QWidget*>(ui->Bt_Cancel)})
        w->setEnabled(false);
    ui->LV_StaticPoolSet->setEnabled(false);
    ui->User_ListView->setEnabled(false);
    greyList(ui->User_ListView, true);
    ui->CB_Fuction2->addItems({QStringLiteral("Disable"), kEnable});

    FormCreate();
}

TFM_DHCP::~TFM_DHCP() = default;

void TFM_DHCP::FormCreate() {
    const bool created = guard([this] {
        pool_ = addRequest(kDynamicPool, {.status = ui->StatusBar1});
        pages::bind(*pool_, {{kPoolStart, ui->Ed_IPAF},
                             {kPoolRange, ui->Ed_PoolRan, QStringLiteral("%u")},
                             {kPoolMask, ui->Ed_SubMask},
                             {kPoolGateway, ui->Ed_Gateway},
                             {kPoolWins, ui->Ed_Wins},
                             {kPoolDns, ui->Ed_DNS},
                             {kPoolDomain, ui->Ed_DomNa},
                             {kPoolLease, ui->Ed_Lease, QStringLiteral("%u")},
                             {kPoolStatus, ui->CB_Status}});
        pool_->Refresh();

        function_ = addRequest(kServerFunction);
        pages::bind(*function_, {{kFunction, ui->CB_Fuction1}});
        if (function_->Refresh()) {
            ui->CB_Fuction2->setCurrentIndex(ui->CB_Fuction1->currentIndex());
            applyEnablingRule();
        }

        staticIp_ = new TFM_StaticIP(this);
        const Ui::TFM_StaticIP& entry = *staticIp_->ui;
        staticPool_ = addRequest(
            kStaticPool,
            {.kind = MVT_UMV, .keyCount = 1, .status = ui->StatusBar2, .asynchronous = true});
        pages::bind(*staticPool_, {{kSlotIndex, entry.LA_Index},
                                   {kSlotIp, entry.Ed_AsgIP},
                                   {kSlotMac, entry.Ed_AsgMac, QStringLiteral("%h")},
                                   {kSlotMask, entry.Ed_SubMask},
                                   {kSlotGateway, entry.Ed_Gatway},
                                   {kSlotWins, entry.Ed_Wins},
                                   {kSlotDns, entry.Ed_DNS},
                                   {kSlotDomain, entry.Ed_DomNa},
                                   {kSlotStatus, entry.CB_Stat}});
        staticPool_->AttachListView(ui->LV_StaticPoolSet, false);
        staticPool_->OnGetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            onStaticListed(e);
        };
        staticPool_->OnSetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            onStaticWritten(e);
        };
        listingComplete_ = false;
        ui->Bt_Set->setEnabled(false);
        ui->Bt_Del->setEnabled(false);
        showStaticStatus(kListing);
        staticPool_->Refresh();
        staticIp_->setLengthLimits();

        display_ = addRequest<New_req2Edit>(
            kStaticPool,
            {.kind = MVT_UMV, .keyCount = 1, .status = ui->StatusBar2, .asynchronous = true});
        display_->skipText = msg::kFreeAddress;
        display_->watchedIndex = kSlotIp;
        display_->AttachListView(ui->User_ListView, false);
        display_->OnAfterGet = [this] { fitColumns(ui->User_ListView); };
        display_->Refresh();

        const auto leaseList = [this](std::span<const QvSNMPVarDef> table, QTreeWidget* list,
                                      QStatusBar* bar) {
            auto* request = addRequest<New_req2Edit>(
                table, {.kind = MVT_FMV, .keyCount = 1, .status = bar, .asynchronous = true});
            request->skipText = pages::kFreeMac;
            request->watchedIndex = kLeaseMac;
            request->AttachListView(list, false);
            request->OnAfterGet = [list] { fitColumns(list); };
            request->Refresh();
            return request;
        };
        dynLeases_ = leaseList(kDynamicLeases, ui->LV_DynPool, ui->StatusBar3);
        staticLeases_ = leaseList(kStaticLeases, ui->LV_StaticPool, ui->StatusBar4);
    });
    if (!created) {
        for (QStatusBar* bar : {ui->StatusBar2, ui->StatusBar3})
            pages::showStatus(bar, ui->StatusBar1->currentMessage());
    }
    guard([this] {
        system_ = addRequest(kSystemAddress, {.asynchronous = true});
        pages::bind(*system_, {{kSystemIp, ui->Ed_ext}});
        system_->Refresh();
    });
    QvEditHooks::of(*ui->Ed_DomNa).setMaxLength(64);
    for (QLineEdit* e : {ui->Ed_IPAF, ui->Ed_SubMask, ui->Ed_Gateway, ui->Ed_Wins, ui->Ed_DNS})
        QvEditHooks::of(*e).setMaxLength(15);
    QvEditHooks::of(*ui->Ed_PoolRan).setMaxLength(3);
    QvEditHooks::of(*ui->Ed_Lease).setMaxLength(8);
}

bool TFM_DHCP::FormCloseQuery() {
    // Closing waits for the slot writes and the listing, but a listing that failed does not
    // keep the page open.
    return !poolBusy_ && Page::FormCloseQuery();
}

void TFM_DHCP::greyList(QTreeWidget* list, bool grey) {
    QPalette p = list->palette();
    p.setColor(QPalette::Active, QPalette::Base,
               grey ? palette().color(QPalette::Disabled, QPalette::Window)
                    : palette().color(QPalette::Active, QPalette::Base));
    p.setColor(QPalette::Inactive, QPalette::Base, p.color(QPalette::Active, QPalette::Base));
    list->setPalette(p);
}

void TFM_DHCP::applyEnablingRule() {
    const bool dynamicOn = ui->CB_Fuction1->currentText() == kEnable;
    for (QWidget* w : {static_cast<QWidget*>(ui->Ed_IPAF), static_cast<QWidget*>(ui->Ed_PoolRan),
                       static_cast<QWidget*>(ui->Ed_SubMask), static_cast<QWidget*>(ui->Ed_Gateway),
                       static_cast<QWidget*>(ui->Ed_Wins), static_cast<QWidget*>(ui->Ed_DNS),
                       static_cast<QWidget*>(ui->Ed_DomNa), static_cast<QWidget*>(ui->Ed_Lease),
                       static_cast<QWidget*>(ui->CB_Status)})
        w->setEnabled(dynamicOn);
    const bool staticOn = ui->CB_Fuction2->currentText() == kEnable;
    if (!staticOn) {
        for (QWidget* w : {ui->Bt_Rfrsh, ui->Bt_Add, ui->Bt_Set, ui->Bt_Del})
            w->setEnabled(false);
    } else {
        ui->Bt_Rfrsh->setEnabled(true);
    }
    for (QTreeWidget* list : {ui->LV_StaticPoolSet, ui->User_ListView}) {
        list->setEnabled(staticOn);
        greyList(list, !staticOn);
    }
}

void TFM_DHCP::CB_Fuction1Change() {
    ui->CB_Fuction2->setCurrentIndex(ui->CB_Fuction1->currentIndex());
    applyEnablingRule();
}

void TFM_DHCP::CB_Fuction2Change() {
    ui->CB_Fuction1->setCurrentIndex(ui->CB_Fuction2->currentIndex());
    applyEnablingRule();
    if (!display_ || !display_->busy)
        ui->Bt_Add->setEnabled(ui->CB_Fuction2->currentText() == kEnable && listingComplete_);
}

void TFM_DHCP::PageControl1Change() {
    if (ui->PageControl1->currentWidget() != ui->TabSheet2)
        return;
    const bool on = ui->CB_Fuction1->currentText() == kEnable;
    greyList(ui->User_ListView, !on);
    // Adding needs the slots: not before a listing has completed.
    ui->Bt_Add->setEnabled(on && listingComplete_ && !poolBusy_);
}

void TFM_DHCP::User_ListViewSelectItem() {
    if (ui->CB_Fuction1->currentText() != kEnable && ui->CB_Fuction2->currentText() != kEnable) {
        greyList(ui->User_ListView, true);
        return;
    }
    const bool selected = !ui->User_ListView->selectedItems().isEmpty() && listingComplete_;
    ui->Bt_Set->setEnabled(selected);
    ui->Bt_Del->setEnabled(selected);
}

void TFM_DHCP::showStaticStatus(const QString& text) {
    pages::showStatus(ui->StatusBar1, text);
    pages::showStatus(ui->StatusBar2, text);
}

void TFM_DHCP::onStaticListed(const QvSNMPError& result) {
    showStaticStatus(result.text);
    ui->Bt_Refresh->setEnabled(true);
    ui->Bt_Cancel->setEnabled(true);
    poolBusy_ = false;
    if (result.code != 0)
        return;
    for (QWidget* w :
         {static_cast<QWidget*>(ui->LV_StaticPoolSet), static_cast<QWidget*>(ui->User_ListView),
          static_cast<QWidget*>(ui->Bt_Rfrsh), static_cast<QWidget*>(ui->Bt_Add)})
        w->setEnabled(true);
    ui->CB_Fuction2->setCurrentIndex(ui->CB_Fuction1->currentIndex());
    listingComplete_ = true;
    ui->Bt_Apply->setEnabled(true);
    ui->StaticApply->setEnabled(true);
    applyEnablingRule();
    User_ListViewSelectItem();
}

void TFM_DHCP::startStaticListing() {
    ui->LV_StaticPoolSet->clear();
    showStaticStatus(kListing);
    listingComplete_ = false;
    ui->Bt_Set->setEnabled(false);
    ui->Bt_Del->setEnabled(false);
    staticPool_->Refresh();
}

void TFM_DHCP::relist() {
    startStaticListing();
    ui->User_ListView->clear();
    display_->rowNumber = 1;
    display_->Refresh();
}

void TFM_DHCP::onStaticWritten(const QvSNMPError& result) {
    showStaticStatus(result.text);
    if (writeAfterClear_) {
        // The slot is clear: now the entry itself.
        writeAfterClear_ = false;
        if (result.code != 0)
            return;
        staticIp_->restoreEntry();
        pages::apply(*function_);
        relistPending_ = true;
        pages::apply(*staticPool_, {.refreshAfter = false});
        return;
    }
    if (result.code == 0 && relistPending_) {
        relist();
        relistPending_ = false;
    }
}

void TFM_DHCP::Bt_RefreshClick() {
    function_->Refresh();
    pool_->Refresh();
}

void TFM_DHCP::Bt_RfrshClick() {
    poolBusy_ = true;
    listingComplete_ = false;
    for (QWidget* w :
         {static_cast<QWidget*>(ui->LV_StaticPoolSet), static_cast<QWidget*>(ui->User_ListView),
          static_cast<QWidget*>(ui->Bt_Rfrsh), static_cast<QWidget*>(ui->Bt_Add),
          static_cast<QWidget*>(ui->Bt_Set), static_cast<QWidget*>(ui->Bt_Del)})
        w->setEnabled(false);
    startStaticListing();
}

void TFM_DHCP::Bt_RefreshDynamicPoolClick() {
    dynLeases_->rowNumber = 1;
    dynLeases_->Refresh();
}

void TFM_DHCP::Bt_RefreshStaticPoolClick() {
    staticLeases_->rowNumber = 1;
    staticLeases_->Refresh();
}

void TFM_DHCP::Bt_CancelClick() {
    close();
}

bool TFM_DHCP::dynamicChecksPass() {
    using pages::refuse;
    if (ui->Ed_IPAF->text().isEmpty())
        return refuse(msg::kInvalidIpAddressLower, msg::kWarning, ui->Ed_IPAF);
    if (ui->Ed_PoolRan->text().isEmpty())
        return refuse(kRangeMessage, msg::kWarning, ui->Ed_PoolRan);
    const QString start = ui->Ed_IPAF->text();
    const QString range = ui->Ed_PoolRan->text();
    if (pages::inPool(ui->Ed_ext->text(), start, range))
        return refuse(QStringLiteral("Reject: The DHCP dynamic IP pool will cover system IP."),
                      msg::kWarning);
    for (int i = 0; i < ui->User_ListView->topLevelItemCount(); ++i)
        if (pages::inPool(ui->User_ListView->topLevelItem(i)->text(kSlotIp), start, range))
            return refuse(QStringLiteral("Reject: The DHCP dynamic IP pool will cover Static IP."),
                          msg::kWarning);
    const qint64 n = rangeValue(range);
    if (n < 1 || n > 255)
        return pages::refuseAndClear(kRangeMessage, msg::kError, ui->Ed_PoolRan);
    if (ui->Ed_Lease->text().isEmpty())
        return refuse(kLeaseMessage, msg::kWarning, ui->Ed_Lease);
    const qint64 lease = rangeValue(ui->Ed_Lease->text());
    if (lease < 60 || lease > 31536000)
        return pages::refuseAndClear(kLeaseMessage, msg::kError, ui->Ed_Lease);
    for (QLineEdit* e : {ui->Ed_SubMask, ui->Ed_Gateway, ui->Ed_Wins, ui->Ed_DNS})
        if (e->text().isEmpty())
            e->setText(msg::kFreeAddress);
    if (!qv::isHostAddress(ui->Ed_IPAF->text()))
        return pages::refuseAndClear(msg::kInvalidIpAddressLower, msg::kWaring, ui->Ed_IPAF);
    if (!qv::isHostAddress(ui->Ed_Gateway->text()) || ui->Ed_Gateway->text() == msg::kFreeAddress)
        return pages::refuseAndClear(msg::kInvalidGateway, msg::kWaring, ui->Ed_Gateway);
    if (!qv::isHostAddress(ui->Ed_Wins->text()) && ui->Ed_Wins->text() != msg::kFreeAddress)
        return pages::refuseAndClear(QStringLiteral("Please input valid Wins."), msg::kWaring,
                                     ui->Ed_Wins);
    if (!qv::isHostAddress(ui->Ed_DNS->text()) && ui->Ed_DNS->text() != msg::kFreeAddress)
        return pages::refuseAndClear(QStringLiteral("Please input valid DNS."), msg::kWaring,
                                     ui->Ed_DNS);
    if (!qv::isSubnetMask(ui->Ed_SubMask->text()) || ui->Ed_SubMask->text() == msg::kFreeAddress)
        return pages::refuseAndClear(QStringLiteral("Please input valid SubMask."), msg::kWaring,
                                     ui->Ed_SubMask);
    if (ui->Ed_IPAF->text().trimmed() == qv::sessionDevice().address) {
        ui->Ed_IPAF->clear();
        return refuse(QStringLiteral("Reject:DHCPS dynamic IP pool will cover system IP"),
                      msg::kWaring);
    }
    return true;
}

void TFM_DHCP::Bt_ApplyClick() {
    const bool on = ui->CB_Fuction1->currentText() == kEnable;
    if (on && !dynamicChecksPass())
        return;
    if (pages::writeInOrder({{function_}, {pool_, on}}))
        pages::waitForRestartUnlessSaved(this);
}

void TFM_DHCP::StaticApplyClick() {
    // Faults of this tab belong in its own status bar.
    try {
        if (pages::apply(*function_))
            pages::waitForRestartUnlessSaved(this);
    } catch (const QvException& e) {
        pages::showStatus(ui->StatusBar2, e.text());
    }
}

QTreeWidgetItem* TFM_DHCP::findSlot(int column, const QString& text) const {
    for (int i = 0; i < ui->LV_StaticPoolSet->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = ui->LV_StaticPoolSet->topLevelItem(i);
        const QString cell = row->text(column);
        if (column == kSlotMac ? macMatches(cell, text) : cell == text)
            return row;
    }
    return nullptr;
}

void TFM_DHCP::selectSlot(QTreeWidgetItem* row) {
    ui->LV_StaticPoolSet->setCurrentItem(row);
    row->setSelected(true);
    // Also when the row was selected already: the dialog shows the slot as listed.
    staticPool_->SelectItem(ui->LV_StaticPoolSet, row, true);
}

QTreeWidgetItem* TFM_DHCP::slotOfSelection() {
    const QList<QTreeWidgetItem*> selected = ui->User_ListView->selectedItems();
    QTreeWidgetItem* slot =
        selected.isEmpty() ? nullptr : findSlot(kSlotIp, selected.first()->text(kSlotIp));
    if (!slot)
        platform::message(msg::kWarning,
                          QStringLiteral("No static pool entry matches the selected row."));
    return slot;
}

void TFM_DHCP::Bt_AddClick() {
    QTreeWidgetItem* free = findSlot(kSlotIp, msg::kFreeAddress);
    if (!free) {
        pages::refuse(QStringLiteral("The static pool is full!"), msg::kWarning);
        return;
    }
    selectSlot(free);
    staticIp_->setWindowTitle(QStringLiteral("Static IP Pool Adding"));
    staticIp_->prepareAdd();
    staticIp_->exec();
}

void TFM_DHCP::Bt_SetClick() {
    if (staticPool_->busy)
        return;
    QTreeWidgetItem* slot = slotOfSelection();
    if (!slot)
        return;
    selectSlot(slot);
    staticIp_->setWindowTitle(QStringLiteral("Static IP Pool Setting"));
    staticIp_->prepareChange();
    staticIp_->exec();
}

void TFM_DHCP::Bt_DelClick() {
    if (staticPool_->busy)
        return;
    QTreeWidgetItem* slot = slotOfSelection();
    if (!slot)
        return;
    try {
        selectSlot(slot);
        staticIp_->loadEmptyEntry();
        relistPending_ = true;
        pages::apply(*staticPool_, {.refreshAfter = false});
    } catch (const QvException& e) {
        showStaticStatus(e.text());
        return;
    }
    pages::waitForRestartUnlessSaved(this, [](TFM_Waiting& wait) {
        wait.Label3->setText(QStringLiteral("Waiting for listing data..."));
        wait.ticksBeforeReboot = 22;
        wait.secondsLeft = 20;
    });
}

void TFM_DHCP::writeSlot(bool clearFirst) {
    poolBusy_ = true;
    if (clearFirst) {
        staticIp_->keepEntry();
        staticIp_->loadEmptyEntry();
        writeAfterClear_ = true;
        relistPending_ = false;
        if (!pages::apply(*staticPool_, {.refreshAfter = false}))
            writeAfterClear_ = false;
        return;
    }
    staticIp_->fillBlankAddresses();
    pages::apply(*function_);
    relistPending_ = true;
    pages::apply(*staticPool_, {.refreshAfter = false});
}

void TFM_DHCP::waitAfterSlotWrite() {
    pages::waitForRestart(this, [](TFM_Waiting& wait) {
        wait.sendReboot = false;
        wait.Label3->setText(QStringLiteral("But the device isn't restarting."));
        wait.ticksBeforeReboot = 22;
        wait.secondsLeft = 15;
    });
    poolBusy_ = false;
}
