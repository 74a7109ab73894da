#include "pages/service/dhcp.h"

#include "app/wait_dialog.h"
#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/address_pool.h"
#include "pages/service/static_ip.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"
#include "snmplib/session.h"
#include "tables/dhcp.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace tables::dhcp;

namespace {

const QString kListing = QStringLiteral("Listing data ... ");
const QString kEnable = QStringLiteral("Enable");
const QString kFreeIp = QStringLiteral("0.0.0.0");
const QString kRangeMessage = QStringLiteral("Please input a number between 1 and 255.");
const QString kLeaseMessage = QStringLiteral("Please input a number between 60 and 31536000.");
const QString kWarning = QStringLiteral("Warning");
const QString kWaring = QStringLiteral("Waring");

template <class W> W* named(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = named<QPushButton>(parent, name);
    b->setText(caption);
    return b;
}

QStatusBar* statusBar(QWidget* parent, const char* name) {
    auto* s = named<QStatusBar>(parent, name);
    s->setSizeGripEnabled(false);
    return s;
}

QLabel* label(QWidget* parent, const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, parent);
    l->setBuddy(buddy);
    return l;
}

// A failed check that empties the field before the focus goes to it.
bool refuseAndClear(const QString& text, const QString& title, QLineEdit* field) {
    field->clear();
    return pages::refuse(text, title, field);
}

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

TFM_DHCP::TFM_DHCP(QWidget* owner) : Page(owner) {
    setObjectName(QStringLiteral("FM_DHCP"));
    setWindowTitle(QStringLiteral("Advanced \\ DHCP Server"));
    buildControls();

    // Creation: nothing static is usable before the first listing.
    poolBusy_ = true;
    listingComplete_ = true;
    relistPending_ = false;
    for (QWidget* w : {static_cast<QWidget*>(Bt_Rfrsh), static_cast<QWidget*>(Bt_Add),
                       static_cast<QWidget*>(Bt_Set), static_cast<QWidget*>(Bt_Del),
                       static_cast<QWidget*>(Bt_Apply), static_cast<QWidget*>(StaticApply),
                       static_cast<QWidget*>(Bt_Refresh), static_cast<QWidget*>(Bt_Cancel)})
        w->setEnabled(false);
    LV_StaticPoolSet->setEnabled(false);
    User_ListView->setEnabled(false);
    greyList(User_ListView, true);
    CB_Fuction2->addItems({QStringLiteral("Disable"), kEnable});

    FormCreate();
}

TFM_DHCP::~TFM_DHCP() = default;

