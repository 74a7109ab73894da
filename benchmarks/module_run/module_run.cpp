#include "benchmarks/module_run/module_run.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
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

Device::Device(const Workspace& ws, const std::string& profile) {
    // Port 0: the simulator picks a free port and writes it to the port file once it answers.
    // Exit status 3: its control port was taken; try again.
    for (int attempt = 0; attempt < 5 && port_ == 0; ++attempt) {
        const std::string portFile = ws.file("sim.port");
        std::remove(portFile.c_str());
        pid_ = spawn(
            {KW_SIM_PATH, "--listen", "127.0.0.1:0", "--profile", profile, "--port-file", portFile},
            {}, ws.path(), ws.file("kw9100-sim.err"));
        for (int i = 0; i < 400 && !exists(portFile) && running(pid_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (exists(portFile))
            port_ = std::stoi(readAll(portFile));
        else
            stopProcess(pid_);
    }
    if (port_ == 0)
        throw std::runtime_error("the simulated device did not start: " +
                                 readAll(ws.file("kw9100-sim.err")));
}

Device::~Device() {
    stopProcess(pid_);
}

Module::Module(const Workspace& ws, const Device& device) : marker_(ws.file("probe.marker")) {
    std::remove(marker_.c_str());
    writeAll(ws.file("127.0.0.1.cfg"),
             "[Program Information]\nAgentPort=" + std::to_string(device.port()) +
                 "\nVersion=1\nSecurityModel=3\nSecurityLevel=0\n"
                 "AuthProtocol=0\nPrivProtocol=0\n");
    writeAll(ws.file("registry.ini"),
             "[\\SOFTWARE\\Velkor\\Halvren5.1\\MibFile]\nPath=" + ws.path() +
                 "/\n[\\SOFTWARE\\Velkor\\Modules\\HelpPath]\n"
                 "1.3.6.1.4.1.32473.2.20=" +
                 ws.path() + "/help/kw9100hp.hlp\n");
    std::vector<std::string> env{"KW9100_REGISTRY=" + ws.file("registry.ini"),
                                 "KW9100_PROBE_MARKER=" + marker_,
                                 "KW9100_PROMPT_LOG=" + ws.file("prompts.log")};
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        env.emplace_back("QT_QPA_PLATFORM=offscreen");
    startedAt_ = now();
    pid_ =
        spawn({KW_MODULE_PATH, "/I127.0.0.1", "/Rfenrow"}, env, ws.path(), ws.file("kw9100.err"));
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
    // /proc/PID/stat: fields 14 and 15 are user and system time in clock ticks; the command
    // (field 2) is in parentheses and may hold blanks.
    const std::string stat = readAll("/proc/" + std::to_string(pid) + "/stat");
    const auto close = stat.rfind(')');
    if (close != std::string::npos) {
        std::istringstream rest(stat.substr(close + 2));
        std::string field;
        unsigned long long utime = 0, stime = 0;
        for (int i = 3; i <= 15 && rest >> field; ++i) {
            if (i == 14)
                utime = std::stoull(field);
            if (i == 15)
                stime = std::stoull(field);
        }
        u.cpuSeconds =
            static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
    }
    std::istringstream status(readAll("/proc/" + std::to_string(pid) + "/status"));
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            u.rssKiB = std::stol(line.substr(6));
        else if (line.rfind("VmHWM:", 0) == 0)
            u.peakRssKiB = std::stol(line.substr(6));
    }
    return u;
}

} // namespace bench
