// Start-up time of the module: from the creation of the kw9100 process to the end of its
// capability probe (every capability request answered), against the simulated device on
// loopback. One unmeasured run warms the caches; then RUNS measured runs, each a new process.
//
//   kw_bench_startup [RUNS] [PROFILE]      (default 10 runs, profile "recent")
#include "benchmarks/module_run/module_run.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <numeric>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    const std::string profile = argc > 2 ? argv[2] : "recent";
    try {
        bench::Workspace ws;
        bench::Device device(ws, profile);
        std::vector<double> times;
        for (int i = 0; i <= runs; ++i) {
            bench::Module module(ws, device);
            const double ms = module.waitForProbe(60);
            if (ms < 0) {
                std::fprintf(stderr, "run %d: the module did not finish its probe\n", i);
                return 1;
            }
            if (i > 0) // the first run only warms the caches
                times.push_back(ms);
        }
        std::sort(times.begin(), times.end());
        const double mean = std::accumulate(times.begin(), times.end(), 0.0) / times.size();
        std::printf("startup (process start -> capability probe ended), profile %s, %d runs:\n",
                    profile.c_str(), runs);
        std::printf("  min %.1f ms  median %.1f ms  mean %.1f ms  max %.1f ms\n", times.front(),
                    times[times.size() / 2], mean, times.back());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
