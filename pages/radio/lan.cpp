#include "pages/radio/lan.h"

#include "app/wait_dialog.h"
#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/address_pool.h"
#include "pages/common/address_probe.h"
#include "platform/prompter.h"
#include "snmplib/qv_exception.h"
#include "tables/lan.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace tables::lan;

namespace {

constexpr int kAddressLength = 15;

QLabel* label(QWidget* parent, const char* name, const QString& caption, QWidget* buddy) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setBuddy(buddy);
    return l;
}

template <class W> W* named(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

} // namespace

TFM_LanCfg::TFM_LanCfg(QWidget* owner) : Page(owner) {
    setObjectName(QStringLiteral("FM_LanCfg"));
    setWindowTitle(QStringLiteral("Home \\ LAN"));
    buildControls();
    FormCreate();
}

TFM_LanCfg::~TFM_LanCfg() = default;

void TFM_LanCfg::buildControls() {
    Panel2 = named<QWidget>(this, "Panel2");
    CB_IPFrom = named<QComboBox>(Panel2, "CB_IPFrom");
    GetIPFrom = label(Panel2, "GetIPFrom", QStringLiteral("Get IP From"), CB_IPFrom);
    ED_IpAddr = named<QLineEdit>(Panel2, "ED_IpAddr");
    LA_IPAddress = label(Panel2, "LA_IPAddress", QStringLiteral("IP Address"), ED_IpAddr);
    ED_SubMask = named<QLineEdit>(Panel2, "ED_SubMask");
    LA_SubnetMask = label(Panel2, "LA_SubnetMask", QStringLiteral("Subnet Mask"), ED_SubMask);
    ED_DefGw = named<QLineEdit>(Panel2, "ED_DefGw");
    LA_DefGW = label(Panel2, "LA_DefGW", QStringLiteral("Default Gateway"), ED_DefGw);
    CB_PortType = named<QComboBox>(Panel2, "CB_PortType");
    Label1 = label(Panel2, "Label1", QStringLiteral("Ethernet Port Type"), CB_PortType);

    auto* form = new QFormLayout(Panel2);
    form->addRow(GetIPFrom, CB_IPFrom);
    form->addRow(LA_IPAddress, ED_IpAddr);
    form->addRow(LA_SubnetMask, ED_SubMask);
    form->addRow(LA_DefGW, ED_DefGw);
    form->addRow(Label1, CB_PortType);

    Ed_IPAF = named<QLineEdit>(Panel2, "Ed_IPAF");
    Ed_PoolRan = named<QLineEdit>(Panel2, "Ed_PoolRan");
    ED_Restart = named<QComboBox>(Panel2, "ED_Restart");
    for (QWidget* hidden : {static_cast<QWidget*>(Ed_IPAF), static_cast<QWidget*>(Ed_PoolRan),
                            static_cast<QWidget*>(ED_Restart)})
        hidden->hide();

    // The static DHCP table is read into a list the operator never uses here.
    Panel1 = named<QWidget>(this, "Panel1");
    Static_ListView = named<QTreeWidget>(Panel1, "Static_ListView");
    Static_ListView->setAccessibleName(QStringLiteral("Static DHCP table"));
    Panel1->hide();

    BT_LanCfgOk = named<QPushButton>(this, "BT_LanCfgOk");
    BT_LanCfgOk->setText(QStringLiteral("Apply"));
    BT_LanCfgCancel = named<QPushButton>(this, "BT_LanCfgCancel");
    BT_LanCfgCancel->setText(QStringLiteral("Cancel"));
    StatusBar = named<QStatusBar>(this, "StatusBar");
    StatusBar->setSizeGripEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BT_LanCfgOk);
    buttons->addWidget(BT_LanCfgCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel2);
    layout->addLayout(buttons);
    layout->addWidget(StatusBar);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setMinimumWidth(340);

    connect(BT_LanCfgOk, &QPushButton::clicked, this, &TFM_LanCfg::BT_LanCfgOkClick);
    connect(BT_LanCfgCancel, &QPushButton::clicked, this, &TFM_LanCfg::BT_LanCfgCancelClick);
    // The operator's choice only: a value shown from the device is no change of mode.
    connect(CB_IPFrom, &QComboBox::activated, this, &TFM_LanCfg::CB_IPFromChange);
}

