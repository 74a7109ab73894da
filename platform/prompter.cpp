#include "platform/prompter.h"

#include <QApplication>
#include <QMessageBox>

namespace platform {
namespace {
class QtPrompter final : public Prompter {
public:
    Answer ask(const QString& caption, const QString& text, Buttons buttons) override {
        QMessageBox box(QApplication::activeWindow());
        box.setWindowTitle(caption);
        box.setText(text);
        if (buttons == Buttons::OkCancel) {
            box.setIcon(QMessageBox::Question);
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        } else {
            box.setStandardButtons(QMessageBox::Ok);
        }
        box.setDefaultButton(QMessageBox::Ok);
        return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
    }
    void beep() override { QApplication::beep(); }
};

QtPrompter& qtPrompter() {
    static QtPrompter instance;
    return instance;
}
Prompter* installed = nullptr;
} // namespace

Prompter& prompter() {
    return installed ? *installed : qtPrompter();
}
void setPrompter(Prompter* p) {
    installed = p;
}

} // namespace platform