void TFM_DHCP::buildControls() {
    PageControl1 = named<QTabWidget>(this, "PageControl1");
    TabSheet1 = named<QWidget>(PageControl1, "TabSheet1");
    TabSheet2 = named<QWidget>(PageControl1, "TabSheet2");
    TabSheet3 = named<QWidget>(PageControl1, "TabSheet3");
    PageControl1->addTab(TabSheet1, QStringLiteral(" Dynamic Pool Settings "));
    PageControl1->addTab(TabSheet2, QStringLiteral("Static Pool Settings  "));
    PageControl1->addTab(TabSheet3, QStringLiteral(" Current IP Mapping List  "));

    // Dynamic pool.
    CB_Fuction1 = named<QComboBox>(TabSheet1, "CB_Fuction1");
    Ed_IPAF = named<QLineEdit>(TabSheet1, "Ed_IPAF");
    Ed_PoolRan = named<QLineEdit>(TabSheet1, "Ed_PoolRan");
    Ed_SubMask = named<QLineEdit>(TabSheet1, "Ed_SubMask");
    Ed_Gateway = named<QLineEdit>(TabSheet1, "Ed_Gateway");
    Ed_Wins = named<QLineEdit>(TabSheet1, "Ed_Wins");
    Ed_DNS = named<QLineEdit>(TabSheet1, "Ed_DNS");
    Ed_DomNa = named<QLineEdit>(TabSheet1, "Ed_DomNa");
    Ed_Lease = named<QLineEdit>(TabSheet1, "Ed_Lease");
    CB_Status = named<QComboBox>(TabSheet1, "CB_Status");
    Bt_Apply = button(TabSheet1, "Bt_Apply", QStringLiteral("Apply"));
    Bt_Refresh = button(TabSheet1, "Bt_Refresh", QStringLiteral("Refresh"));
    Bt_Refresh->hide();
    StatusBar1 = statusBar(TabSheet1, "StatusBar1");
    Ed_ext = named<QLineEdit>(TabSheet1, "Ed_ext");
    Ed_ext->hide();
    auto* dynForm = new QFormLayout;
    dynForm->addRow(label(TabSheet1, QStringLiteral("DHCP Server"), CB_Fuction1), CB_Fuction1);
    dynForm->addRow(label(TabSheet1, QStringLiteral("IP Assigned From"), Ed_IPAF), Ed_IPAF);
    dynForm->addRow(label(TabSheet1, QStringLiteral("The Range of Pool (1-255)"), Ed_PoolRan),
                    Ed_PoolRan);
    dynForm->addRow(label(TabSheet1, QStringLiteral("SubMask"), Ed_SubMask), Ed_SubMask);
    dynForm->addRow(label(TabSheet1, QStringLiteral("Gateway"), Ed_Gateway), Ed_Gateway);
    dynForm->addRow(label(TabSheet1, QStringLiteral("Wins"), Ed_Wins), Ed_Wins);
    dynForm->addRow(label(TabSheet1, QStringLiteral("DNS"), Ed_DNS), Ed_DNS);
    dynForm->addRow(label(TabSheet1, QStringLiteral("Domain Name"), Ed_DomNa), Ed_DomNa);
    dynForm->addRow(label(TabSheet1, QStringLiteral("Lease Time (60 - 31536000 sec)"), Ed_Lease),
                    Ed_Lease);
    dynForm->addRow(label(TabSheet1, QStringLiteral("Status"), CB_Status), CB_Status);
    auto* dynButtons = new QHBoxLayout;
    dynButtons->addStretch(1);
    dynButtons->addWidget(Bt_Refresh);
    dynButtons->addWidget(Bt_Apply);
    auto* dyn = new QVBoxLayout(TabSheet1);
    dyn->addLayout(dynForm);
    dyn->addLayout(dynButtons);
    dyn->addWidget(StatusBar1);

    // Static pool.
    CB_Fuction2 = named<QComboBox>(TabSheet2, "CB_Fuction2");
    LV_StaticPoolSet = named<QTreeWidget>(TabSheet2, "LV_StaticPoolSet");
    LV_StaticPoolSet->setAccessibleName(QStringLiteral("Static pool slots"));
    LV_StaticPoolSet->hide(); // lies under User_ListView, which the operator sees
    User_ListView = named<QTreeWidget>(TabSheet2, "User_ListView");
    User_ListView->setAccessibleName(QStringLiteral("Static Pool Settings"));
    Bt_Add = button(TabSheet2, "Bt_Add", QStringLiteral("Add"));
    Bt_Set = button(TabSheet2, "Bt_Set", QStringLiteral("Set"));
    Bt_Del = button(TabSheet2, "Bt_Del", QStringLiteral("Del"));
    StaticApply = button(TabSheet2, "StaticApply", QStringLiteral("Apply"));
    Bt_Rfrsh = button(TabSheet2, "Bt_Rfrsh", QStringLiteral("Refresh"));
    Bt_Rfrsh->hide();
    StatusBar2 = statusBar(TabSheet2, "StatusBar2");
    auto* fn2 = new QFormLayout;
    fn2->addRow(label(TabSheet2, QStringLiteral("DHCP Server"), CB_Fuction2), CB_Fuction2);
    auto* rowButtons = new QHBoxLayout;
    for (QPushButton* b : {Bt_Add, Bt_Set, Bt_Del})
        rowButtons->addWidget(b);
    rowButtons->addStretch(1);
    rowButtons->addWidget(Bt_Rfrsh);
    rowButtons->addWidget(StaticApply);
    auto* stat = new QVBoxLayout(TabSheet2);
    stat->addLayout(fn2);
    stat->addWidget(User_ListView, 1);
    stat->addWidget(LV_StaticPoolSet, 1);
    stat->addLayout(rowButtons);
    stat->addWidget(StatusBar2);

    // Current leases.
    LV_DynPool = named<QTreeWidget>(TabSheet3, "LV_DynPool");
    LV_DynPool->setAccessibleName(QStringLiteral("Dynamic leases"));
    LV_StaticPool = named<QTreeWidget>(TabSheet3, "LV_StaticPool");
    LV_StaticPool->setAccessibleName(QStringLiteral("Static leases"));
    Bt_RefreshDynamicPool = button(TabSheet3, "Bt_RefreshDynamicPool", QStringLiteral("Refresh"));
    Bt_RefreshDynamicPool->setAccessibleName(QStringLiteral("Refresh dynamic leases"));
    Bt_RefreshStaticPool = button(TabSheet3, "Bt_RefreshStaticPool", QStringLiteral("Refresh"));
    Bt_RefreshStaticPool->setAccessibleName(QStringLiteral("Refresh static leases"));
    StatusBar3 = statusBar(TabSheet3, "StatusBar3");
    StatusBar4 = statusBar(TabSheet3, "StatusBar4");
    auto* leases = new QVBoxLayout(TabSheet3);
    for (auto [list, refresh, bar] :
         {std::tuple{LV_DynPool, Bt_RefreshDynamicPool, StatusBar3},
          std::tuple{LV_StaticPool, Bt_RefreshStaticPool, StatusBar4}}) {
        auto* group = new QGroupBox(list->accessibleName(), TabSheet3);
        auto* g = new QVBoxLayout(group);
        g->addWidget(list, 1);
        auto* line = new QHBoxLayout;
        line->addWidget(bar, 1);
        line->addWidget(refresh);
        g->addLayout(line);
        leases->addWidget(group, 1);
    }

    Bt_Cancel = button(this, "Bt_Cancel", QStringLiteral("Cancel"));
    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(Bt_Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(bottom);
    resize(640, 480);

    connect(CB_Fuction1, &QComboBox::activated, this, &TFM_DHCP::CB_Fuction1Change);
    connect(CB_Fuction2, &QComboBox::activated, this, &TFM_DHCP::CB_Fuction2Change);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TFM_DHCP::PageControl1Change);
    connect(Bt_Apply, &QPushButton::clicked, this, &TFM_DHCP::Bt_ApplyClick);
    connect(Bt_Cancel, &QPushButton::clicked, this, &TFM_DHCP::Bt_CancelClick);
    connect(StaticApply, &QPushButton::clicked, this, &TFM_DHCP::StaticApplyClick);
    connect(Bt_Add, &QPushButton::clicked, this, &TFM_DHCP::Bt_AddClick);
    connect(Bt_Set, &QPushButton::clicked, this, &TFM_DHCP::Bt_SetClick);
    connect(Bt_Del, &QPushButton::clicked, this, &TFM_DHCP::Bt_DelClick);
    connect(User_ListView, &QTreeWidget::itemSelectionChanged, this,
            &TFM_DHCP::User_ListViewSelectItem);
    connect(Bt_Refresh, &QPushButton::clicked, this, &TFM_DHCP::Bt_RefreshClick);
    connect(Bt_Rfrsh, &QPushButton::clicked, this, &TFM_DHCP::Bt_RfrshClick);
    connect(Bt_RefreshDynamicPool, &QPushButton::clicked, this,
            &TFM_DHCP::Bt_RefreshDynamicPoolClick);
    connect(Bt_RefreshStaticPool, &QPushButton::clicked, this,
            &TFM_DHCP::Bt_RefreshStaticPoolClick);
}

