// kw9100-settings: a KW-9100's settings as text, and the differences between two devices or a
// device and its baseline. See kw9100-settings(1).
#include "app/module_texts.h"
#include "app/startup.h"
#include "settings/command.h"

#include <cstdio>
#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    // Nobody else on the machine reads the pass phrases from the process list.
    QStringList arguments = app::takeArguments(argc, argv);
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kw9100-settings"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    return settings::run(arguments, out, err);
}
