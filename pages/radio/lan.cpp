#include "pages/radio/lan.h"

#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/address_pool.h"
#include "pages/common/address_probe.h"
#include "pages/common/messages.h"
#include "platform/prompter.h"
#include "tables/lan.h"

using namespace tables::lan;
namespace msg = pages::msg;

namespace {
constexpr int kAddressLength = 15;
// Blocks every form of close while the static table is read (its time-out is long).
constexpr int kStaticTableTimeout = 10000;
} // namespace

TFM_LanCfg::TFM_LanCfg(QWidget* owner) : FormPage(owner) {
    handle(ui->BT_LanCfgOk, &QPushButton::clicked, &TFM_LanCfg::BT_LanCfgOkClick);
    handle(ui->BT_LanCfgCancel, &QPushButton::clicked, &TFM_LanCfg::BT_LanCfgCancelClick);
    // The operator's choice only: a value shown from the device is no change of mode.
    handle(ui->CB_IPFrom, &QComboBox::activated, &TFM_LanCfg::CB_IPFromChange);
    FormCreate();
}

TFM_LanCfg::~TFM_LanCfg() = default;

void TFM_LanCfg::FormCreate() {
    guard([this] {
        lan_ = addRequest(kLan, {.status = ui->StatusBar});
        pages::bind(*lan_, {{kGetIpFrom, ui->CB_IPFrom},
                            {kIpAddress, ui->ED_IpAddr},
                            {kSubnetMask, ui->ED_SubMask},
                            {kDefaultGateway, ui->ED_DefGw},
                            {kRestart, ui->ED_Restart}});

        pool_ = addRequest(kDhcpPool, {.asynchronous = true});
        pages::bind(*pool_, {{tables::dhcp::kPoolStart, ui->Ed_IPAF},
                             {tables::dhcp::kPoolRange, ui->Ed_PoolRan, QStringLiteral("%u")}});
        pool_->Refresh();

        static_ = addRequest(
            kStaticTable,
            {.kind = MVT_UMV, .keyCount = 1, .asynchronous = true, .timeout = kStaticTableTimeout});
        static_->AttachListView(ui->Static_ListView, true);
        static_->OnGetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            staticTableRead_ = e.code == 0;
            if (e.code != 0)
                pages::showStatus(ui->StatusBar, e.text);
        };

        // Older firmware has no port type: its read fails without a word and the form closes
        // up over it; a refused write of a port type the device has is reported.
        port_ = addRequest(kPortType, {.silent = true});
        pages::bind(*port_, {{kPortTypeValue, ui->CB_PortType}});
        portTypeRead_ = port_->Refresh();
        port_->silentFailures = false;
        ui->CB_PortType->setVisible(portTypeRead_);
        ui->Label1->setVisible(portTypeRead_);

        if (lan_->Refresh()) {
            storedAddress_ = ui->ED_IpAddr->text();
            addressMode_ = ui->CB_IPFrom->currentIndex();
            CB_IPFromChange();
        }
    });
    for (QLineEdit* edit : {ui->ED_DefGw, ui->ED_IpAddr, ui->ED_SubMask})
        QvEditHooks::of(*edit).setMaxLength(kAddressLength);
}

void TFM_LanCfg::CB_IPFromChange() {
    const bool manual = ui->CB_IPFrom->currentIndex() != 1;
    for (QWidget* w :
         std::initializer_list<QWidget*>{ui->LA_IPAddress, ui->ED_IpAddr, ui->LA_SubnetMask,
                                         ui->ED_SubMask, ui->LA_DefGW, ui->ED_DefGw})
        w->setVisible(manual);
    addressMode_ = ui->CB_IPFrom->currentIndex();
}

void TFM_LanCfg::BT_LanCfgCancelClick() {
    close();
}

void TFM_LanCfg::BT_LanCfgOkClick() {
    switch (ui->CB_IPFrom->currentIndex()) {
    case 0:
        applyStatic();
        break;
    case 1:
        applyDhcp();
        break;
    default:
        break;
    }
}

void TFM_LanCfg::refuseAndReread(const QString& text, QWidget* focus) {
    pages::refuse(text, msg::kWarning);
    lan_->Refresh();
    if (focus)
        focus->setFocus();
}