void TFM_DHCP::FormCreate() {
    try {
        pool_ = addRequest(kDynamicPool, SVT_SV, 0, StatusBar1);
        pool_->BindFormat(kPoolStart, QStringLiteral("%s"), Ed_IPAF);
        pool_->BindFormat(kPoolRange, QStringLiteral("%u"), Ed_PoolRan);
        pool_->BindFormat(kPoolMask, QStringLiteral("%s"), Ed_SubMask);
        pool_->BindFormat(kPoolGateway, QStringLiteral("%s"), Ed_Gateway);
        pool_->BindFormat(kPoolWins, QStringLiteral("%s"), Ed_Wins);
        pool_->BindFormat(kPoolDns, QStringLiteral("%s"), Ed_DNS);
        pool_->BindFormat(kPoolDomain, QStringLiteral("%s"), Ed_DomNa);
        pool_->BindFormat(kPoolLease, QStringLiteral("%u"), Ed_Lease);
        pool_->BindComboBox(kPoolStatus, CB_Status);
        pool_->Refresh();

        function_ = addRequest(kServerFunction);
        function_->BindComboBox(0, CB_Fuction1);
        if (function_->Refresh()) {
            CB_Fuction2->setCurrentIndex(CB_Fuction1->currentIndex());
            applyEnablingRule();
        }

        staticIp_ = new TFM_StaticIP(this);
        staticPool_ = addRequest(kStaticPool, MVT_UMV, 1, StatusBar2);
        staticPool_->mode = 1;
        staticPool_->BindControl(kSlotIndex, staticIp_->LA_Index);
        staticPool_->BindFormat(kSlotIp, QStringLiteral("%s"), staticIp_->Ed_AsgIP);
        staticPool_->BindFormat(kSlotMac, QStringLiteral("%h"), staticIp_->Ed_AsgMac);
        staticPool_->BindFormat(kSlotMask, QStringLiteral("%s"), staticIp_->Ed_SubMask);
        staticPool_->BindFormat(kSlotGateway, QStringLiteral("%s"), staticIp_->Ed_Gatway);
        staticPool_->BindFormat(kSlotWins, QStringLiteral("%s"), staticIp_->Ed_Wins);
        staticPool_->BindFormat(kSlotDns, QStringLiteral("%s"), staticIp_->Ed_DNS);
        staticPool_->BindFormat(kSlotDomain, QStringLiteral("%s"), staticIp_->Ed_DomNa);
        staticPool_->BindComboBox(kSlotStatus, staticIp_->CB_Stat);
        staticPool_->AttachListView(LV_StaticPoolSet, false);
        staticPool_->OnGetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            onStaticListed(e);
        };
        staticPool_->OnSetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            onStaticWritten(e);
        };
        listingComplete_ = false;
        Bt_Set->setEnabled(false);
        Bt_Del->setEnabled(false);
        showStaticStatus(kListing);
        staticPool_->Refresh();
        staticIp_->setLengthLimits();

        display_ = addRequest<New_req2Edit>(kStaticPool, MVT_UMV, 1, StatusBar2);
        display_->mode = 1;
        display_->skipText = kFreeIp;
        display_->watchedIndex = kSlotIp;
        display_->AttachListView(User_ListView, false);
        display_->OnAfterGet = [this] { fitColumns(User_ListView); };
        display_->Refresh();

        dynLeases_ = addRequest<New_req2Edit>(kDynamicLeases, MVT_FMV, 1, StatusBar3);
        staticLeases_ = addRequest<New_req2Edit>(kStaticLeases, MVT_FMV, 1, StatusBar4);
        for (auto [request, list] :
             {std::pair{dynLeases_, LV_DynPool}, std::pair{staticLeases_, LV_StaticPool}}) {
            request->mode = 1;
            request->skipText = QStringLiteral("000000000000");
            request->watchedIndex = 1;
            request->AttachListView(list, false);
            request->OnAfterGet = [list] { fitColumns(list); };
            request->Refresh();
        }
    } catch (const QvException& e) {
        for (QStatusBar* bar : {StatusBar1, StatusBar2, StatusBar3})
            pages::showStatus(bar, e.text());
    }
    try {
        system_ = addRequest(kSystemAddress);
        system_->mode = 1;
        system_->BindFormat(0, QStringLiteral("%s"), Ed_ext);
        system_->Refresh();
    } catch (const QvException& e) {
        pages::showStatus(StatusBar1, e.text());
    }
    QvEditHooks::of(*Ed_DomNa).setMaxLength(64);
    for (QLineEdit* e : {Ed_IPAF, Ed_SubMask, Ed_Gateway, Ed_Wins, Ed_DNS})
        QvEditHooks::of(*e).setMaxLength(15);
    QvEditHooks::of(*Ed_PoolRan).setMaxLength(3);
    QvEditHooks::of(*Ed_Lease).setMaxLength(8);
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
    const bool dynamicOn = CB_Fuction1->currentText() == kEnable;
    for (QWidget* w : {static_cast<QWidget*>(Ed_IPAF), static_cast<QWidget*>(Ed_PoolRan),
                       static_cast<QWidget*>(Ed_SubMask), static_cast<QWidget*>(Ed_Gateway),
                       static_cast<QWidget*>(Ed_Wins), static_cast<QWidget*>(Ed_DNS),
                       static_cast<QWidget*>(Ed_DomNa), static_cast<QWidget*>(Ed_Lease),
                       static_cast<QWidget*>(CB_Status)})
        w->setEnabled(dynamicOn);
    const bool staticOn = CB_Fuction2->currentText() == kEnable;
    if (!staticOn) {
        for (QWidget* w : {Bt_Rfrsh, Bt_Add, Bt_Set, Bt_Del})
            w->setEnabled(false);
    } else {
        Bt_Rfrsh->setEnabled(true);
    }
    for (QTreeWidget* list : {LV_StaticPoolSet, User_ListView}) {
        list->setEnabled(staticOn);
        greyList(list, !staticOn);
    }
}

