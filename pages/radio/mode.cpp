#include "pages/radio/mode.h"

#include "app/module_texts.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/edit_state.h"
#include "pages/common/messages.h"
#include "pages/common/selection.h"
#include "tables/mode.h"

namespace tm_ = tables::mode;
namespace msg = pages::msg;

namespace {
enum ModePosition { kAccessPoint = 0, kPtpBridge = 1, kPtmpBridge = 2 };
constexpr int kMacDigits = 12;
} // namespace

TFM_ModeCFG::TFM_ModeCFG(QWidget* owner) : FormPage(owner) {
    addresses_ = {ui->Ed_ReMAddra0, ui->Ed_ReMAddra1, ui->Ed_ReMAddra2, ui->Ed_ReMAddra3,
                  ui->Ed_ReMAddra4, ui->Ed_ReMAddra5, ui->Ed_ReMAddra6, ui->Ed_ReMAddra7};
    // The second radio's tab stays hidden: the module manages radio instance 1.
    ui->PC_Mode->setTabVisible(ui->PC_Mode->indexOf(ui->TS_80211g), false);
    handle(ui->CB_11a_APM, &QComboBox::currentIndexChanged, &TFM_ModeCFG::CB_11a_APMChange);
    handle(ui->Bt_Apply, &QPushButton::clicked, &TFM_ModeCFG::Bt_ApplyClick);
    handle(ui->Bt_Refresh, &QPushButton::clicked, &TFM_ModeCFG::Bt_RefreshClick);
    handle(ui->Bt_Close, &QPushButton::clicked, &TFM_ModeCFG::Bt_CloseClick);
    guard([this] { FormCreate(); });
}

void TFM_ModeCFG::FormCreate() {
    ui->PC_Mode->setTabText(ui->PC_Mode->indexOf(ui->TS_80211a),
                            QString::fromLatin1(app::kBandName));
    mode_ = addRequest(tm_::kModeList, {.kind = MVT_SV});
    pages::bind(*mode_, {{tm_::kApMode, ui->CB_11a_APM}});
    for (int i = 0; i < tm_::kRemoteMacs; ++i)
        mode_->BindFormat(tm_::kRemoteMac1 + i, QStringLiteral("%h"), addresses_[i]);
    mode_->Refresh();
    addressRule();
    for (QLineEdit* edit : addresses_)
        QvEditHooks::of(*edit).setMaxLength(kMacDigits);
}

void TFM_ModeCFG::clearEmptyAddresses() {
    for (QLineEdit* edit : addresses_)
        if (edit->text() == kNoAddress)
            edit->clear();
}

void TFM_ModeCFG::addressRule() {
    clearEmptyAddresses();
    int writable = 0; // how many of the edits, from the first
    switch (ui->CB_11a_APM->currentIndex()) {
    case kAccessPoint:
        break;
    case kPtpBridge:
        writable = 1;
        break;
    case kPtmpBridge:
        writable = tm_::kRemoteMacs;
        break;
    default:
        return; // a mode outside the list: the edits keep their state
    }
    for (int i = 0; i < tm_::kRemoteMacs; ++i)
        pages::setWritable(addresses_[i], i < writable);
}

void TFM_ModeCFG::CB_11a_APMChange() {
    addressRule();
}

void TFM_ModeCFG::Bt_RefreshClick() {
    mode_->Refresh();
    addressRule();
}

bool TFM_ModeCFG::noRepeatedAddress() {
    // In every mode, read-only fields too; an empty field is never a repeat.
    for (int i = tm_::kRemoteMacs - 1; i >= 1; --i) {
        const QString text = addresses_[i]->text();
        if (text.isEmpty())
            continue;
        for (int j = 0; j < i; ++j)
            if (addresses_[j]->text() == text)
                return pages::refuse(QStringLiteral("Exsit same MAC address."), msg::kWarning,
                                     addresses_[i]);
    }
    return true;
}

void TFM_ModeCFG::includeAllAddresses() {
    for (int i = 0; i < tm_::kRemoteMacs; ++i)
        mode_->vars.item(tm_::kRemoteMac1 + i).access = QvAccess::readwrite;
}

bool TFM_ModeCFG::addressLengthsFit() {
    for (int i = 0; i < tm_::kRemoteMacs; ++i)
        mode_->vars.item(tm_::kRemoteMac1 + i).access = QvAccess::invalid;
    auto fillEmpty = [](QLineEdit* edit) {
        if (edit->text().isEmpty())
            edit->setText(kNoAddress);
    };
    switch (ui->CB_11a_APM->currentIndex()) {
    case kPtpBridge:
        fillEmpty(addresses_[0]);
        if (addresses_[0]->text().size() != kMacDigits)
            return pages::refuse(
                QStringLiteral("The length is 12 in IEEE802.11g Root AP MAC Address."),
                msg::kError);
        mode_->vars.item(tm_::kRemoteMac1).access = QvAccess::readwrite;
        return true;
    case kPtmpBridge:
        for (QLineEdit* edit : addresses_)
            fillEmpty(edit);
        for (int i = 0; i < tm_::kRemoteMacs; ++i) {
            if (addresses_[i]->text().size() == kMacDigits)
                continue;
            if (i == 0)
                addresses_[0]->clear();
            return pages::refuse(QStringLiteral("The length is 12 in IEEE802.11g MAC address."),
                                 msg::kError);
        }
        includeAllAddresses();
        return true;
    default:
        return true; // "Access Point" (or no mode): no address is written
    }
}

void TFM_ModeCFG::Bt_ApplyClick() {
    if (!noRepeatedAddress())
        return;
    // Whatever this Apply leaves out, Refresh reads every address again afterwards: the
    // device's entries, never the fields' stale texts.
    struct IncludeAgain {
        TFM_ModeCFG* page;
        ~IncludeAgain() { page->includeAllAddresses(); }
    } includeAgain{this};
    if (!addressLengthsFit())
        return pages::showStatus(ui->StatusBar, msg::k11gSettingError);
    if (!pages::selectionsMade({ui->CB_11a_APM}))
        return;
    if (!pages::apply(*mode_))
        return pages::showStatus(ui->StatusBar, msg::k11gSettingError);
    pages::showStatus(ui->StatusBar, msg::k11gSettingSuccess);
    clearEmptyAddresses();
    // The dialog's own restart step decides whether the command goes out.
    pages::waitForRestart(this);
}

void TFM_ModeCFG::Bt_CloseClick() {
    close();
}