void TFM_LanCfg::setRestart(const QString& label) {
    ui->ED_Restart->setCurrentIndex(ui->ED_Restart->findText(label));
}

bool TFM_LanCfg::staticLeasesAllow(const QString& address) {
    staticTableRead_ = false;
    static_->Refresh();
    // The table read has the dialog's twelve seconds to arrive.
    pages::waitWithoutRestart(this, {.title = QStringLiteral("Please wait..."),
                                     .text = QStringLiteral("Judge the IP whether can be used."),
                                     .seconds = 12});
    // An unread table proves nothing: the address might be one of its leases.
    if (static_->busy || !staticTableRead_) {
        refuseAndReread(QStringLiteral("Reject: The static DHCP table could not be read."));
        return false;
    }
    const QTreeWidget* leases = ui->Static_ListView;
    for (int i = 0; i < leases->topLevelItemCount(); ++i) {
        if (leases->topLevelItem(i)->text(tables::dhcp::kSlotIp) == address) {
            refuseAndReread(QStringLiteral("Reject: The IP conflicts with Static DHCP Server IP"));
            return false;
        }
    }
    return true;
}

bool TFM_LanCfg::writeLanAndPortType() {
    // A device that did not answer for the port type at opening has none to write.
    const bool lanOk = pages::apply(*lan_);
    const bool portOk = !portTypeRead_ || pages::apply(*port_);
    return lanOk && portOk;
}

void TFM_LanCfg::applyStatic() {
    const QString address = ui->ED_IpAddr->text();
    if (!qv::isHostAddress(address))
        return void(pages::refuseAndClear(msg::kInvalidIpAddress, msg::kWarning, ui->ED_IpAddr));
    if (!qv::isSubnetMask(ui->ED_SubMask->text()))
        return void(pages::refuseAndClear(QStringLiteral("Please input valid Subnet Mask."),
                                          msg::kWarning, ui->ED_SubMask));
    if (!qv::isHostAddress(ui->ED_DefGw->text()))
        return void(pages::refuseAndClear(msg::kInvalidGateway, msg::kWarning, ui->ED_DefGw));
    // The pool is read in the background when the page opens: an Apply before its answer must
    // not pass the pool check on empty fields.
    if (pool_)
        pages::waitForAnswer(*pool_);
    if (pages::inPool(address, ui->Ed_IPAF->text(), ui->Ed_PoolRan->text()))
        return refuseAndReread(
            QStringLiteral("Reject: The IP conflicts with Dynamic DHCP Server IP"));
    const bool changed = address != storedAddress_;
    if (changed && pages::addressAnswers(address))
        return refuseAndReread(QStringLiteral("Reject: The IP already has been used."),
                               ui->ED_IpAddr);
    if (changed && !staticLeasesAllow(address))
        return;

    // Reset before every write: a failed DHCP apply must not leave "reboot" behind.
    setRestart(addressMode_ == 1 ? QStringLiteral("reboot") : QStringLiteral("nothing"));
    for (int i : {kIpAddress, kSubnetMask, kDefaultGateway})
        lan_->vars.item(i).access = QvAccess::readwrite;
    if (!writeLanAndPortType())
        return pages::showStatus(ui->StatusBar, msg::kSetError);
    pages::showStatus(ui->StatusBar, msg::kSetSuccess);
    const QString next = QStringLiteral("The system IP will be ") + ui->ED_IpAddr->text();
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
    if (!platform::confirm(msg::kWarning, QStringLiteral("Device will reboot,continue?")))
        return;
    for (int i : {kIpAddress, kSubnetMask, kDefaultGateway})
        lan_->vars.item(i).access |= QvAccess::invalid;
    setRestart(QStringLiteral("reboot"));
    const bool ok = writeLanAndPortType();
    // Whatever the outcome, the next apply starts from "nothing".
    setRestart(QStringLiteral("nothing"));
    if (!ok)
        return pages::showStatus(ui->StatusBar, msg::kSetError);
    pages::showStatus(ui->StatusBar, msg::kSetSuccess);
    if (app::saveSupported())
        pages::waitForRestart(this);
}