void TFM_DHCP::CB_Fuction1Change() {
    CB_Fuction2->setCurrentIndex(CB_Fuction1->currentIndex());
    applyEnablingRule();
}

void TFM_DHCP::CB_Fuction2Change() {
    CB_Fuction1->setCurrentIndex(CB_Fuction2->currentIndex());
    applyEnablingRule();
    if (!display_ || !display_->busy)
        Bt_Add->setEnabled(CB_Fuction2->currentText() == kEnable && listingComplete_);
}

void TFM_DHCP::PageControl1Change() {
    if (PageControl1->currentWidget() != TabSheet2)
        return;
    const bool on = CB_Fuction1->currentText() == kEnable;
    greyList(User_ListView, !on);
    // Adding needs the slots: not before a listing has completed.
    Bt_Add->setEnabled(on && listingComplete_ && !poolBusy_);
}

void TFM_DHCP::User_ListViewSelectItem() {
    if (CB_Fuction1->currentText() != kEnable && CB_Fuction2->currentText() != kEnable) {
        greyList(User_ListView, true);
        return;
    }
    const bool selected = !User_ListView->selectedItems().isEmpty() && listingComplete_;
    Bt_Set->setEnabled(selected);
    Bt_Del->setEnabled(selected);
}

void TFM_DHCP::showStaticStatus(const QString& text) {
    pages::showStatus(StatusBar1, text);
    pages::showStatus(StatusBar2, text);
}

