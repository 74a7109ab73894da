#include "benchmarks/module_run/module_run.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace bench {
namespace {

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
            const std::string& workdir, const std::string& stderrFile) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<std::string> envStrings(extraEnv);
    for (char** e = environ; *e; ++e)
        envStrings.emplace_back(*e);
    std::vector<char*> env;
    for (std::string& e : envStrings)
        env.push_back(e.data());
    env.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addchdir_np(&actions, workdir.c_str());
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0].c_str(), &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        throw std::runtime_error("cannot start " + argv[0]);
    return pid;
}

void stopProcess(pid_t& pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            pid = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    pid = -1;
}

bool exists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && st.st_size > 0;
}

std::string readAll(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeAll(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::trunc);
    out << text;
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

// Written whole or not at all: modules starting meanwhile may be reading it.
void replaceFile(const std::string& path, const std::string& text) {
    const std::string temporary = path + ".new";
    writeAll(temporary, text);
    if (std::rename(temporary.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot write " + path);
}

std::string programPath(const char* variable, const char* built) {
    const char* other = std::getenv(variable);
    return other && *other ? other : built;
}

bool running(pid_t pid) {
    int status = 0;
    return waitpid(pid, &status, WNOHANG) == 0;
}

} // namespace

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Workspace::Workspace() {
    char pattern[] = "/tmp/kw-bench-XXXXXX";
    if (!mkdtemp(pattern))
        throw std::runtime_error("cannot make a temporary directory");
    path_ = pattern;
}

Workspace::~Workspace() {
    const std::string command = "rm -rf '" + path_ + "'";
    if (std::system(command.c_str()) != 0)
        errno = 0;
}

Device::Device(const Workspace& ws, const std::string& profile, const std::string& address)
    : address_(address) {
    // Port 0: the simulator has the system pick its ports and writes the number to the port file
    // once it answers. A start that fails anyway is tried again.
    for (int attempt = 0; attempt < 5 && port_ == 0; ++attempt) {
        const std::string portFile = ws.file(address + ".port");
        std::remove(portFile.c_str());
        std::vector<std::string> argv = {programPath("KW_BENCH_SIM", KW_SIM_PATH),
                                         "--listen",
                                         address + ":0",
                                         "--profile",
                                         profile,
                                         "--port-file",
                                         portFile};
        // The device sends its files to the module's TFTP server where the module has it.
        if (const char* tftp = std::getenv("KW9100_TFTP_PORT"); tftp && *tftp) {
            argv.emplace_back("--tftp-port");
            argv.emplace_back(tftp);
        }
        pid_ = spawn(argv, {}, ws.path(), ws.file(address + ".sim.err"));
        for (int i = 0; i < 400 && !exists(portFile) && running(pid_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (exists(portFile))
            port_ = std::stoi(readAll(portFile));
        else
            stopProcess(pid_);
    }
    if (port_ == 0)
        throw std::runtime_error("the simulated device did not start: " +
                                 readAll(ws.file(address + ".sim.err")));
}

Device::~Device() {
    stopProcess(pid_);
}

std::string writeModuleFiles(const Workspace& ws, const Device& device) {
    replaceFile(ws.file(device.address() + ".cfg"),
                "[Program Information]\nAgentPort=" + std::to_string(device.port()) +
                    "\nVersion=1\nSecurityModel=3\nSecurityLevel=0\n"
                    "AuthProtocol=0\nPrivProtocol=0\n");
    const std::string registry = ws.file("registry.ini");
    replaceFile(registry, "[\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile]\nPath=" + ws.path() +
                              "/\n[\\SOFTWARE\\Velkor\\Modules\\HelpPath]\n"
                              "1.3.6.1.4.1.32473.2.20=" +
                              ws.path() + "/help/kw9100hp.hlp\n");
    return registry;
}

Module::Module(const Workspace& ws, const Device& device)
    : marker_(ws.file(device.address() + ".probe")) {
    std::remove(marker_.c_str());
    const std::string registry = writeModuleFiles(ws, device);
    const std::string workdir = ws.file(device.address());
    mkdir(workdir.c_str(), 0755);
    std::vector<std::string> env{"KW9100_REGISTRY=" + registry, "KW9100_PROBE_MARKER=" + marker_,
                                 "KW9100_PROMPT_LOG=" + workdir + "/prompts.log"};
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        env.emplace_back("QT_QPA_PLATFORM=offscreen");
    startedAt_ = now();
    pid_ =
        spawn({programPath("KW_BENCH_MODULE", KW_MODULE_PATH), "/I" + device.address(), "/Rfenrow"},
              env, workdir, workdir + "/kw9100.err");
}

Module::~Module() {
    stop();
}

void Module::stop() {
    stopProcess(pid_);
}

double Module::waitForProbe(double timeoutSeconds) {
    const double deadline = startedAt_ + timeoutSeconds;
    while (now() < deadline) {
        if (exists(marker_))
            return (now() - startedAt_) * 1000;
        if (!running(pid_)) {
            pid_ = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return -1;
}

Usage usage(pid_t pid) {
    Usage u;
    // CPU time in nanoseconds of every thread (the first field of each thread's schedstat): the
    // clock ticks of /proc/PID/stat are too coarse for an idle module.
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    if (DIR* dir = opendir(tasks.c_str())) {
        unsigned long long ns = 0;
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            std::istringstream schedstat(readAll(tasks + "/" + entry->d_name + "/schedstat"));
            unsigned long long threadNs = 0;
            if (schedstat >> threadNs)
                ns += threadNs;
        }
        closedir(dir);
        u.cpuSeconds = static_cast<double>(ns) / 1e9;
    }
    std::istringstream status(readAll("/proc/" + std::to_string(pid) + "/status"));
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            u.rssKiB = std::stol(line.substr(6));
        else if (line.rfind("VmHWM:", 0) == 0)
            u.peakRssKiB = std::stol(line.substr(6));
    }
    std::istringstream rollup(readAll("/proc/" + std::to_string(pid) + "/smaps_rollup"));
    while (std::getline(rollup, line)) {
        if (line.rfind("Pss:", 0) == 0)
            u.pssKiB = std::stol(line.substr(4));
    }
    return u;
}

} // namespace bench
