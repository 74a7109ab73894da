#pragma once
// The module's main window. Its construction loads the message files beside the executable; its
// creation handler runs the start-up: session, help and device-file directories, command line,
// caption and single-instance lock. A refused or failed start-up leaves the window unshown and
// says with which exit code the module ends.
#include "platform/single_instance.h"

#include <memory>
#include <QMainWindow>
#include <QStringList>

class TMainForm : public QMainWindow {
    Q_OBJECT

public:
    // `arguments`: the module's command line without the program name.
    explicit TMainForm(QStringList arguments, QWidget* parent = nullptr);
    ~TMainForm() override;

    // True when the start-up went through; otherwise the module ends with exitCode().
    bool started() const { return started_; }
    int exitCode() const { return exitCode_; }
    // The device address as the host gave it: caption, lock name and device-file name.
    const QString& addressText() const { return addressText_; }

private:
    void FormCreate();
    // Ends the start-up with a message box (one OK button).
    void refuse(const QString& caption, const QString& text, int exitCode);

    // Extension points of the main window's later parts.
    void sizeToPicture();         // fits the client area to the device picture
    void stopCapabilityRefresh(); // before a refusal: no timer may fire during the box
    void startPollAndProbe();     // front-panel poll and capability probe

    QStringList arguments_;
    QString addressText_;
    std::unique_ptr<platform::SingleInstanceLock> instanceLock_;
    bool started_ = false;
    int exitCode_ = 0;
};