void TFM_DHCP::onStaticListed(const QvSNMPError& result) {
    showStaticStatus(result.text);
    Bt_Refresh->setEnabled(true);
    Bt_Cancel->setEnabled(true);
    poolBusy_ = false;
    if (result.code != 0)
        return;
    for (QWidget* w :
         {static_cast<QWidget*>(LV_StaticPoolSet), static_cast<QWidget*>(User_ListView),
          static_cast<QWidget*>(Bt_Rfrsh), static_cast<QWidget*>(Bt_Add)})
        w->setEnabled(true);
    CB_Fuction2->setCurrentIndex(CB_Fuction1->currentIndex());
    listingComplete_ = true;
    Bt_Apply->setEnabled(true);
    StaticApply->setEnabled(true);
    applyEnablingRule();
    User_ListViewSelectItem();
}

void TFM_DHCP::startStaticListing() {
    LV_StaticPoolSet->clear();
    showStaticStatus(kListing);
    listingComplete_ = false;
    Bt_Set->setEnabled(false);
    Bt_Del->setEnabled(false);
    staticPool_->Refresh();
}

void TFM_DHCP::relist() {
    startStaticListing();
    User_ListView->clear();
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
        function_->Apply(true, true);
        relistPending_ = true;
        staticPool_->Apply(false, true);
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
         {static_cast<QWidget*>(LV_StaticPoolSet), static_cast<QWidget*>(User_ListView),
          static_cast<QWidget*>(Bt_Rfrsh), static_cast<QWidget*>(Bt_Add),
          static_cast<QWidget*>(Bt_Set), static_cast<QWidget*>(Bt_Del)})
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
    if (Ed_IPAF->text().isEmpty())
        return refuse(QStringLiteral("Please input valid IP address"), kWarning, Ed_IPAF);
    if (Ed_PoolRan->text().isEmpty())
        return refuse(kRangeMessage, kWarning, Ed_PoolRan);
    const QString start = Ed_IPAF->text();
    const QString range = Ed_PoolRan->text();
    if (pages::inPool(Ed_ext->text(), start, range))
        return refuse(QStringLiteral("Reject: The DHCP dynamic IP pool will cover system IP."),
                      kWarning);
    for (int i = 0; i < User_ListView->topLevelItemCount(); ++i)
        if (pages::inPool(User_ListView->topLevelItem(i)->text(kSlotIp), start, range))
            return refuse(QStringLiteral("Reject: The DHCP dynamic IP pool will cover Static IP."),
                          kWarning);
    const qint64 n = rangeValue(range);
    if (n < 1 || n > 255)
        return refuseAndClear(kRangeMessage, QStringLiteral("Error"), Ed_PoolRan);
    if (Ed_Lease->text().isEmpty())
        return refuse(kLeaseMessage, kWarning, Ed_Lease);
    const qint64 lease = rangeValue(Ed_Lease->text());
    if (lease < 60 || lease > 31536000)
        return refuseAndClear(kLeaseMessage, QStringLiteral("Error"), Ed_Lease);
    for (QLineEdit* e : {Ed_SubMask, Ed_Gateway, Ed_Wins, Ed_DNS})
        if (e->text().isEmpty())
            e->setText(kFreeIp);
    if (!qv::isHostAddress(Ed_IPAF->text()))
        return refuseAndClear(QStringLiteral("Please input valid IP address"), kWaring, Ed_IPAF);
    if (!qv::isHostAddress(Ed_Gateway->text()) || Ed_Gateway->text() == kFreeIp)
        return refuseAndClear(QStringLiteral("Please input valid Gateway."), kWaring, Ed_Gateway);
    if (!qv::isHostAddress(Ed_Wins->text()) && Ed_Wins->text() != kFreeIp)
        return refuseAndClear(QStringLiteral("Please input valid Wins."), kWaring, Ed_Wins);
    if (!qv::isHostAddress(Ed_DNS->text()) && Ed_DNS->text() != kFreeIp)
        return refuseAndClear(QStringLiteral("Please input valid DNS."), kWaring, Ed_DNS);
    if (!qv::isSubnetMask(Ed_SubMask->text()) || Ed_SubMask->text() == kFreeIp)
        return refuseAndClear(QStringLiteral("Please input valid SubMask."), kWaring, Ed_SubMask);
    if (Ed_IPAF->text().trimmed() == qv::sessionDevice().address) {
        Ed_IPAF->clear();
        return refuse(QStringLiteral("Reject:DHCPS dynamic IP pool will cover system IP"), kWaring);
    }
    return true;
}

