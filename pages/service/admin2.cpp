#include "pages/service/admin2.h"

#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "binding/radio_group.h"
#include "pages/common/address_pool.h"
#include "pages/common/console.h"
#include "pages/common/messages.h"
#include "pages/common/selection.h"
#include "platform/prompter.h"
#include "tables/admin2.h"

#include <initializer_list>
#include <QTreeWidget>

using namespace tables::admin2;
namespace msg = pages::msg;
namespace console = pages::console;

namespace {
constexpr int kAddressLength = 15;
constexpr int kMaxRanges = 4;
constexpr int kMaxVid = 4095;
constexpr int kRowListTimeout = 1000;
constexpr int kDisplayListTimeout = 10000;
const QString kInvalidRange = QStringLiteral("Invalid IP address range for Administrator!");
} // namespace

TFM_Admin2::TFM_Admin2(QWidget* owner) : FormPage(owner) {
    handle(ui->OK, &QPushButton::clicked, &TFM_Admin2::OKClick);
    handle(ui->Cancel, &QPushButton::clicked, &TFM_Admin2::CancelClick);
    for (QRadioButton* rb : {ui->RB_None, ui->RB_Telnet, ui->RB_SHH})
        handle(rb, &QRadioButton::clicked, &TFM_Admin2::RB_NoneClick);
    handle(ui->CkBx_ManagerState, &QCheckBox::clicked, &TFM_Admin2::CkBx_ManagerStateClick);
    handle(ui->CheckBox_VID, &QCheckBox::clicked, &TFM_Admin2::CheckBox_VIDClick);
    handle(ui->ListView_User, &QTreeWidget::itemSelectionChanged, &TFM_Admin2::ListView_UserClick);
    handle(ui->Btn_Add, &QPushButton::clicked, &TFM_Admin2::Btn_AddClick);
    handle(ui->Btn_Del, &QPushButton::clicked, &TFM_Admin2::Btn_DelClick);
    FormCreate();
}

TFM_Admin2::~TFM_Admin2() = default;

pages::login::Fields TFM_Admin2::fields() const {
    return {ui->Ed_Usr, ui->Ed_OPwd, ui->Ed_NPwd, ui->Ed_CNP, ui->Ed_Pwd};
}

