#include "pages/service/wlan_partition.h"

#include "app/module_texts.h"
#include "pages/common/messages.h"
#include "platform/prompter.h"
#include "tables/wlan_partition.h"

using namespace tables::wlan_partition;
namespace msg = pages::msg;

TFM_WPart::TFM_WPart(QWidget* owner) : FormPage(owner) {
    handle(ui->BT_Apply, &QPushButton::clicked, &TFM_WPart::BT_ApplyClick);
    handle(ui->BT_Cancel, &QPushButton::clicked, &TFM_WPart::BT_CancelClick);
    // The operator's click only: the device's value shown at opening asks nothing.
    handle(ui->CB_WLANAccessa, &QCheckBox::clicked, &TFM_WPart::CB_WLANAccessaClick);
    const QString band = QString::fromLatin1(app::kBandName);
    ui->CB_Wband->addItems({band, band});
    ui->CB_Wband->setCurrentIndex(0);
    FormCreate();
}

TFM_WPart::~TFM_WPart() = default;

void TFM_WPart::FormCreate() {
    guard([this] {
        partition_ = addRequest(kPartition, {.kind = MVT_SV, .status = ui->StatusBar1});
        pages::bind(*partition_, {{kStationConnection, ui->CB_statconneta},
                                  {kEthernetToWlan, ui->CB_WLANAccessa}});
        partition_->Refresh();
    });
}

void TFM_WPart::CB_WLANAccessaClick() {
    if (ui->CB_WLANAccessa->isChecked())
        return;
    if (!platform::confirm(msg::kWarning, QStringLiteral("AP will block all multicast/broadcast "
                                                         "packets from Ethernet to Wireless, "
                                                         "except DHCP's")))
        ui->CB_WLANAccessa->setChecked(true);
}

void TFM_WPart::BT_ApplyClick() {
    if (!pages::apply(*partition_, {.refreshAfter = false}))
        return pages::showStatus(ui->StatusBar1, msg::kSettingError);
    pages::waitForRestartUnlessSaved(this);
    pages::showStatus(ui->StatusBar1, QStringLiteral("Setting OK!"));
}

void TFM_WPart::BT_CancelClick() {
    close();
}
