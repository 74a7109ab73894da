#pragma once
// The module (kw9100) and the simulated device (kw9100-sim) as separate processes, for
// benchmarks that look at the module from outside.
//
//   bench::Workspace ws;                 // temporary directory: registry stand-in, device files
//   bench::Device sim(ws, "recent");     // on a free loopback port; stopped by its destructor
//   bench::Module module(ws, sim);       // kw9100 /I127.0.0.1 /Rfenrow in a directory of its own
//   double ms = module.waitForProbe(30); // until the module writes its probe marker
//   bench::Usage u = bench::usage(module.pid());
//
// The programs are those of this build; KW_BENCH_MODULE and KW_BENCH_SIM name others (another
// build of the module, to measure it side by side with this one).
#include <string>
#include <sys/types.h>

namespace bench {

class Workspace {
public:
    Workspace();
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

class Device {
public:
    // Starts kw9100-sim with `profile` on `address` (a loopback address) and waits until it
    // answers; throws std::runtime_error.
    Device(const Workspace& workspace, const std::string& profile,
           const std::string& address = "127.0.0.1");
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;
    const std::string& address() const { return address_; }
    int port() const { return port_; }
    pid_t pid() const { return pid_; }

private:
    std::string address_;
    pid_t pid_ = -1;
    int port_ = 0;
};

// The files a host writes for a module of `device` (its device file and the registry stand-in
// naming the directory): the path of the registry file, for KW9100_REGISTRY.
std::string writeModuleFiles(const Workspace& workspace, const Device& device);

class Module {
public:
    // Writes the device file and the registry stand-in, then starts the module in a working
    // directory of its own (its boot counter file) with its window on the display, when there is
    // one. The clock of waitForProbe starts just before the process is created.
    Module(const Workspace& workspace, const Device& device);
    ~Module(); // stops the module
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    pid_t pid() const { return pid_; }
    // Milliseconds from the start of the process until its capability probe ended (the module's
    // marker file appeared); negative when it did not within `timeoutSeconds` or the module
    // ended.
    double waitForProbe(double timeoutSeconds);
    void stop();

private:
    std::string marker_;
    pid_t pid_ = -1;
    double startedAt_ = 0; // steady clock, seconds
};

struct Usage {
    double cpuSeconds = 0; // user + system
    long rssKiB = 0;       // resident now
    long peakRssKiB = 0;   // resident at most
    long pssKiB = 0;       // proportional: each shared page split among the processes mapping it
};
Usage usage(pid_t pid);

// Seconds on the steady clock.
double now();

} // namespace bench
