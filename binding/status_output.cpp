#include "binding/status_output.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>

namespace qv {

bool WriteStatus(QWidget* output, const QString& line) {
    if (auto memo = qobject_cast<QPlainTextEdit*>(output)) {
        memo->appendPlainText(line);
        return true;
    }
    if (auto bar = qobject_cast<QStatusBar*>(output)) {
        bar->showMessage(line);
        return true;
    }
    if (auto panel = qobject_cast<QLabel*>(output)) {
        panel->setText(line);
        return true;
    }
    return false;
}

} // namespace qv
