#include "platform/file_chooser.h"

#include <QApplication>
#include <QFileDialog>

namespace platform {
namespace {
class QtFileChooser final : public FileChooser {
public:
    std::optional<QString> openFile(const QString& caption, const QString& filter) override {
        const QString path =
            QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, {}, filter);
        return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
    }
    std::optional<QString> saveFile(const QString& caption, const QString& filter,
                                    const QString& suggestedName) override {
        const QString path = QFileDialog::getSaveFileName(QApplication::activeWindow(), caption,
                                                          suggestedName, filter);
        return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
    }
};

QtFileChooser& qtChooser() {
    static QtFileChooser instance;
    return instance;
}
FileChooser* installed = nullptr;
} // namespace

FileChooser& fileChooser() {
    return installed ? *installed : qtChooser();
}
void setFileChooser(FileChooser* chooser) {
    installed = chooser;
}

} // namespace platform
