#pragma once
// Open and save file dialogs with filters, behind one interface so that tests can script them.
#include <optional>
#include <QString>

namespace platform {

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // `filter` in Qt's form, e.g. "Firmware (*.tfp)". nullopt when the operator cancels.
    virtual std::optional<QString> openFile(const QString& caption, const QString& filter) = 0;
    virtual std::optional<QString> saveFile(const QString& caption, const QString& filter,
                                            const QString& suggestedName) = 0;
};

FileChooser& fileChooser();
void setFileChooser(FileChooser* chooser); // not owned; nullptr restores the Qt dialogs

} // namespace platform