void TFM_Admin2::FormCreate() {
    ui->RG_TrapStatus->setColumns(2);
    guard([this] {
        mssid_ = addRequest(kMssidState, {.status = ui->StatusBar});
        pages::bind(*mssid_, {{0, ui->CB_Mussid}});
        mssid_->Refresh();
        vlan_ = addRequest(kVlanState, {.status = ui->StatusBar});
        pages::bind(*vlan_, {{0, ui->CB_VLAN}});
        vlan_->Refresh();

        // Optional parts: a device that does not answer for them does not have them.
        wlan_ = addRequest(kWlanManagement, {.silent = true});
        pages::bind(*wlan_, {{0, ui->CB_WLAN}});
        wlanRead_ = wlan_->Refresh();
        ui->Label_wlan->setVisible(wlanRead_);
        ui->CB_WLAN->setVisible(wlanRead_);

        vid_ = addRequest(kManagementVlan, {.silent = true});
        pages::bind(*vid_, {{kVidState, ui->CheckBox_VID}, {kVid, ui->Ed_VID}});
        vidRead_ = vid_->Refresh();
        ui->CheckBox_VID->setVisible(vidRead_);
        ui->Ed_VID->setVisible(vidRead_);
        CheckBox_VIDClick();

        // Ranges where the device has them, else the two single addresses.
        rangesSupported_ = pages::flag(pages::flags::Ed_ipRangeSupported) == 1;
        ui->RangeBox->setVisible(rangesSupported_);
        ui->SingleBox->setVisible(!rangesSupported_);
        if (rangesSupported_) {
            ranges_ = addRequest(kRanges, {.kind = MVT_UMV,
                                           .keyCount = 1,
                                           .status = ui->StatusBar,
                                           .asynchronous = true,
                                           .timeout = kRowListTimeout});
            pages::bind(
                *ranges_,
                {{kRangeId, ui->LA_Index}, {kRangeFrom, ui->Ed_From}, {kRangeTo, ui->Ed_To}});
            ranges_->AttachListView(ui->ListView_IpRange, false);
            ranges_->OnSetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
                rowWritten_ = e;
            };
            display_ = addRequest<New_req2Edit>(kRanges, {.kind = MVT_UMV,
                                                          .keyCount = 1,
                                                          .status = ui->StatusBar,
                                                          .asynchronous = true,
                                                          .timeout = kDisplayListTimeout});
            display_->skipText = msg::kFreeAddress;
            display_->watchedIndex = kRangeFrom;
            display_->AttachListView(ui->ListView_User, false);
            ranges_->Refresh();
            display_->Refresh();
        }

        limit_ = addRequest(kLimitState, {.status = ui->StatusBar, .asynchronous = true});
        pages::bind(*limit_, {{0, ui->CkBx_ManagerState}});
        limit_->OnGetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError&) {
            tidyAddresses();
            CkBx_ManagerStateClick();
        };
        limit_->OnSetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            limitWritten_ = e;
        };
        limit_->Refresh();

        telnet_ = addRequest(kTelnet, {.status = ui->StatusBar});
        pages::bind(*telnet_, {{tables::misc::kTelnetState, ui->CB_Telnet},
                               {tables::misc::kTimeout, ui->CB_Timeout}});
        telnet_->Refresh();
        ssh_ = addRequest(kSsh, {.silent = true});
        pages::bind(*ssh_, {{tables::misc::kSshState, ui->CB_SHH}});
        sshRead_ = ssh_->Refresh();
        ui->RB_SHH->setVisible(sshRead_);

        login_ = addRequest(kLogin, {.status = ui->StatusBar});
        pages::bind(*login_, {{tables::admin::kUserName, ui->Ed_Usr},
                              {tables::admin::kPassword, ui->Ed_Pwd}});
        if (login_->Refresh())
            storedPassword_ = ui->Ed_Pwd->text();
        // Only the old-password check needs it; no field shows it.
        ui->Ed_Pwd->clear();
        if (!rangesSupported_) {
            managers_ = addRequest(kManagerAddresses, {.kind = MVT_SV, .status = ui->StatusBar});
            pages::bind(*managers_, {{kManagerIp1, ui->Ed_IP1}, {kManagerIp2, ui->Ed_IP2}});
            managers_->Refresh();
        }

        trapCapability_ = addRequest(kTrapCapability, {.silent = true});
        pages::bind(*trapCapability_, {{0, ui->Ed_TrapSupport}});
        trapCapability_->Refresh();
        trapsShown_ = ui->Ed_TrapSupport->text() == QLatin1String("1");
        ui->GB_Trap->setVisible(trapsShown_);
        if (trapsShown_) {
            traps_ = addRequest(kTraps, {.status = ui->StatusBar, .asynchronous = true});
            pages::bind(*traps_, {{kTrapStatus, ui->RG_TrapStatus},
                                  {kSystemTrap, ui->Ch_SystemTrap},
                                  {kWirelessTrap, ui->Ch_WirelessTrap}});
            traps_->OnSetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
                trapsWritten_ = e;
            };
            traps_->Refresh();
        }
        pingCapability_ = addRequest(kPingCapability, {.silent = true});
        pages::bind(*pingCapability_, {{0, ui->Ed_PingSupport}});
        pingCapability_->Refresh();
        pingShown_ = ui->Ed_PingSupport->text() == QLatin1String("1");
        ui->GB_Ping->setVisible(pingShown_);
        if (pingShown_) {
            ping_ = addRequest(kPing, {.status = ui->StatusBar});
            pages::bind(*ping_, {{0, ui->CB_Ping}});
            ping_->Refresh();
        }
    });
    pages::login::setLimits(fields());
    for (QLineEdit* e : {ui->Ed_IP1, ui->Ed_IP2, ui->Ed_FromIP, ui->Ed_ToIP})
        QvEditHooks::of(*e).setMaxLength(kAddressLength);
    if (console::enabled(ui->CB_Telnet))
        ui->RB_Telnet->setChecked(true);
    else if (console::enabled(ui->CB_SHH) && sshRead_)
        ui->RB_SHH->setChecked(true);
    else
        ui->RB_None->setChecked(true);
    ui->CB_Timeout->setEnabled(!ui->RB_None->isChecked());
    rememberConsole();
    tidyAddresses();
    CkBx_ManagerStateClick();
}

