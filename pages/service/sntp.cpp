#include "pages/service/sntp.h"

#include "app/wait_dialog.h"
#include "binding/address_checks.h"
#include "binding/edit_constraint.h"
#include "binding/edit_hooks.h"
#include "pages/common/messages.h"
#include "pages/common/selection.h"
#include "pages/transfer/command_step.h"
#include "pages/transfer/device_file.h"
#include "pages/transfer/transfer_server.h"
#include "platform/timers.h"
#include "tables/sntp.h"

#include <QFile>
#include <QLabel>
#include <QTimer>

using namespace tables::sntp;
namespace msg = pages::msg;

namespace {
const QString kListFile = QStringLiteral("SNTPFile.RD");
constexpr int kTimeout = 1000;     // hundredths of a second
constexpr int kTftpTimeout = 5000; // 10-ms units per block
constexpr int kTftpSends = 3;
constexpr int kTickMs = 1000;

void emptyFreeAddress(QLineEdit* edit) {
    if (edit->text() == msg::kFreeAddress)
        edit->clear();
}
} // namespace

TSNTPForm::TSNTPForm(QWidget* owner) : FormPage(owner) {
    handle(ui->Bt_Apply, &QPushButton::clicked, &TSNTPForm::Bt_ApplyClick);
    handle(ui->Bt_Cancel, &QPushButton::clicked, &TSNTPForm::Bt_CancelClick);
    handle(ui->CB_WSNTPTimeZone, &QComboBox::activated, &TSNTPForm::CB_WSNTPTimeZoneChange);
    status_ = pages::addStatusPanel(ui->StatusBar);
    setStatusOutput(status_);
    timer_ = platform::makeTimer(this, kTickMs);
    connect(timer_, &QTimer::timeout, this, [this] { guard([this] { Timer1Timer(); }); });
    QvEditHooks::of(*ui->Ed_WSNTPServ).setMaxLength(15);
    // Creation: no flag known, Apply waits for the list.
    daylight_.fill(false);
    countdown_ = 2;
    closePermission_ = true;
    ui->Bt_Apply->setEnabled(false);
    FormCreate();
}

TSNTPForm::~TSNTPForm() = default;

void TSNTPForm::report(const QString& text) {
    pages::showStatus(status_, text);
}

QString TSNTPForm::listPath() const {
    return file_ ? file_->path() : QString();
}

void TSNTPForm::FormCreate() {
    guard([this] {
        // The server first: a page without it closes at once, with nothing outstanding that
        // would hold it open.
        server_ = new pages::TransferServer(this, kTftpTimeout, kTftpSends, nullptr);
        if (!server_->started())
            return; // the operator has been told

        report(QStringLiteral("Getting..."));
        time_ = addRequest(kTime, {.status = status_, .asynchronous = true, .timeout = kTimeout});
        pages::bind(*time_, {{kServer, ui->Ed_WSNTPServ},
                             {kTimeZone, ui->CB_WSNTPTimeZone},
                             {kDaylightSaving, ui->CHB_DayLight},
                             {kTimeOfDay, ui->LabRLocalTime}});
        time_->OnGetComplete = [this](QvSNMPRequest2Controls&, const QvSNMPError& e) {
            onTimeRead(e);
        };
        time_->OnSetCompleteLater(this, [this](const QvSNMPError& e) { onTimeWritten(e); });
        time_->Refresh();
        file_ = new pages::DeviceFile(*server_, kListFile);
        connect(file_, &pages::DeviceFile::arrived, this, [this] { listEnded(true, {}); });
        connect(file_, &pages::DeviceFile::failed, this,
                [this](const QString& reason) { listEnded(false, reason); });

        list_ =
            addRequest(kZoneList, {.status = status_, .asynchronous = true, .timeout = kTimeout});
        pages::bind(*list_, {{kTftpServer, ui->Ed_TFTPServ},
                             {kFileName, ui->Ed_FileName},
                             {kGetListCommand, ui->CB_Get}});
        list_->OnSetCompleteLater(this, [this](const QvSNMPError& e) { onListCommandAnswered(e); });
        askForList();
    });
    if (!closePermission_ && (!list_ || !list_->busy)) {
        // Nothing was sent: nothing will answer.
        closePermission_ = true;
        ui->Bt_Apply->setEnabled(true);
    }
}

