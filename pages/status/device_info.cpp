#include "pages/status/device_info.h"

#include "app/menu_rules.h"
#include "app/module_texts.h"
#include "pages/common/edit_state.h"
#include "tables/device_info.h"

#include <QRegularExpression>

namespace tdi = tables::device_info;

TFM_DevInfo::TFM_DevInfo(QWidget* owner) : FormPage(owner) {
    // Every field is read-only, shown in the button-face colour.
    for (QLineEdit* field : findChildren<QLineEdit*>())
        pages::setWritable(field, false);
    // Room for twelve hex digits at each end of the secondary range.
    const int macWidth =
        ui->Ed_SecFirstMac->fontMetrics().horizontalAdvance(QStringLiteral("0000000000000")) + 12;
    ui->Ed_SecFirstMac->setMinimumWidth(macWidth);
    ui->Ed_SecSecMac->setMinimumWidth(macWidth);
    // The second radio tab stays hidden: this module manages radio instance 1 only.
    ui->PC_WirlessTraffic->setTabVisible(1, false);
    handle(ui->Bt_Refa, &QPushButton::clicked, &TFM_DevInfo::Bt_RefaClick);
    ui->Bt_Refa->setFocus(); // the one control to act on
    guard([this] { FormCreate(); });
}

QString TFM_DevInfo::secondaryMac(const QString& primary, int n) {
    static const QRegularExpression kMac(QStringLiteral("^[0-9A-Fa-f]{12}$"));
    if (!kMac.match(primary).hasMatch())
        return {};
    return QStringLiteral("04") + primary.at(2) + QString::number(n) + primary.mid(4);
}

bool TFM_DevInfo::apStatusSupported() const {
    return app::flagNumber(ui->Ed_ApStatusSupport->text()) == 1;
}

void TFM_DevInfo::FormCreate() {
    ui->PC_WirlessTraffic->setTabText(0, QString::fromLatin1(app::kBandName));
    radio_ = addRequest(tdi::kRadio, {.kind = MVT_SV, .status = ui->StatusBar});
    pages::bind(*radio_, {{tdi::kSsid, ui->Ed_SSIDa},
                          {tdi::kChannel, ui->Ed_Channela},
                          {tdi::kSuperMode, ui->Ed_SupModa},
                          {tdi::kDataRate, ui->Ed_DatRata},
                          {tdi::kAuthentication, ui->Ed_SecLevAutha},
                          {tdi::kPrivacy, ui->Ed_SecLevPria}});
    radio_->Refresh();
    showSuperMode();

    device_ = addRequest(tdi::kDevice);
    pages::bind(*device_, {{tdi::kFirmware, ui->Ed_Firmware},
                           {tdi::kMac, ui->Ed_Mac},
                           {tdi::kGetIpFrom, ui->Ed_GetIP},
                           {tdi::kIpAddress, ui->Ed_IPaddr},
                           {tdi::kSubnetMask, ui->Ed_SubMask},
                           {tdi::kGateway, ui->Ed_Gate}});
    device_->Refresh();
    ui->Ed_SecFirstMac->setText(secondaryMac(ui->Ed_Mac->text(), 1));
    ui->Ed_SecSecMac->setText(secondaryMac(ui->Ed_Mac->text(), 7));

    // Only a capability: a device without the object simply has no load figures.
    support_ = addRequest(tdi::kSupport, {.silent = true});
    pages::bind(*support_, {{tdi::kApStatusSupport, ui->Ed_ApStatusSupport}});
    support_->Refresh();
    const bool load = apStatusSupported();
    ui->GB_AP->setVisible(load);
    ui->ApBoxGap->setVisible(!load);
    if (load) {
        load_ = addRequest(tdi::kLoad, {.asynchronous = true});
        pages::bind(*load_, {{tdi::kCpu, ui->Ed_Cpu}, {tdi::kMemory, ui->Ed_Memory}});
        load_->Refresh();
    }
}

void TFM_DevInfo::showSuperMode() {
    const QString mode = ui->Ed_SupModa->text();
    const QString disabled = QStringLiteral("Disabled");
    if (pages::flagText(pages::flags::ED_Turbomode) == QStringLiteral("0"))
        ui->Ed_SupModusa->setText(mode == disabled ? disabled : QStringLiteral("Enabled"));
    else if (ui->Ed_Channela->text() != QStringLiteral("6") && mode != disabled)
        ui->Ed_SupModusa->setText(
            QStringLiteral("Super G without Turbo")); // turbo on channel 6 only
    else
        ui->Ed_SupModusa->setText(mode);
}

void TFM_DevInfo::Bt_RefaClick() {
    if (apStatusSupported() && load_)
        load_->Refresh();
    if (radio_)
        radio_->Refresh();
}
