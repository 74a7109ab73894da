#include "benchmarks/module_run/x_windows.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <xcb/xcb.h>

namespace bench {
namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

// Runs `act` on each top-level window of process `pid`; how many there were.
int forWindowsOf(pid_t pid, const std::function<void(xcb_connection_t*, xcb_window_t)>& act) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return 0;
    }
    const char name[] = "_NET_WM_PID";
    const Reply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, std::strlen(name), name), nullptr),
        &std::free);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    int found = 0;
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, screen->root), nullptr), &std::free);
    if (atom && tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            const Reply<xcb_get_property_reply_t> property(
                xcb_get_property_reply(
                    c, xcb_get_property(c, 0, children[i], atom->atom, XCB_ATOM_CARDINAL, 0, 1),
                    nullptr),
                &std::free);
            if (!property || xcb_get_property_value_length(property.get()) != 4)
                continue;
            if (*static_cast<const uint32_t*>(xcb_get_property_value(property.get())) !=
                static_cast<uint32_t>(pid))
                continue;
            act(c, children[i]);
            ++found;
        }
    }
    xcb_flush(c);
    xcb_disconnect(c);
    return found;
}

} // namespace

int unmapWindowsOf(pid_t pid) {
    return forWindowsOf(pid, [](xcb_connection_t* c, xcb_window_t w) { xcb_unmap_window(c, w); });
}

int moveWindowsOf(pid_t pid, int x, int y) {
    return forWindowsOf(pid, [x, y](xcb_connection_t* c, xcb_window_t w) {
        const uint32_t values[] = {static_cast<uint32_t>(x), static_cast<uint32_t>(y)};
        xcb_configure_window(c, w, XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y, values);
    });
}

ScreenCover::ScreenCover() : c_(xcb_connect(nullptr, nullptr)) {
    if (xcb_connection_has_error(c_))
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    window_ = xcb_generate_id(c_);
    const uint32_t values[] = {screen->black_pixel, 1};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0,
                      screen->width_in_pixels, screen->height_in_pixels, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(c_, window_);
    xcb_flush(c_);
}

ScreenCover::~ScreenCover() {
    xcb_disconnect(c_);
}

} // namespace bench
