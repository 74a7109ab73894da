// Renders the module's windows to PNG files, against a running device (scripts/screenshots.sh
// starts the simulated one and writes the files that name it):
//
//   kw_screenshots OUTDIR [PAGE...] -- MODULE-ARGUMENTS...
//
// OUTDIR gets main_window.png, menu_<menu>.png for each top-level menu, about.png and
// page_<PAGE>.png for each page class name given (as the menus name them: "Information",
// "TFM_DevInfo", ...). A page given as PAGE:BUTTON:SECONDS is shot after its button BUTTON has
// been clicked and SECONDS have passed, as page_<PAGE>_<BUTTON>.png (a chart after a minute of
// readings: "TFM_Static:CB_AutoRefresh:65"). Message boxes are logged to stderr instead of being
// shown. Exit status 1 when the module did not start or a page is unknown (the other shots are
// still taken).
#include "app/about_form.h"
#include "app/main_window.h"
#include "app/module_texts.h"
#include "pages/common/page.h"
#include "pages/page_list.h"
#include "platform/prompter.h"

#include <cstdio>
#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QThread>

namespace {

class StderrPrompter final : public platform::Prompter {
public:
    platform::Answer ask(const QString& caption, const QString& text, platform::Buttons) override {
        std::fprintf(stderr, "message box [%s] %s\n", qPrintable(caption), qPrintable(text));
        return platform::Answer::Ok;
    }
    void beep() override {}
};

// Lets timers, answers and paints run for `ms`, or until `done` holds.
void settle(int ms, const std::function<bool()>& done = {}) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms && !(done && done())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

bool save(QWidget& widget, const QString& file) {
    const bool ok = widget.grab().save(file);
    std::fprintf(ok ? stdout : stderr, "%s %s\n", ok ? "wrote" : "cannot write", qPrintable(file));
    return ok;
}

bool busy(QDialog& page) {
    auto* p = qobject_cast<pages::Page*>(&page);
    return p && p->exchangesOutstanding();
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(app::kModelName);
    QStringList args = QApplication::arguments().mid(1);
    const int split = static_cast<int>(args.indexOf("--"));
    if (args.isEmpty() || split < 1) {
        std::fprintf(stderr, "usage: kw_screenshots OUTDIR [PAGE...] -- MODULE-ARGUMENTS...\n");
        return 2;
    }
    const QDir out(args[0]);
    QDir().mkpath(out.path());
    const QStringList pageNames = args.mid(1, split - 1);
    const QStringList moduleArgs = args.mid(split + 1);

    StderrPrompter prompter;
    platform::setPrompter(&prompter);
    app::setPageFactories(pages::all());
    int status = 0;
    {
        TMainForm form(moduleArgs);
        if (!form.started())
            return 1;
        form.show();
        // The poll's first answer, the probe's answers and a few blinks.
        settle(3000, [&] { return form.statusCode() == 0 && !form.statusText().isEmpty(); });
        settle(500);
        save(form, out.filePath("main_window.png"));

        for (QAction* action : form.menuBar()->actions()) {
            QMenu* menu = action->menu();
            if (!menu || !action->isVisible())
                continue;
            menu->popup(form.mapToGlobal(form.menuBar()->actionGeometry(action).bottomLeft()));
            settle(300);
            save(*menu, out.filePath("menu_" + menu->objectName() + ".png"));
            menu->hide();
        }

        {
            TAboutForm about(&form);
            about.show();
            settle(300);
            save(about, out.filePath("about.png"));
        }

        const auto factories = app::pageFactories();
        for (const QString& entry : pageNames) {
            const QStringList parts = entry.split(u':');
            const QString name = parts.value(0);
            const app::PageFactory factory = factories.value(name);
            if (!factory) {
                std::fprintf(stderr, "no page named %s\n", qPrintable(name));
                status = 1;
                continue;
            }
            std::unique_ptr<QDialog> page = factory(&form);
            page->show();
            settle(1500);
            settle(10000, [&] { return !busy(*page); });
            QString file = "page_" + name;
            if (parts.size() == 3) {
                auto* button = page->findChild<QAbstractButton*>(parts[1]);
                if (!button) {
                    std::fprintf(stderr, "no button %s on %s\n", qPrintable(parts[1]),
                                 qPrintable(name));
                    status = 1;
                    continue;
                }
                button->click();
                settle(parts[2].toInt() * 1000);
                settle(10000, [&] { return !busy(*page); });
                file += "_" + parts[1];
            }
            save(*page, out.filePath(file + ".png"));
            settle(10000, [&] { return page->close(); });
        }
    }
    platform::setPrompter(nullptr);
    return status;
}
