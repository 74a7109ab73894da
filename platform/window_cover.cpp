#include "platform/window_cover.h"

#include <memory>
#include <QGuiApplication>
#include <QWindow>
#include <xcb/xcb.h>

namespace platform {

WindowCover::WindowCover(QWindow* window, std::function<void(bool covered)> changed)
    : QObject(window), changed_(std::move(changed)) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !x11->connection())
        return;
    xcb_connection_t* connection = x11->connection();
    windowId_ = static_cast<unsigned int>(window->winId());
    // Add visibility changes to the events the toolkit already selected on the window.
    const std::unique_ptr<xcb_get_window_attributes_reply_t, decltype(&std::free)> attributes(
        xcb_get_window_attributes_reply(connection,
                                        xcb_get_window_attributes(connection, windowId_), nullptr),
        &std::free);
    if (!attributes)
        return;
    const uint32_t mask = attributes->your_event_mask | XCB_EVENT_MASK_VISIBILITY_CHANGE;
    xcb_change_window_attributes(connection, windowId_, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    QCoreApplication::instance()->installNativeEventFilter(this);
    watching_ = true;
}

WindowCover::~WindowCover() {
    if (watching_ && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

void WindowCover::setCovered(bool covered) {
    if (covered == covered_)
        return;
    covered_ = covered;
    if (changed_)
        changed_(covered);
}

bool WindowCover::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_VISIBILITY_NOTIFY)
        return false;
    const auto* visibility = static_cast<const xcb_visibility_notify_event_t*>(message);
    if (visibility->window == windowId_)
        setCovered(visibility->state == XCB_VISIBILITY_FULLY_OBSCURED);
    return false;
}

} // namespace platform