void TFM_LanCfg::FormCreate() {
    try {
        lan_ = addRequest(kLan, SVT_SV, 0, StatusBar);
        lan_->BindControl(kGetIpFrom, CB_IPFrom);
        lan_->BindFormat(kIpAddress, QStringLiteral("%s"), ED_IpAddr);
        lan_->BindFormat(kSubnetMask, QStringLiteral("%s"), ED_SubMask);
        lan_->BindFormat(kDefaultGateway, QStringLiteral("%s"), ED_DefGw);
        lan_->BindControl(kRestart, ED_Restart);

        pool_ = addRequest(kDhcpPool);
        pool_->mode = 1;
        pool_->BindFormat(tables::dhcp::kPoolStart, QStringLiteral("%s"), Ed_IPAF);
        pool_->BindFormat(tables::dhcp::kPoolRange, QStringLiteral("%u"), Ed_PoolRan);
        pool_->Refresh();

        static_ = addRequest(kStaticTable, MVT_UMV, 1);
        static_->mode = 1;
        static_->timeout = 10000;
        static_->AttachListView(Static_ListView, true);
        static_->OnGetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            staticTableRead_ = e.code == 0;
            if (e.code != 0)
                pages::showStatus(StatusBar, e.text);
        };

        port_ = addRequest(kPortType);
        port_->BindComboBox(0, CB_PortType);
        portTypeRead_ = port_->Refresh();
        portTypeWritten_ = portTypeRead_;
        if (!portTypeRead_) {
            // Older firmware has no port type: the form closes up over it.
            CB_PortType->hide();
            Label1->hide();
        }

        if (lan_->Refresh()) {
            storedAddress_ = ED_IpAddr->text();
            addressMode_ = CB_IPFrom->currentIndex();
            CB_IPFromChange();
        }
    } catch (const QvException& e) {
        pages::showStatus(StatusBar, e.text());
    }
    for (QLineEdit* edit : {ED_DefGw, ED_IpAddr, ED_SubMask})
        QvEditHooks::of(*edit).setMaxLength(kAddressLength);
}

void TFM_LanCfg::CB_IPFromChange() {
    const bool manual = CB_IPFrom->currentIndex() != 1;
    for (QWidget* w : {static_cast<QWidget*>(LA_IPAddress), static_cast<QWidget*>(ED_IpAddr),
                       static_cast<QWidget*>(LA_SubnetMask), static_cast<QWidget*>(ED_SubMask),
                       static_cast<QWidget*>(LA_DefGW), static_cast<QWidget*>(ED_DefGw)})
        w->setVisible(manual);
    addressMode_ = CB_IPFrom->currentIndex();
}

void TFM_LanCfg::BT_LanCfgCancelClick() {
    close();
}

void TFM_LanCfg::BT_LanCfgOkClick() {
    try {
        switch (CB_IPFrom->currentIndex()) {
        case 0:
            applyStatic();
            break;
        case 1:
            applyDhcp();
            break;
        default:
            break;
        }
    } catch (const QvException& e) {
        pages::showStatus(StatusBar, e.text());
    }
}

void TFM_LanCfg::refuseAndReread(const QString& text, QWidget* focus) {
    pages::refuse(text, QStringLiteral("Warning"));
    lan_->Refresh();
    if (focus)
        focus->setFocus();
}

void TFM_LanCfg::setRestart(const QString& label) {
    ED_Restart->setCurrentIndex(ED_Restart->findText(label));
}

