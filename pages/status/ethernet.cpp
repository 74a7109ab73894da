#include "pages/status/ethernet.h"

#include "pages/common/edit_state.h"
#include "tables/ethernet.h"

namespace te = tables::ethernet;

TFM_Ethernet::TFM_Ethernet(QWidget* owner) : FormPage(owner) {
    // The counters read like labels: read-only, without a frame, in the button-face colour.
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        pages::setWritable(field, false);
        field->setFrame(false);
    }
    handle(ui->Bt_RfrshE, &QPushButton::clicked, &TFM_Ethernet::Bt_RfrshEClick);
    guard([this] { FormCreate(); });
}

void TFM_Ethernet::FormCreate() {
    // Asynchronous: the edits are filled when the answer arrives. A failed read keeps the
    // previous counts; the binding layer reports it.
    counters_ = addRequest(te::kCounters, {.asynchronous = true});
    pages::bind(*counters_, {{te::kTxFrames, ui->Ed_TxTfc},
                             {te::kRxFrames, ui->Ed_RxRfc},
                             {te::kTxBytes, ui->Ed_TxTbc},
                             {te::kRxBytes, ui->Ed_RxRbc}});
    counters_->Refresh();
}

void TFM_Ethernet::Bt_RfrshEClick() {
    counters_->Refresh();
}
