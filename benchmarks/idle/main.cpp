// A module idling on its main window: once its capability probe has ended, the CPU time it
// uses over SECONDS (front-panel poll, LED blink, capability refresh) and its resident memory.
// On an X display it is measured three times: with its window shown, with the window buried under
// another that covers the whole screen, and with the window unmapped (as a minimised window is);
// in the last two nobody can see the blink.
//
//   kw_bench_idle [SECONDS] [PROFILE]      (default 60 s, profile "recent")
#include "benchmarks/module_run/module_run.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <memory>
#include <string>
#include <thread>
#include <xcb/xcb.h>

namespace {

// Unmaps the top-level windows of process `pid` (by their _NET_WM_PID); how many.
int unmapWindowsOf(pid_t pid) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return 0;
    }
    const char name[] = "_NET_WM_PID";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, std::strlen(name), name), nullptr),
        &std::free);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    int unmapped = 0;
    std::unique_ptr<xcb_query_tree_reply_t, decltype(&std::free)> tree(
        xcb_query_tree_reply(c, xcb_query_tree(c, screen->root), nullptr), &std::free);
    if (atom && tree) {
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> property(
                xcb_get_property_reply(
                    c, xcb_get_property(c, 0, children[i], atom->atom, XCB_ATOM_CARDINAL, 0, 1),
                    nullptr),
                &std::free);
            if (!property || xcb_get_property_value_length(property.get()) != 4)
                continue;
            if (*static_cast<const uint32_t*>(xcb_get_property_value(property.get())) !=
                static_cast<uint32_t>(pid))
                continue;
            xcb_unmap_window(c, children[i]);
            ++unmapped;
        }
    }
    xcb_flush(c);
    xcb_disconnect(c);
    return unmapped;
}

// A window over the whole screen, above every other, for as long as it lives.
class Cover {
public:
    Cover() : c_(xcb_connect(nullptr, nullptr)) {
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
    ~Cover() { xcb_disconnect(c_); }
    Cover(const Cover&) = delete;
    Cover& operator=(const Cover&) = delete;
    bool up() const { return window_ != 0; }

private:
    xcb_connection_t* c_;
    xcb_window_t window_ = 0;
};

void measure(const bench::Module& module, double seconds, const char* what) {
    const bench::Usage before = bench::usage(module.pid());
    const double from = bench::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const bench::Usage after = bench::usage(module.pid());
    const double wall = bench::now() - from;
    const double cpu = after.cpuSeconds - before.cpuSeconds;
    std::printf("  %s: CPU %.3f s over %.0f s (%.3f %% of one core)\n", what, cpu, wall,
                100 * cpu / wall);
    std::printf("    resident %.1f MiB (peak %.1f MiB), proportional %.1f MiB\n",
                after.rssKiB / 1024.0, after.peakRssKiB / 1024.0, after.pssKiB / 1024.0);
}

} // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 60;
    const std::string profile = argc > 2 ? argv[2] : "recent";
    try {
        bench::Workspace ws;
        bench::Device device(ws, profile);
        bench::Module module(ws, device);
        if (module.waitForProbe(60) < 0) {
            std::fprintf(stderr, "the module did not finish its probe\n");
            return 1;
        }
        const bool onDisplay = std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM");
        std::printf("idle on the main window, profile %s, %s; CPU at start-up %.2f s\n",
                    profile.c_str(), onDisplay ? "on the X display" : "offscreen",
                    bench::usage(module.pid()).cpuSeconds);
        measure(module, seconds, onDisplay ? "window shown" : "window (offscreen)");
        if (onDisplay) {
            {
                const Cover cover;
                if (!cover.up()) {
                    std::fprintf(stderr, "no window could cover the display\n");
                    return 1;
                }
                std::this_thread::sleep_for(std::chrono::seconds(1));
                measure(module, seconds, "window covered");
            }
            std::this_thread::sleep_for(std::chrono::seconds(1));
            if (unmapWindowsOf(module.pid()) == 0) {
                std::fprintf(stderr, "the module's window was not found on the display\n");
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::seconds(1));
            measure(module, seconds, "window unmapped");
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
