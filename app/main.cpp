#include "app/main_window.h"
#include "app/module_texts.h"
#include "app/startup.h"
#include "pages/page_list.h"
#include "platform/accessibility.h"
#include "platform/prompt_log.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The window is small and its LEDs change 33 times a second while the device answers. Over
    // X shared-memory images every repaint waits for the X server to let go of the last one (a
    // round trip); plain image requests cost the module a fifth less per blink tick. A host that
    // sets the variable itself keeps its own value.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    // The host passes the pass phrases on the command line; they leave the process list (and
    // argv, before the toolkit reads it) at once.
    app::CommandLine commandLine(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(app::kModelName);
    platform::installAccessibility();
    const auto promptLog = platform::installPromptLogFromEnvironment();

    app::setPageFactories(pages::all());
    TMainForm form(commandLine.take(argc, argv));
    if (!form.started())
        return form.exitCode();
    form.show();
    return app.exec();
}