bool TFM_Admin2::rangesListed() const {
    return !ranges_ || (!ranges_->busy && !display_->busy);
}

void TFM_Admin2::CancelClick() {
    close();
}

void TFM_Admin2::RB_NoneClick() {
    const bool none = ui->RB_None->isChecked();
    console::set(ui->CB_Telnet, ui->RB_Telnet->isChecked() ? console::kEnable : console::kDisable);
    console::set(ui->CB_SHH, ui->RB_SHH->isChecked() ? console::kEnable : console::kDisable);
    ui->CB_Timeout->setEnabled(!none);
}

void TFM_Admin2::CkBx_ManagerStateClick() {
    const bool on = ui->CkBx_ManagerState->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(ui->Ed_FromIP), static_cast<QWidget*>(ui->Ed_ToIP),
                       static_cast<QWidget*>(ui->Btn_Add)})
        w->setEnabled(on && rangesSupported_);
    for (QWidget* w : {ui->Ed_IP1, ui->Ed_IP2})
        w->setEnabled(on && !rangesSupported_);
    managerFlag_ = on && !rangesSupported_;
}

void TFM_Admin2::CheckBox_VIDClick() {
    ui->Ed_VID->setEnabled(ui->CheckBox_VID->isChecked());
}

void TFM_Admin2::ListView_UserClick() {
    ui->Btn_Del->setEnabled(!ui->ListView_User->selectedItems().isEmpty());
    CkBx_ManagerStateClick();
}

void TFM_Admin2::tidyAddresses() {
    for (QLineEdit* e : {ui->Ed_IP1, ui->Ed_IP2})
        if (e->text() == msg::kFreeAddress)
            e->clear();
    ui->Ed_FromIP->clear();
    ui->Ed_ToIP->clear();
    ui->Btn_Del->setEnabled(false);
}

QTreeWidgetItem* TFM_Admin2::findRow(const QString& from, const QString& to) const {
    for (int i = 0; i < ui->ListView_IpRange->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = ui->ListView_IpRange->topLevelItem(i);
        if (row->text(kRangeFrom) == from && row->text(kRangeTo) == to)
            return row;
    }
    return nullptr;
}

void TFM_Admin2::relist() {
    ui->ListView_IpRange->clear();
    ui->ListView_User->clear();
    display_->rowNumber = 1;
    ranges_->Refresh();
    display_->Refresh();
}

bool TFM_Admin2::writeRow(QTreeWidgetItem* row, const QString& from, const QString& to) {
    ui->ListView_IpRange->setCurrentItem(row);
    ranges_->SelectItem(ui->ListView_IpRange, row, true);
    ui->Ed_From->setText(from);
    ui->Ed_To->setText(to);
    rowWritten_ = {};
    if (!pages::apply(*ranges_, {.refreshAfter = false}))
        return false;
    pages::waitForAnswer(*ranges_);
    if (rowWritten_.code != 0)
        return false;
    relist();
    return true;
}

