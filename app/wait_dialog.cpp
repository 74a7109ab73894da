#include "app/wait_dialog.h"

#include "app/main_window.h"
#include "binding/request2edits.h"
#include "platform/timers.h"
#include "snmplib/qv_exception.h"
#include "tables/main_window.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace app {
namespace {
bool saveSupportedFlag = false;
}
bool saveSupported() {
    return saveSupportedFlag;
}
void setSaveSupported(bool supported) {
    saveSupportedFlag = supported;
}
} // namespace app

TFM_Waiting::TFM_Waiting(QWidget* owner) : QDialog(owner ? owner : app::mainForm()) {
    setObjectName(QStringLiteral("FM_Waiting"));
    setWindowTitle(QStringLiteral("Please wait"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint);

    Label2 = new QLabel(QStringLiteral("Settings saved."), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3 = new QLabel(QStringLiteral("The device is restarting."), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label1 = new QLabel(QStringLiteral("Please waiting for"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    La_Time = new QLabel(this);
    La_Time->setObjectName(QStringLiteral("La_Time"));
    showSecondsLeft();
    seconds = new QLabel(QStringLiteral("seconds"), this);
    seconds->setObjectName(QStringLiteral("seconds"));
    Ed_Reboot = new QLineEdit(this);
    Ed_Reboot->setObjectName(QStringLiteral("Ed_Reboot"));
    Ed_Reboot->hide();
    Ed_FwVer = new QLineEdit(this);
    Ed_FwVer->setObjectName(QStringLiteral("Ed_FwVer"));
    Ed_FwVer->hide();

    auto* countdown = new QHBoxLayout;
    countdown->addWidget(Label1);
    countdown->addWidget(La_Time);
    countdown->addWidget(seconds);
    countdown->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addWidget(Label3);
    layout->addLayout(countdown);
    setMinimumSize(249, 70);

    deviceSilent = [] {
        const TMainForm* form = app::mainForm();
        return form && form->pollTimedOut();
    };

    Timer1 = platform::makeTimer(this, 1200);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &TFM_Waiting::Timer1Timer);
    Timer1->start();
}

TFM_Waiting::~TFM_Waiting() = default;

void TFM_Waiting::Timer1Timer() {
    const bool silent = deviceSilent && deviceSilent();
    if (secondsLeft != 1 || !silent) {
        --secondsLeft;
        showSecondsLeft();
    } else {
        ++stallCount;
    }
    --ticksBeforeReboot;
    if ((secondsLeft <= 0 && !silent) || stallCount >= 6)
        reject();
    restartStep();
}

void TFM_Waiting::showSecondsLeft() {
    La_Time->setText(QString::number(secondsLeft));
    // The number alone would be announced without what it counts; the name carries both, and
    // setting it sends the change to assistive tools (a name-changed event) at every tick.
    La_Time->setAccessibleName(QStringLiteral("%1 seconds left").arg(secondsLeft));
}

void TFM_Waiting::restartStep() {
    if (app::saveSupported() || !rebootPending || ticksBeforeReboot > 0)
        return;
    rebootPending = false;
    if (!sendReboot)
        return;
    // A restart command that fails or is not answered is not reported: the device may already
    // be restarting, and the count-down goes on either way.
    rebootRequest_ = std::make_unique<QvSNMPRequest2Edits>(this);
    rebootRequest_->vars.Assign(QvSNMPVarList(tables::main_window::kRestartCommand, SVT_SV, 0));
    rebootRequest_->silentFailures = true;
    rebootRequest_->BindFormat(0, QStringLiteral("%s"), Ed_Reboot);
    Ed_Reboot->setText(QStringLiteral("Reboot"));
    try {
        rebootRequest_->Apply(true, true);
    } catch (const QvException&) {
        // A bad address fails the front-panel poll as well; the operator sees it there.
    }
}

bool TFM_Waiting::FormCloseQuery() {
    if (secondsLeft <= 0)
        return true;
    if (stallCount > 2) {
        secondsLeft = 0;
        return true;
    }
    return false;
}

void TFM_Waiting::reject() {
    // Escape, the title bar's close button and close() all end here.
    if (!FormCloseQuery())
        return;
    Timer1->stop();
    QDialog::reject();
}
