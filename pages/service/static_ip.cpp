#include "pages/service/static_ip.h"

#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/address_pool.h"
#include "pages/common/address_probe.h"
#include "pages/common/page.h"
#include "pages/service/dhcp.h"
#include "snmplib/qv_exception.h"
#include "tables/dhcp.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kFreeIp = QStringLiteral("0.0.0.0");
const QString kFreeMac = QStringLiteral("000000000000");
const QString kWarning = QStringLiteral("Warning");
const QString kWaring = QStringLiteral("Waring");

QLineEdit* edit(QWidget* parent, const char* name, bool hidden = false) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    if (hidden)
        e->hide();
    return e;
}

bool refuseAndClear(const QString& text, QLineEdit* field) {
    field->clear();
    return pages::refuse(text, kWaring, field);
}

} // namespace

bool macMatches(const QString& stored, const QString& entered) {
    // The device lists MACs in upper case; the operator may type either case.
    return !entered.isEmpty() && stored.compare(entered, Qt::CaseInsensitive) == 0;
}

TFM_StaticIP::TFM_StaticIP(TFM_DHCP* page) : QDialog(page), page_(page) {
    setObjectName(QStringLiteral("FM_StaticIP"));
    setWindowTitle(QStringLiteral("Static Pool Settings"));
    setModal(true);

    LA_Index = new QLabel(this);
    LA_Index->setObjectName(QStringLiteral("LA_Index"));
    LA_Index->hide();
    Ed_AsgIP = edit(this, "Ed_AsgIP");
    Ed_AsgMac = edit(this, "Ed_AsgMac");
    Ed_SubMask = edit(this, "Ed_SubMask");
    Ed_Gatway = edit(this, "Ed_Gatway");
    Ed_Wins = edit(this, "Ed_Wins");
    Ed_DNS = edit(this, "Ed_DNS");
    Ed_DomNa = edit(this, "Ed_DomNa");
    CB_Stat = new QComboBox(this);
    CB_Stat->setObjectName(QStringLiteral("CB_Stat"));
    Ed_OldIP = edit(this, "Ed_OldIP", true);
    ED_OldMAC = edit(this, "ED_OldMAC", true);
    Ed_AsgIP2 = edit(this, "Ed_AsgIP2", true);
    Ed_AsgMac2 = edit(this, "Ed_AsgMac2", true);
    Ed_SubMask2 = edit(this, "Ed_SubMask2", true);
    Ed_Gatway2 = edit(this, "Ed_Gatway2", true);
    Ed_Wins2 = edit(this, "Ed_Wins2", true);
    Ed_DNS2 = edit(this, "Ed_DNS2", true);
    Ed_DomNa2 = edit(this, "Ed_DomNa2", true);

    auto* form = new QFormLayout;
    const std::pair<const char*, QWidget*> rows[] = {
        {"IP Address", Ed_AsgIP},  {"MAC Address", Ed_AsgMac}, {"SubMask", Ed_SubMask},
        {"Gateway", Ed_Gatway},    {"Wins", Ed_Wins},          {"DNS", Ed_DNS},
        {"Domain Name", Ed_DomNa}, {"Status", CB_Stat},
    };
    for (const auto& [caption, control] : rows) {
        auto* l = new QLabel(QString::fromLatin1(caption), this);
        l->setBuddy(control);
        form->addRow(l, control);
    }
    Apply = new QPushButton(QStringLiteral("Apply"), this);
    Apply->setObjectName(QStringLiteral("Apply"));
    Cancel = new QPushButton(QStringLiteral("Cancel"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Apply);
    buttons->addWidget(Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);

    connect(Apply, &QPushButton::clicked, this, &TFM_StaticIP::ApplyClick);
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

TFM_StaticIP::~TFM_StaticIP() = default;

void TFM_StaticIP::setLengthLimits() {
    QvEditHooks::of(*Ed_DomNa).setMaxLength(64);
    for (QLineEdit* e : {Ed_AsgIP, Ed_SubMask, Ed_Gatway, Ed_Wins, Ed_DNS})
        QvEditHooks::of(*e).setMaxLength(15);
    QvEditHooks::of(*Ed_AsgMac).setMaxLength(12);
}

bool TFM_StaticIP::addMode() const {
    return Ed_OldIP->isEnabled();
}

void TFM_StaticIP::prepareAdd() {
    Ed_OldIP->setEnabled(true);
    for (QLineEdit* e : {Ed_AsgIP, Ed_AsgMac}) {
        e->setReadOnly(false);
        e->setEnabled(true);
    }
}

void TFM_StaticIP::prepareChange() {
    Ed_OldIP->setText(Ed_AsgIP->text());
    ED_OldMAC->setText(Ed_AsgMac->text());
    kept = {Ed_SubMask->text(), Ed_Gatway->text(), Ed_Wins->text(),
            Ed_DNS->text(),     Ed_DomNa->text(),  CB_Stat->currentText()};
    Ed_OldIP->setEnabled(false);
    for (QLineEdit* e : {Ed_AsgIP, Ed_AsgMac}) {
        e->setReadOnly(false);
        e->setEnabled(true);
    }
}

void TFM_StaticIP::loadEmptyEntry() {
    Ed_AsgIP->setText(kFreeIp);
    Ed_AsgMac->setText(kFreeMac);
    for (QLineEdit* e : {Ed_SubMask, Ed_Gatway, Ed_Wins, Ed_DNS})
        e->setText(kFreeIp);
    Ed_DomNa->clear();
    CB_Stat->setCurrentIndex(CB_Stat->findText(QStringLiteral("OFF")));
}

void TFM_StaticIP::keepEntry() {
    Ed_AsgIP2->setText(Ed_AsgIP->text());
    Ed_AsgMac2->setText(Ed_AsgMac->text());
    Ed_SubMask2->setText(Ed_SubMask->text());
    Ed_Gatway2->setText(Ed_Gatway->text());
    Ed_Wins2->setText(Ed_Wins->text());
    Ed_DNS2->setText(Ed_DNS->text());
    Ed_DomNa2->setText(Ed_DomNa->text());
    stat2 = CB_Stat->currentText();
}

void TFM_StaticIP::restoreEntry() {
    Ed_AsgIP->setText(Ed_AsgIP2->text());
    Ed_AsgMac->setText(Ed_AsgMac2->text());
    Ed_SubMask->setText(Ed_SubMask2->text());
    Ed_Gatway->setText(Ed_Gatway2->text());
    Ed_Wins->setText(Ed_Wins2->text());
    Ed_DNS->setText(Ed_DNS2->text());
    Ed_DomNa->setText(Ed_DomNa2->text());
    // The status is part of the entry: it must not come back as the cleared slot's "OFF".
    CB_Stat->setCurrentIndex(CB_Stat->findText(stat2));
    fillBlankAddresses();
}

void TFM_StaticIP::fillBlankAddresses() {
    for (QLineEdit* e : {Ed_SubMask, Ed_Gatway, Ed_Wins, Ed_DNS})
        if (e->text().isEmpty())
            e->setText(kFreeIp);
}

bool TFM_StaticIP::checksPass() {
    using pages::refuse;
    const QString ip = Ed_AsgIP->text();
    QTreeWidget* slotList = page_->LV_StaticPoolSet;
    const int index = LA_Index->text().toInt();
    for (int i = 0; i < slotList->topLevelItemCount(); ++i)
        if (slotList->topLevelItem(i)->text(tables::dhcp::kSlotIp) == ip && i + 1 != index &&
            ip != kFreeIp)
            return refuse(QStringLiteral("Reject: The IP has already existed. "), kWarning);
    const QString mask = Ed_SubMask->text();
    if (!mask.isEmpty() && (!qv::isSubnetMask(mask) || mask == kFreeIp))
        return refuseAndClear(QStringLiteral("Please input valid SubMask."), Ed_SubMask);
    const QString gateway = Ed_Gatway->text();
    if (!gateway.isEmpty() && (!qv::isHostAddress(gateway) || gateway == kFreeIp))
        return refuseAndClear(QStringLiteral("Please input valid Gateway."), Ed_Gatway);
    const QString wins = Ed_Wins->text();
    if (!wins.isEmpty() && wins != kFreeIp && !qv::isHostAddress(wins))
        return refuseAndClear(QStringLiteral("Please input valid Wins."), Ed_Wins);
    const QString dns = Ed_DNS->text();
    if (!dns.isEmpty() && dns != kFreeIp && !qv::isHostAddress(dns))
        return refuseAndClear(QStringLiteral("Please input valid DNS."), Ed_DNS);
    if (!qv::isHostAddress(ip))
        return refuseAndClear(QStringLiteral("Please input valid IP address"), Ed_AsgIP);
    if ((addMode() || ip != Ed_OldIP->text()) && pages::addressAnswers(ip))
        return refuse(QStringLiteral("Reject: The IP already has been used."), kWarning, Ed_AsgIP);
    const QString mac = Ed_AsgMac->text();
    if (mac.size() < 12 || mac == kFreeMac)
        return refuse(QStringLiteral("Please input valid MAC."), kWarning);
    if (pages::inPool(ip, page_->Ed_IPAF->text(), page_->Ed_PoolRan->text()))
        return refuse(QStringLiteral("Reject: The IP has already existed in IP Dynamic pool."),
                      kWarning);
    if (ip == page_->Ed_ext->text())
        return refuse(QStringLiteral("Reject: The IP is the system IP."), kWarning);
    return true;
}

void TFM_StaticIP::ApplyClick() {
    try {
        if (!checksPass())
            return;
        if (addMode()) {
            // An entry whose MAC already has a slot replaces that slot.
            QTreeWidgetItem* same = page_->findSlot(tables::dhcp::kSlotMac, Ed_AsgMac->text());
            if (!same) {
                page_->writeSlot(false);
            } else {
                keepEntry();
                page_->selectSlot(same);
                restoreEntry();
                page_->writeSlot(true);
            }
        } else {
            if (Ed_AsgIP->text() == Ed_OldIP->text() &&
                !macMatches(ED_OldMAC->text(), Ed_AsgMac->text())) {
                // Only the MAC changed: put the entry back as it was.
                Ed_AsgIP->setText(Ed_OldIP->text());
                Ed_AsgMac->setText(ED_OldMAC->text());
                Ed_SubMask->setText(kept.mask);
                Ed_Gatway->setText(kept.gateway);
                Ed_Wins->setText(kept.wins);
                Ed_DNS->setText(kept.dns);
                Ed_DomNa->setText(kept.domain);
                CB_Stat->setCurrentIndex(CB_Stat->findText(kept.status));
                pages::refuse(
                    QStringLiteral("Reject: DHCPS static IP already exists in static DHCP server!"),
                    kWarning);
                return;
            }
            keepEntry();
            if (QTreeWidgetItem* same = page_->findSlot(tables::dhcp::kSlotMac, Ed_AsgMac->text()))
                page_->selectSlot(same);
            restoreEntry();
            page_->writeSlot(true);
        }
    } catch (const QvException& e) {
        pages::refuse(e.text(), kWarning);
        return;
    }
    hide();
    page_->waitAfterSlotWrite();
    accept();
}