void TFM_Admin2::Btn_AddClick() {
    if (!ranges_)
        return;
    if (ui->ListView_User->topLevelItemCount() >= kMaxRanges) {
        ui->Ed_FromIP->clear();
        ui->Ed_ToIP->clear();
        return void(
            pages::refuse(QStringLiteral("Maximum number of IP Range List is 4!!"), msg::kWaring));
    }
    for (QLineEdit* e : {ui->Ed_FromIP, ui->Ed_ToIP})
        if (!qv::isHostAddress(e->text()))
            return void(pages::refuseAndClear(msg::kInvalidIpAddressLower, msg::kWaring, e));
    const QString from = ui->Ed_FromIP->text();
    const QString to = ui->Ed_ToIP->text();
    const quint32 newFrom = pages::dottedNumber(from);
    const quint32 newTo = pages::dottedNumber(to);
    if (newTo < newFrom)
        return void(pages::refuse(kInvalidRange, msg::kWarning, ui->Ed_FromIP));
    // Every used row is compared, not only those before the first free one.
    pages::waitForAnswer(*ranges_);
    QTreeWidgetItem* free = nullptr;
    for (int i = 0; i < ui->ListView_IpRange->topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = ui->ListView_IpRange->topLevelItem(i);
        const QString rowFrom = row->text(kRangeFrom);
        const QString rowTo = row->text(kRangeTo);
        if (rowFrom == msg::kFreeAddress && rowTo == msg::kFreeAddress) {
            if (!free)
                free = row;
            continue;
        }
        const quint32 low = pages::dottedNumber(rowFrom);
        const quint32 high = pages::dottedNumber(rowTo);
        const auto inside = [&](quint32 a) { return a >= low && a <= high; };
        if (inside(newFrom) || inside(newTo))
            return void(pages::refuse(kInvalidRange, msg::kWarning, ui->Ed_FromIP));
    }
    if (!free)
        return void(pages::refuse(QStringLiteral("There is no free row for another IP range."),
                                  msg::kWarning));
    if (!writeRow(free, from, to))
        return pages::showStatus(ui->StatusBar, msg::kSettingError);
    ui->Ed_FromIP->clear();
    ui->Ed_ToIP->clear();
    pages::showStatus(ui->StatusBar, msg::kSetOk);
}

void TFM_Admin2::Btn_DelClick() {
    const QList<QTreeWidgetItem*> selected = ui->ListView_User->selectedItems();
    if (!ranges_ || selected.isEmpty())
        return;
    pages::waitForAnswer(*ranges_);
    QTreeWidgetItem* row =
        findRow(selected.first()->text(kRangeFrom), selected.first()->text(kRangeTo));
    if (!row)
        return void(pages::refuse(
            QStringLiteral("The selected IP range is no longer on the device."), msg::kWarning));
    if (!writeRow(row, msg::kFreeAddress, msg::kFreeAddress))
        return pages::showStatus(ui->StatusBar, QStringLiteral("Delete Error!"));
    pages::showStatus(ui->StatusBar, QStringLiteral("Delete OK!"));
}

bool TFM_Admin2::writeAnswered(QvSNMPRequest2Edits& request, const QvSNMPError& result) {
    if (!pages::apply(request))
        return false;
    pages::waitForAnswer(request);
    return result.code == 0;
}

void TFM_Admin2::rememberConsole() {
    device_ = {ui->CB_Telnet->currentText(), ui->CB_Timeout->currentText(),
               ui->CB_SHH->currentText()};
}

bool TFM_Admin2::writeConsole() {
    return pages::writeInOrder({{telnet_}, {ssh_, sshRead_}});
}

void TFM_Admin2::restoreConsole() {
    console::set(ui->CB_Telnet, device_.telnet);
    console::set(ui->CB_SHH, device_.ssh);
    console::set(ui->CB_Timeout, device_.timeout);
    console::leaveOutUnchosen(*telnet_, tables::misc::kTimeout, ui->CB_Timeout);
    writeConsole();
}

