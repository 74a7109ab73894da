#pragma once
// The module's main window: the device's front panel with live LEDs, the status bar with the
// front-panel poll's status line, the menu bar, and the capability flags that the menus and the
// pages read.
//
// Its construction loads the message files beside the executable; its creation handler runs the
// start-up (session, help and device-file directories, command line, caption, single-instance
// lock), then starts the front-panel poll and probes the device's capabilities. A refused or
// failed start-up leaves the window unshown and says with which exit code the module ends.
//
// Pages read a capability flag as a number with default 0: app::mainForm()->flag("Ed_Grouping").
#include "app/wait_dialog.h"
#include "platform/single_instance.h"
#include "platform/window_cover.h"
#include "snmplib/request.h"

#include <functional>
#include <memory>
#include <optional>
#include <QElapsedTimer>
#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <vector>

class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QTimer;
class QvSNMPRequest2Edits;
class TMainForm;

namespace app {
// The one main window of the process (null before it is made and after it is gone).
TMainForm* mainForm();

// Makes the page of a menu item; owner is the main window. Pages are shown modally.
using PageFactory = std::function<std::unique_ptr<QDialog>(QWidget* owner)>;
// Page class name -> factory, for the pages that exist. The module's main() installs the page
// list (pages/page_list.h); a menu item whose page is not listed opens nothing.
QHash<QString, PageFactory> pageFactories();
void setPageFactories(QHash<QString, PageFactory> factories);
} // namespace app

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

    // Capability flags: the hidden edits by name ("Ed_Grouping", "IPAddressEdit"...).
    QLineEdit* flagEdit(const QString& name) const;
    QString flagText(const QString& name) const;
    // The flag read as a number; 0 for text that is not one and for an unknown name.
    int flag(const QString& name) const;
    // True while a capability read sent by the periodic refresh has not been answered.
    bool capabilityRefreshPending() const;

    // The front-panel poll's last status line and the code it came with (0 answered, -405
    // timed out, another library code for other failures).
    const QString& statusText() const { return statusText_; }
    int statusCode() const { return statusCode_; }
    bool pollTimedOut() const;

    // A menu item, submenu or top-level menu by its name ("cfgSave1", "stStats1", "status2").
    QAction* menuItem(const QString& name) const;
    QMenu* menu(const QString& name) const;

    // The wait dialog of the last "Save and Active", while it exists.
    TFM_Waiting* waitDialog() const { return waitDialog_; }
    int refreshCounter() const { return refreshCounter_; }
    int blinkCounter() const { return blinkCounter_; }
    // A blink is under way (its timer runs only while the window can be seen).
    bool blinking() const { return blinking_; }
    // The window can be seen: shown, not minimised, not buried under other windows.
    bool seen() const;
    // Tells when the window is buried under others (null before the window is shown).
    platform::WindowCover* windowCover() const { return cover_; }
    // The capability probe of the start-up is running: the window is shown, the menus wait.
    bool probing() const { return probing_; }

    // Handlers.
    void LedStatusTimer();   // poll tick
    void LedBlinkTimer();    // blink tick
    void Timer1Timer();      // capability refresh
    void advanced2Click();   // Advanced menu opens
    void tools2Click();      // Tools menu opens
    void status2Click();     // Status menu opens
    void stStats1Click();    // Stats submenu opens
    void cfgSave1Click();    // Save and Active
    void cfgDiscard1Click(); // Discard Changes
    void About1Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Exposure of the window: the blink pauses while nobody can see it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct FlagRequest;

    void FormCreate();
    // Ends the start-up with a message box (one OK button).
    void refuse(const QString& caption, const QString& text, int exitCode);

    void buildFrontPanel();
    void buildFlags();
    void buildMenus();
    void sizeToPicture();         // fits the client area to the device picture
    void stopCapabilityRefresh(); // before a refusal: no timer may fire during the box
    void startPollAndProbe();     // front-panel poll and capability probe
    void probeCapabilities();
    void probeSaveRequest();
    // One capability request of the start-up probe has had its first answer.
    void probeAnswered();
    void refreshFlag(FlagRequest& request);
    bool refreshClientInfo();
    void pollAnswer(const QvSNMPError& record);
    void showStatus(const QString& text, int code);
    void powerLedOnly();
    void blinkStep();
    void runBlinkTimer();
    void catchUpBlink();
    void exposureChanged();
    // The save request's SET of the variable its access leaves settable; the wait hook follows.
    void applySaveRequest();
    // After every set of the save request: a save opens the wait dialog.
    void waitHook();
    void openPage(const QString& className);

    QStringList arguments_;
    QString addressText_;
    std::unique_ptr<platform::SingleInstanceLock> instanceLock_;
    bool started_ = false;
    int exitCode_ = 0;

    QPointer<platform::WindowCover> cover_;
    QLabel* LED_WLan = nullptr;
    QLabel* LED_Lan = nullptr;
    QLabel* LED_Power = nullptr;
    QLabel* statusPanel_ = nullptr;
    QComboBox* CB_Active = nullptr;
    QComboBox* CB_Discard = nullptr;
    QTimer* LedStatus = nullptr;
    QTimer* LedBlink = nullptr;
    QTimer* Timer1 = nullptr;
    QHash<QString, QLineEdit*> flags_;
    QHash<QString, QAction*> items_;
    QHash<QString, QMenu*> menus_;

    std::unique_ptr<QvSNMPRequest> pollRequest_;
    std::vector<std::unique_ptr<FlagRequest>> flagRequests_;
    std::unique_ptr<QvSNMPRequest2Edits> saveRequest_;
    bool savePending_ = false;
    std::optional<QvSNMPError> saveFailure_; // of the save request's last set
    QPointer<TFM_Waiting> waitDialog_;

    QString statusText_;
    int statusCode_ = 0;
    int blinkCounter_ = 0;
    bool blinking_ = false;
    QElapsedTimer blinkPaused_;   // since the blink's timer paused for a window nobody sees
    qint64 blinkTicksPlayed_ = 0; // of the ticks held back since then
    bool probing_ = false;
    int refreshCounter_ = 0;
    int probeOutstanding_ = 0; // first answers of the start-up probe still to come
};