void TSNTPForm::askForList() {
    if (!file_->prepare(ui->Ed_TFTPServ)) {
        if (ui->Ed_TFTPServ->text().isEmpty())
            pages::refuse(QStringLiteral("Get IP Error!"), msg::kWarning);
        // Without the list the settings can still be changed.
        ui->Bt_Apply->setEnabled(true);
        return;
    }
    ui->Ed_FileName->setText(kListFile);
    ui->CB_Get->setCurrentIndex(ui->CB_Get->findText(QStringLiteral("get")));
    closePermission_ = false;
    if (!pages::apply(*list_, {.refreshAfter = false})) {
        closePermission_ = true;
        ui->Bt_Apply->setEnabled(true);
    }
}

bool TSNTPForm::FormCloseQuery() {
    return closePermission_ && Page::FormCloseQuery();
}

void TSNTPForm::onTimeRead(const QvSNMPError& result) {
    emptyFreeAddress(ui->Ed_WSNTPServ);
    if (result.code != 0)
        return;
    ui->LabRSNTPServ->setText(ui->Ed_WSNTPServ->text());
    ui->LabRSNTPTimeZone->setText(ui->CB_WSNTPTimeZone->currentText());
    report(QStringLiteral("Get OK!"));
    CB_WSNTPTimeZoneChange();
}

void TSNTPForm::onListCommandAnswered(const QvSNMPError& result) {
    if (result.code == 0) {
        countdown_ = 2;
        timer_->start();
    } else {
        countedDown_ = true; // a refusal ends the step at once
    }
    file_->answered(result);
}

void TSNTPForm::Timer1Timer() {
    if (countdown_ > 0) {
        --countdown_;
        return;
    }
    timer_->stop();
    countedDown_ = true;
    // A file still on its way ends the step when it has arrived or failed.
    if (listEnded_)
        finishListing();
}

void TSNTPForm::listEnded(bool arrived, const QString& reason) {
    listEnded_ = true;
    listArrived_ = arrived;
    listFailure_ = reason;
    if (countedDown_)
        finishListing();
}

void TSNTPForm::finishListing() {
    if (listArrived_) {
        report(QStringLiteral("Get Complete."));
        readList();
    } else {
        // Refused, or no whole file: daylight saving stays as the device reported it.
        report(listFailure_);
    }
    CB_WSNTPTimeZoneChange();
    closePermission_ = true;
    ui->Bt_Apply->setEnabled(true);
}

void TSNTPForm::readList() {
    QFile f(file_->path());
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return; // the flags stay as they were
    // One flag per zone, from the first character of its line; lines past the last zone are
    // ignored.
    for (int zone = 0; zone < kZones && !f.atEnd(); ++zone) {
        const QByteArray line = f.readLine();
        daylight_[static_cast<size_t>(zone)] = !line.isEmpty() && line[0] >= '1' && line[0] <= '9';
    }
    listKnown_ = true;
}

void TSNTPForm::CB_WSNTPTimeZoneChange() {
    const int zone = ui->CB_WSNTPTimeZone->currentIndex();
    // No list, no knowledge: the device's setting is left as it is.
    if (zone < 0 || zone >= kZones || !listKnown_)
        return;
    if (daylight_[static_cast<size_t>(zone)]) {
        ui->CHB_DayLight->setEnabled(true);
    } else {
        ui->CHB_DayLight->setChecked(false);
        ui->CHB_DayLight->setEnabled(false);
    }
}

void TSNTPForm::Bt_ApplyClick() {
    QLineEdit* server = ui->Ed_WSNTPServ;
    if (!server->text().isEmpty() && !qv::isHostAddress(server->text()))
        return void(pages::refuseAndClear(msg::kInvalidIpAddressLower, msg::kWaring, server));
    if (!pages::selectionsMade({ui->CB_WSNTPTimeZone}))
        return;
    if (server->text().isEmpty())
        server->setText(msg::kFreeAddress);
    report(QStringLiteral("Set..."));
    closePermission_ = false;
    ui->Bt_Apply->setEnabled(false);
    const bool sent = pages::apply(*time_, {.refreshAfter = false});
    emptyFreeAddress(server);
    if (!sent) {
        report(QStringLiteral("Setting Error"));
        closePermission_ = true;
        ui->Bt_Apply->setEnabled(true);
    }
}

void TSNTPForm::onTimeWritten(const QvSNMPError& result) {
    closePermission_ = true;
    ui->Bt_Apply->setEnabled(true);
    if (result.code != 0)
        return report(QStringLiteral("Setting error!"));
    // Success is shown once the device has answered, then the change is restarted into effect.
    report(QStringLiteral("Setting success!"));
    pages::waitForRestartUnlessSaved(this);
    time_->Refresh();
}

void TSNTPForm::Bt_CancelClick() {
    close();
}