void TFM_DHCP::Bt_ApplyClick() {
    try {
        const bool on = CB_Fuction1->currentText() == kEnable;
        if (on && !dynamicChecksPass())
            return;
        if (!pages::writeInOrder({{function_}, {pool_, on}}))
            return;
        pages::waitForRestartUnlessSaved(this);
    } catch (const QvException& e) {
        pages::showStatus(StatusBar1, e.text());
    }
}

void TFM_DHCP::StaticApplyClick() {
    try {
        if (function_->Apply(true, true))
            pages::waitForRestartUnlessSaved(this);
    } catch (const QvException& e) {
        pages::showStatus(StatusBar2, e.text());
    }
}

QTreeWidgetItem* TFM_DHCP::findSlot(int column, const QString& text) const {
    for (int i = 0; i < LV_StaticPoolSet->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = LV_StaticPoolSet->topLevelItem(i);
        const QString cell = row->text(column);
        if (column == kSlotMac ? macMatches(cell, text) : cell == text)
            return row;
    }
    return nullptr;
}

void TFM_DHCP::selectSlot(QTreeWidgetItem* row) {
    LV_StaticPoolSet->setCurrentItem(row);
    row->setSelected(true);
    // Also when the row was selected already: the dialog shows the slot as listed.
    staticPool_->SelectItem(LV_StaticPoolSet, row, true);
}

QTreeWidgetItem* TFM_DHCP::slotOfSelection() {
    const QList<QTreeWidgetItem*> selected = User_ListView->selectedItems();
    QTreeWidgetItem* slot =
        selected.isEmpty() ? nullptr : findSlot(kSlotIp, selected.first()->text(kSlotIp));
    if (!slot)
        platform::message(kWarning,
                          QStringLiteral("No static pool entry matches the selected row."));
    return slot;
}

void TFM_DHCP::Bt_AddClick() {
    QTreeWidgetItem* free = findSlot(kSlotIp, kFreeIp);
    if (!free) {
        pages::refuse(QStringLiteral("The static pool is full!"), kWarning);
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
        staticPool_->Apply(false, true);
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
        if (!staticPool_->Apply(false, true))
            writeAfterClear_ = false;
        return;
    }
    staticIp_->fillBlankAddresses();
    function_->Apply(true, true);
    relistPending_ = true;
    staticPool_->Apply(false, true);
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
