#pragma once
// Whether a top-level window is entirely covered by other windows. Qt reports a minimised or
// unmapped window as not exposed, but a window buried under others stays "exposed" and keeps
// painting what nobody sees. On X11 the server tells each window when it becomes fully obscured
// (VisibilityNotify); this asks for that news and passes it on. On other platforms, and where
// a compositor makes every window count as unobscured, a window is never reported covered.
#include <functional>
#include <QAbstractNativeEventFilter>
#include <QObject>

class QWindow;

namespace platform {

class WindowCover : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // `changed` runs with the new state each time it changes. The window must exist natively.
    WindowCover(QWindow* window, std::function<void(bool covered)> changed);
    ~WindowCover() override;
    WindowCover(const WindowCover&) = delete;
    WindowCover& operator=(const WindowCover&) = delete;

    // Never true where the platform cannot tell.
    bool covered() const { return covered_; }

    // The server's news, as it arrives: the window is fully obscured or not.
    void setCovered(bool covered);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    unsigned int windowId_ = 0;
    std::function<void(bool)> changed_;
    bool covered_ = false;
    bool watching_ = false; // the native event filter is installed
};

} // namespace platform
