#include "pages/service/static_ip.h"

#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/address_pool.h"
#include "pages/common/address_probe.h"
#include "pages/common/mac_text.h"
#include "pages/common/messages.h"
#include "pages/common/page.h"
#include "pages/service/dhcp.h"
#include "snmplib/qv_exception.h"
#include "tables/dhcp.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

namespace {

namespace msg = pages::msg;
using pages::kFreeMac;

bool refuseAndClear(const QString& text, QLineEdit* field) {
    return pages::refuseAndClear(text, msg::kWaring, field);
}

} // namespace

TFM_StaticIP::TFM_StaticIP(TFM_DHCP* page)
    : QDialog(page), ui(std::make_unique<Ui::TFM_StaticIP>()), page_(page) {
    ui->setupUi(this);
    setModal(true);
    connect(ui->Apply, &QPushButton::clicked, this, &TFM_StaticIP::ApplyClick);
    connect(ui->Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFM_StaticIP::~TFM_StaticIP() = default;

void TFM_StaticIP::setLengthLimits() {
    QvEditHooks::of(*ui->Ed_DomNa).setMaxLength(64);
    for (QLineEdit* e : {ui->Ed_AsgIP, ui->Ed_SubMask, ui->Ed_Gatway, ui->Ed_Wins, ui->Ed_DNS})
        QvEditHooks::of(*e).setMaxLength(15);
    QvEditHooks::of(*ui->Ed_AsgMac).setMaxLength(12);
}

bool TFM_StaticIP::addMode() const {
    return ui->Ed_OldIP->isEnabled();
}

void TFM_StaticIP::prepareAdd() {
    ui->Ed_OldIP->setEnabled(true);
    for (QLineEdit* e : {ui->Ed_AsgIP, ui->Ed_AsgMac}) {
        e->setReadOnly(false);
        e->setEnabled(true);
    }
}

void TFM_StaticIP::prepareChange() {
    ui->Ed_OldIP->setText(ui->Ed_AsgIP->text());
    ui->ED_OldMAC->setText(ui->Ed_AsgMac->text());
    kept = {ui->Ed_SubMask->text(), ui->Ed_Gatway->text(), ui->Ed_Wins->text(),
            ui->Ed_DNS->text(),     ui->Ed_DomNa->text(),  ui->CB_Stat->currentText()};
    ui->Ed_OldIP->setEnabled(false);
    for (QLineEdit* e : {ui->Ed_AsgIP, ui->Ed_AsgMac}) {
        e->setReadOnly(false);
        e->setEnabled(true);
    }
}

void TFM_StaticIP::loadEmptyEntry() {
    ui->Ed_AsgIP->setText(msg::kFreeAddress);
    ui->Ed_AsgMac->setText(kFreeMac);
    for (QLineEdit* e : {ui->Ed_SubMask, ui->Ed_Gatway, ui->Ed_Wins, ui->Ed_DNS})
        e->setText(msg::kFreeAddress);
    ui->Ed_DomNa->clear();
    ui->CB_Stat->setCurrentIndex(ui->CB_Stat->findText(QStringLiteral("OFF")));
}

void TFM_StaticIP::keepEntry() {
    ui->Ed_AsgIP2->setText(ui->Ed_AsgIP->text());
    ui->Ed_AsgMac2->setText(ui->Ed_AsgMac->text());
    ui->Ed_SubMask2->setText(ui->Ed_SubMask->text());
    ui->Ed_Gatway2->setText(ui->Ed_Gatway->text());
    ui->Ed_Wins2->setText(ui->Ed_Wins->text());
    ui->Ed_DNS2->setText(ui->Ed_DNS->text());
    ui->Ed_DomNa2->setText(ui->Ed_DomNa->text());
    stat2 = ui->CB_Stat->currentText();
}

void TFM_StaticIP::restoreEntry() {
    ui->Ed_AsgIP->setText(ui->Ed_AsgIP2->text());
    ui->Ed_AsgMac->setText(ui->Ed_AsgMac2->text());
    ui->Ed_SubMask->setText(ui->Ed_SubMask2->text());
    ui->Ed_Gatway->setText(ui->Ed_Gatway2->text());
    ui->Ed_Wins->setText(ui->Ed_Wins2->text());
    ui->Ed_DNS->setText(ui->Ed_DNS2->text());
    ui->Ed_DomNa->setText(ui->Ed_DomNa2->text());
    // The status is part of the entry: it must not come back as the cleared slot's "OFF".
    ui->CB_Stat->setCurrentIndex(ui->CB_Stat->findText(stat2));
    fillBlankAddresses();
}

void TFM_StaticIP::fillBlankAddresses() {
    for (QLineEdit* e : {ui->Ed_SubMask, ui->Ed_Gatway, ui->Ed_Wins, ui->Ed_DNS})
        if (e->text().isEmpty())
            e->setText(msg::kFreeAddress);
}

bool TFM_StaticIP::checksPass() {
    using pages::refuse;
    const QString ip = ui->Ed_AsgIP->text();
    QTreeWidget* slotList = page_->ui->LV_StaticPoolSet;
    const int index = ui->LA_Index->text().toInt();
    for (int i = 0; i < slotList->topLevelItemCount(); ++i)
        if (slotList->topLevelItem(i)->text(tables::dhcp::kSlotIp) == ip && i + 1 != index &&
            ip != msg::kFreeAddress)
            return refuse(QStringLiteral("Reject: The IP has already existed. "), msg::kWarning);
    const QString mask = ui->Ed_SubMask->text();
    if (!mask.isEmpty() && (!qv::isSubnetMask(mask) || mask == msg::kFreeAddress))
        return refuseAndClear(QStringLiteral("Please input valid SubMask."), ui->Ed_SubMask);
    const QString gateway = ui->Ed_Gatway->text();
    if (!gateway.isEmpty() && (!qv::isHostAddress(gateway) || gateway == msg::kFreeAddress))
        return refuseAndClear(QStringLiteral("Please input valid Gateway."), ui->Ed_Gatway);
    const QString wins = ui->Ed_Wins->text();
    if (!wins.isEmpty() && wins != msg::kFreeAddress && !qv::isHostAddress(wins))
        return refuseAndClear(QStringLiteral("Please input valid Wins."), ui->Ed_Wins);
    const QString dns = ui->Ed_DNS->text();
    if (!dns.isEmpty() && dns != msg::kFreeAddress && !qv::isHostAddress(dns))
        return refuseAndClear(QStringLiteral("Please input valid DNS."), ui->Ed_DNS);
    if (!qv::isHostAddress(ip))
        return refuseAndClear(QStringLiteral("Please input valid IP address"), ui->Ed_AsgIP);
    if ((addMode() || ip != ui->Ed_OldIP->text()) && pages::addressAnswers(ip))
        return refuse(QStringLiteral("Reject: The IP already has been used."), msg::kWarning,
                      ui->Ed_AsgIP);
    const QString mac = ui->Ed_AsgMac->text();
    if (mac.size() < 12 || mac == kFreeMac)
        return refuse(QStringLiteral("Please input valid MAC."), msg::kWarning);
    if (pages::inPool(ip, page_->ui->Ed_IPAF->text(), page_->ui->Ed_PoolRan->text()))
        return refuse(QStringLiteral("Reject: The IP has already existed in IP Dynamic pool."),
                      msg::kWarning);
    if (ip == page_->ui->Ed_ext->text())
        return refuse(QStringLiteral("Reject: The IP is the system IP."), msg::kWarning);
    return true;
}

void TFM_StaticIP::ApplyClick() {
    try {
        if (!checksPass())
            return;
        if (addMode()) {
            // An entry whose MAC already has a slot replaces that slot.
            QTreeWidgetItem* same = page_->findSlot(tables::dhcp::kSlotMac, ui->Ed_AsgMac->text());
            if (!same) {
                page_->writeSlot(false);
            } else {
                keepEntry();
                page_->selectSlot(same);
                restoreEntry();
                page_->writeSlot(true);
            }
        } else {
            if (ui->Ed_AsgIP->text() == ui->Ed_OldIP->text() &&
                !macMatches(ui->ED_OldMAC->text(), ui->Ed_AsgMac->text())) {
                // Only the MAC changed: put the entry back as it was.
                ui->Ed_AsgIP->setText(ui->Ed_OldIP->text());
                ui->Ed_AsgMac->setText(ui->ED_OldMAC->text());
                ui->Ed_SubMask->setText(kept.mask);
                ui->Ed_Gatway->setText(kept.gateway);
                ui->Ed_Wins->setText(kept.wins);
                ui->Ed_DNS->setText(kept.dns);
                ui->Ed_DomNa->setText(kept.domain);
                ui->CB_Stat->setCurrentIndex(ui->CB_Stat->findText(kept.status));
                pages::refuse(
                    QStringLiteral("Reject: DHCPS static IP already exists in static DHCP server!"),
                    msg::kWarning);
                return;
            }
            keepEntry();
            if (QTreeWidgetItem* same =
                    page_->findSlot(tables::dhcp::kSlotMac, ui->Ed_AsgMac->text()))
                page_->selectSlot(same);
            restoreEntry();
            page_->writeSlot(true);
        }
    } catch (const QvException& e) {
        pages::refuse(e.text(), msg::kWarning);
        return;
    }
    hide();
    page_->waitAfterSlotWrite();
    accept();
}
