#include "app/main_window.h"

#include "app/module_texts.h"
#include "app/startup.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/registry.h"
#include "snmplib/qv_exception.h"
#include "snmplib/session.h"

namespace {
// A start-up that could not go on (session or conversion failure), as opposed to a refusal.
constexpr int kFailureExitCode = 1;
constexpr char kErrorCaption[] = "Error";
constexpr char kWarningCaption[] = "Warning";
} // namespace

TMainForm::TMainForm(QStringList arguments, QWidget* parent)
    : QMainWindow(parent), arguments_(std::move(arguments)) {
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(app::kModelName);
    app::loadMessageFiles(platform::executableDir(), app::MessageFileLoad::BesideExecutable);
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::FormCreate() {
    sizeToPicture();

    try {
        qv::CreateSession(QString());
    } catch (const QvException& e) {
        refuse(app::kModelName, e.text(), kFailureExitCode);
        return;
    }
    const app::SessionRecords session{qv::sessionDevice(), qv::sessionScope(),
                                      qv::sessionSecurity()};
    session.security.version = 0;

    platform::Registry& registry = platform::registry();
    app::loadMessageFiles(app::helpDirectory(registry), app::MessageFileLoad::FromHelpDirectory);
    const QString deviceFileDir = app::deviceFileDirectory(registry);

    if (arguments_.isEmpty()) {
        refuse(app::kModelName, app::kNoArgumentsMessage, 0);
        return;
    }

    try {
        addressText_ = app::applyArguments(arguments_, deviceFileDir, session, addressText_);
    } catch (const app::StartupError& e) {
        refuse(kErrorCaption, e.text(), kFailureExitCode);
        return;
    }

    setWindowTitle(windowTitle() + QStringLiteral(" : ") + addressText_);
    instanceLock_ = std::make_unique<platform::SingleInstanceLock>(windowTitle());
    if (instanceLock_->acquire() != platform::SingleInstanceLock::Result::Acquired) {
        instanceLock_.reset();
        refuse(kWarningCaption, app::kAnotherModuleMessage, 0);
        return;
    }

    started_ = true;
    startPollAndProbe();
}

void TMainForm::refuse(const QString& caption, const QString& text, int exitCode) {
    stopCapabilityRefresh();
    platform::message(caption, text);
    started_ = false;
    exitCode_ = exitCode;
}

void TMainForm::sizeToPicture() {
    // The device picture and the status bar come with the front panel; until then the window
    // keeps its default size.
}

void TMainForm::stopCapabilityRefresh() {
    // No capability refresh timer exists yet.
}

void TMainForm::startPollAndProbe() {
    // The front-panel poll and the capability probe start here once they exist.
}