bool TFM_Admin2::checksPass() {
    using pages::refuse;
    if (vidRead_) {
        if (ui->CheckBox_VID->isChecked() && (ui->CB_Mussid->currentText() == console::kDisable ||
                                              ui->CB_VLAN->currentText() == console::kDisable)) {
            ui->CheckBox_VID->setChecked(false);
            CheckBox_VIDClick();
            return refuse(QStringLiteral("Please enable Multi-SSID and VLAN first!"),
                          msg::kWarning);
        }
        // Only 0..4095: no sign, no other text.
        bool number = false;
        const int vid = ui->Ed_VID->text().toInt(&number);
        if (!number || vid < 0 || vid > kMaxVid || ui->Ed_VID->text().startsWith(u'+'))
            return pages::refuseAndClear(
                QStringLiteral("Please input a number between 0 and 4095.!"), msg::kWarning,
                ui->Ed_VID);
    }
    // Drop-downs that would be written must show a value of their list.
    if (!ui->RB_None->isChecked() && !pages::selectionsMade({ui->CB_Timeout}))
        return false;
    if (wlanRead_ && !pages::selectionsMade({ui->CB_WLAN}))
        return false;
    if (pingShown_ && !pages::selectionsMade({ui->CB_Ping}))
        return false;
    if (trapsShown_ && !pages::selectionsMade({ui->RG_TrapStatus}))
        return false;
    if (managerFlag_) {
        if (ui->Ed_IP1->text().isEmpty() && ui->Ed_IP2->text().isEmpty())
            return refuse(QStringLiteral("You at least must input one IP address!"), msg::kWarning,
                          ui->Ed_IP1);
        for (QLineEdit* e : {ui->Ed_IP1, ui->Ed_IP2}) {
            if (!e->text().isEmpty() && !qv::isHostAddress(e->text())) {
                tidyAddresses();
                return refuse(QStringLiteral("Invalid IP address!"), msg::kWarning, e);
            }
        }
    }
    // Every setting of the page guards management access: the current password proves the
    // right to change any of them, not only the login.
    return pages::login::checksPass(fields(), storedPassword_, [this] { tidyAddresses(); });
}

void TFM_Admin2::OKClick() {
    if (!checksPass())
        return;
    if (rangesSupported_ && ui->CkBx_ManagerState->isChecked()) {
        pages::waitForAnswer(*display_);
        if (ui->ListView_User->topLevelItemCount() == 0) {
            pages::refuse(QStringLiteral("The IP Range List is empty.\nThe Limit Administrator "
                                         "IP function will be disabled!!"),
                          msg::kWarning);
            ui->CkBx_ManagerState->setChecked(false);
            CkBx_ManagerStateClick();
            // The limit goes off; the operator's other changes are written as well.
        }
    }
    for (QLineEdit* e : {ui->Ed_IP1, ui->Ed_IP2})
        if (managerFlag_ && e->text().isEmpty())
            e->setText(msg::kFreeAddress);
    pages::login::prepareWrite(fields(), *login_, tables::admin::kPassword);

    // The console: with a protocol chosen, both go off first and then the chosen one on.
    const bool none = ui->RB_None->isChecked();
    telnet_->vars.item(tables::misc::kTimeout).access =
        none ? QvAccess::invalid : QvAccess::readwrite;
    bool consoleTouched = false;
    if (!none) {
        console::disableBoth(ui->CB_Telnet, ui->CB_SHH);
        consoleTouched = true;
        const bool off = writeConsole();
        RB_NoneClick();
        if (!off) {
            restoreConsole();
            ui->Ed_Pwd->clear();
            return pages::showStatus(ui->StatusBar, msg::kSettingError);
        }
    }
    bool consoleDone = false;
    const bool ok = pages::writeInOrder({
        {login_},
        {[this] { return writeAnswered(*limit_, limitWritten_); }},
        {managers_, managerFlag_},
        {[&] {
            consoleTouched = true;
            consoleDone = writeConsole();
            return consoleDone;
        }},
        {ping_, pingShown_},
        {[this] { return writeAnswered(*traps_, trapsWritten_); }, trapsShown_},
        {wlan_, wlanRead_},
        {vid_, vidRead_},
    });
    ui->Ed_Pwd->clear();
    if (!ok) {
        // A console switched off but not on again would lock the operator out.
        if (consoleTouched && !consoleDone)
            restoreConsole();
        return pages::showStatus(ui->StatusBar, msg::kSettingError);
    }
    if (!ui->Ed_NPwd->text().isEmpty())
        storedPassword_ = ui->Ed_NPwd->text();
    for (QLineEdit* e : {ui->Ed_OPwd, ui->Ed_NPwd, ui->Ed_CNP})
        e->clear();
    rememberConsole();
    pages::showStatus(ui->StatusBar, msg::kSetOk);
    tidyAddresses();
}
