// A module idling on its main window: once its capability probe has ended, the CPU time it
// uses over SECONDS (front-panel poll, LED blink, capability refresh) and its resident memory.
// On an X display it is measured three times: with its window shown, with the window buried under
// another that covers the whole screen, and with the window unmapped (as a minimised window is);
// in the last two nobody can see the blink.
//
//   kw_bench_idle [SECONDS] [PROFILE]      (default 60 s, profile "recent")
#include "benchmarks/module_run/module_run.h"
#include "benchmarks/module_run/x_windows.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

namespace {

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
                const bench::ScreenCover cover;
                if (!cover.up()) {
                    std::fprintf(stderr, "no window could cover the display\n");
                    return 1;
                }
                std::this_thread::sleep_for(std::chrono::seconds(1));
                measure(module, seconds, "window covered");
            }
            std::this_thread::sleep_for(std::chrono::seconds(1));
            if (bench::unmapWindowsOf(module.pid()) == 0) {
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