bool TFM_LanCfg::staticLeasesAllow(const QString& address) {
    staticTableRead_ = false;
    static_->Refresh();
    // The table read has the dialog's twelve seconds to arrive.
    pages::waitForRestart(this, [](TFM_Waiting& wait) {
        wait.Label2->setText(QStringLiteral("Please wait..."));
        wait.Label3->setText(QStringLiteral("Judge the IP whether can be used."));
        wait.secondsLeft = 12;
        wait.sendReboot = false;
    });
    // An unread table proves nothing: the address might be one of its leases.
    if (static_->busy || !staticTableRead_) {
        refuseAndReread(QStringLiteral("Reject: The static DHCP table could not be read."));
        return false;
    }
    for (int i = 0; i < Static_ListView->topLevelItemCount(); ++i) {
        if (Static_ListView->topLevelItem(i)->text(tables::dhcp::kSlotIp) == address) {
            refuseAndReread(QStringLiteral("Reject: The IP conflicts with Static DHCP Server IP"));
            return false;
        }
    }
    return true;
}

bool TFM_LanCfg::writeLanAndPortType() {
    const bool lanOk = lan_->Apply(true, true);
    // A device that did not answer for the port type at opening has none to write.
    bool portOk = true;
    if (portTypeRead_) {
        portOk = port_->Apply(true, true);
        portTypeWritten_ = portOk;
    }
    return lanOk && portOk;
}

void TFM_LanCfg::applyStatic() {
    const QString address = ED_IpAddr->text();
    if (!qv::isHostAddress(address)) {
        pages::refuse(QStringLiteral("Please input valid IP Address."), QStringLiteral("Warning"));
        ED_IpAddr->clear();
        return;
    }
    if (!qv::isSubnetMask(ED_SubMask->text())) {
        pages::refuse(QStringLiteral("Please input valid Subnet Mask."), QStringLiteral("Warning"));
        ED_SubMask->clear();
        return;
    }
    if (!qv::isHostAddress(ED_DefGw->text())) {
        pages::refuse(QStringLiteral("Please input valid Gateway."), QStringLiteral("Warning"));
        ED_DefGw->clear();
        return;
    }
    // The pool is read in the background when the page opens: an Apply before its answer must
    // not pass the pool check on empty fields.
    if (pool_)
        pages::waitForAnswer(*pool_);
    if (pages::inPool(address, Ed_IPAF->text(), Ed_PoolRan->text())) {
        refuseAndReread(QStringLiteral("Reject: The IP conflicts with Dynamic DHCP Server IP"));
        return;
    }
    const bool changed = address != storedAddress_;
    if (changed && pages::addressAnswers(address)) {
        refuseAndReread(QStringLiteral("Reject: The IP already has been used."), ED_IpAddr);
        return;
    }
    if (changed && !staticLeasesAllow(address))
        return;

    // Reset before every write: a failed DHCP apply must not leave "reboot" behind.
    setRestart(QStringLiteral("nothing"));
    if (addressMode_ == 1)
        setRestart(QStringLiteral("reboot"));
    for (int i : {kIpAddress, kSubnetMask, kDefaultGateway})
        lan_->vars.item(i).access = QvAccess::readwrite;
    if (!writeLanAndPortType()) {
        pages::showStatus(StatusBar, QStringLiteral("Set Error!"));
        return;
    }
    pages::showStatus(StatusBar, QStringLiteral("Set Success!"));
    const QString next = QStringLiteral("The system IP will be ") + ED_IpAddr->text();
    const int mode = addressMode_;
    pages::waitForRestartUnlessSaved(this, [&](TFM_Waiting& wait) {
        wait.Label3->setText(next);
        if (mode == 1)
            wait.Label2->setText(QStringLiteral("The device is restarting."));
        else
            wait.secondsLeft = 5;
    });
}

void TFM_LanCfg::applyDhcp() {
    if (!platform::confirm(QStringLiteral("Warning"),
                           QStringLiteral("Device will reboot,continue?")))
        return;
    for (int i : {kIpAddress, kSubnetMask, kDefaultGateway})
        lan_->vars.item(i).access |= QvAccess::invalid;
    setRestart(QStringLiteral("reboot"));
    const bool ok = writeLanAndPortType();
    // Whatever the outcome, the next apply starts from "nothing".
    setRestart(QStringLiteral("nothing"));
    if (!ok) {
        pages::showStatus(StatusBar, QStringLiteral("Set Error!"));
        return;
    }
    pages::showStatus(StatusBar, QStringLiteral("Set Success!"));
    if (app::saveSupported())
        pages::waitForRestart(this);
}
