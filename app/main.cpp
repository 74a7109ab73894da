#include "app/main_window.h"
#include "app/module_texts.h"
#include "pages/page_list.h"
#include "platform/prompt_log.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(app::kModelName);
    const auto promptLog = platform::installPromptLogFromEnvironment();

    app::setPageFactories(pages::all());
    TMainForm form(QApplication::arguments().mid(1));
    if (!form.started())
        return form.exitCode();
    form.show();
    return app.exec();
}
