#pragma once
// The modules' windows on the X display, from outside: found by the _NET_WM_PID the toolkit sets
// on each top-level window.
#include <sys/types.h>

struct xcb_connection_t;

namespace bench {

// Unmaps the top-level windows of process `pid` (as minimising does); how many.
int unmapWindowsOf(pid_t pid);
// Moves the top-level windows of process `pid` to (x, y) on the screen; how many.
int moveWindowsOf(pid_t pid, int x, int y);

// A window over the whole screen, above every other, for as long as it lives.
class ScreenCover {
public:
    ScreenCover();
    ~ScreenCover();
    ScreenCover(const ScreenCover&) = delete;
    ScreenCover& operator=(const ScreenCover&) = delete;
    bool up() const { return window_ != 0; }

private:
    xcb_connection_t* c_;
    unsigned int window_ = 0;
};

} // namespace bench
