// A module idling on its main window: once its capability probe has ended, the CPU time it
// uses over SECONDS (front-panel poll, LED blink, capability refresh) and its resident memory.
//
//   kw_bench_idle [SECONDS] [PROFILE]      (default 60 s, profile "recent")
#include "benchmarks/module_run/module_run.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <thread>

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
        const bench::Usage before = bench::usage(module.pid());
        const double from = bench::now();
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        const bench::Usage after = bench::usage(module.pid());
        const double wall = bench::now() - from;
        const double cpu = after.cpuSeconds - before.cpuSeconds;
        std::printf("idle on the main window, profile %s, %.0f s:\n", profile.c_str(), wall);
        std::printf("  CPU %.2f s (%.2f %% of one core); at start-up %.2f s\n", cpu,
                    100 * cpu / wall, before.cpuSeconds);
        std::printf("  resident %.1f MiB (after the probe %.1f MiB, peak %.1f MiB)\n",
                    after.rssKiB / 1024.0, before.rssKiB / 1024.0, after.peakRssKiB / 1024.0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
