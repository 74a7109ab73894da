// A network-management host with one module per access point: N modules against N simulated
// devices on this machine, each module's window shown when there is a display. Once every module
// has ended its capability probe and a few seconds have passed, the CPU time the modules use
// together over SECONDS, that of the simulated devices apart, and each module's proportional
// memory (PSS: every shared page, the libraries' included, split among the processes that map
// it). One table row per N.
//
// The windows stay where the modules put them: with no window manager (Xvfb) all in the same
// place, so each buries the ones before it and only the last one's blink is seen. --cascade
// moves each window 10 pixels right and 5 down from the one before, so that a strip of every
// window shows and every blink runs: a host's screen lies between the two.
//
//   kw_bench_scale [--seconds S] [--profile NAME] [--cascade] N...
//                                                    (default 60 s, "recent", N = 10)
//
// The modules run under KW_BENCH_MODULE when it is set (another build, side by side).
#include "benchmarks/module_run/module_run.h"
#include "benchmarks/module_run/x_windows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <numeric>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Row {
    int n = 0;
    double seconds = 0;
    double modulesCpu = 0; // seconds, all modules together
    double devicesCpu = 0;
    double startupSeconds = 0; // from the first start to the last probe's end
    int probesMissed = 0;
    int windowsMissed = 0; // not found on the display to be moved
    std::vector<long> pssKiB;
    std::vector<long> rssKiB;
};

double percentOfCore(double cpu, double wall) {
    return 100 * cpu / wall;
}

double mib(double kib) {
    return kib / 1024.0;
}

Row measure(int n, double seconds, const std::string& profile, bool cascade) {
    Row row;
    row.n = n;
    bench::Workspace ws;
    std::vector<std::unique_ptr<bench::Device>> devices;
    std::vector<std::unique_ptr<bench::Module>> modules;
    // One loopback address per device: a module's single-instance lock is named after it.
    for (int i = 0; i < n; ++i) {
        const std::string address =
            "127.77." + std::to_string(1 + i / 250) + "." + std::to_string(1 + i % 250);
        devices.push_back(std::make_unique<bench::Device>(ws, profile, address));
    }
    // One module at a time, as a host opens them: a machine this small would otherwise let the
    // probes' reads of a hundred modules starting at once time out.
    const double firstStart = bench::now();
    for (const auto& device : devices) {
        modules.push_back(std::make_unique<bench::Module>(ws, *device));
        if (modules.back()->waitForProbe(60) < 0)
            ++row.probesMissed;
        const int i = static_cast<int>(modules.size()) - 1;
        if (cascade && bench::moveWindowsOf(modules.back()->pid(), i * 10 % 1000, i * 5 % 480) == 0)
            ++row.windowsMissed;
    }
    row.startupSeconds = bench::now() - firstStart;
    // The start-up blinks and the first refreshes over.
    std::this_thread::sleep_for(std::chrono::seconds(5));

    const auto cpuOf = [](const auto& processes) {
        double sum = 0;
        for (const auto& p : processes)
            sum += bench::usage(p->pid()).cpuSeconds;
        return sum;
    };
    const double modulesBefore = cpuOf(modules);
    const double devicesBefore = cpuOf(devices);
    const double from = bench::now();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const double modulesAfter = cpuOf(modules);
    const double devicesAfter = cpuOf(devices);
    row.seconds = bench::now() - from;
    row.modulesCpu = modulesAfter - modulesBefore;
    row.devicesCpu = devicesAfter - devicesBefore;
    for (const auto& m : modules) {
        const bench::Usage u = bench::usage(m->pid());
        row.pssKiB.push_back(u.pssKiB);
        row.rssKiB.push_back(u.rssKiB);
    }
    return row;
}

double average(const std::vector<long>& v) {
    return v.empty() ? 0 : std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

} // namespace

int main(int argc, char** argv) {
    double seconds = 60;
    std::string profile = "recent";
    bool cascade = false;
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seconds" && i + 1 < argc)
            seconds = std::atof(argv[++i]);
        else if (arg == "--profile" && i + 1 < argc)
            profile = argv[++i];
        else if (arg == "--cascade")
            cascade = true;
        else if (std::atoi(arg.c_str()) > 0)
            counts.push_back(std::atoi(arg.c_str()));
        else {
            std::fprintf(stderr,
                         "usage: kw_bench_scale [--seconds S] [--profile NAME] [--cascade] N...\n");
            return 2;
        }
    }
    if (counts.empty())
        counts.push_back(10);

    std::vector<Row> rows;
    try {
        for (const int n : counts) {
            std::fprintf(stderr, "%d modules and %d devices...\n", n, n);
            rows.push_back(measure(n, seconds, profile, cascade));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }

    const char* module = std::getenv("KW_BENCH_MODULE");
    std::printf("N modules against N simulated devices, profile %s, %s, CPU over %.0f s\n",
                profile.c_str(),
                !std::getenv("DISPLAY") ? "offscreen"
                : cascade               ? "windows on the display, in a cascade"
                                        : "windows on the display, where the modules put them",
                seconds);
    if (module && *module)
        std::printf("module: %s\n", module);
    std::printf("%5s %14s %12s %14s %11s %11s %11s %10s %8s\n", "N", "modules %core", "per module",
                "devices %core", "PSS avg", "PSS max", "RSS avg", "start-up", "missed");
    for (const Row& r : rows) {
        if (r.windowsMissed > 0)
            std::printf("(N = %d: %d windows not found to be moved)\n", r.n, r.windowsMissed);
        const double pssMax =
            r.pssKiB.empty()
                ? 0
                : static_cast<double>(*std::max_element(r.pssKiB.begin(), r.pssKiB.end()));
        std::printf("%5d %13.2f%% %11.3f%% %13.2f%% %7.1f MiB %7.1f MiB %7.1f MiB %8.1f s %8d\n",
                    r.n, percentOfCore(r.modulesCpu, r.seconds),
                    percentOfCore(r.modulesCpu, r.seconds) / r.n,
                    percentOfCore(r.devicesCpu, r.seconds), mib(average(r.pssKiB)), mib(pssMax),
                    mib(average(r.rssKiB)), r.startupSeconds, r.probesMissed);
    }
    std::printf("(%%core: percent of one core; PSS: proportional set size, shared pages split)\n");
    return 0;
}
