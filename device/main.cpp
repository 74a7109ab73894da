// kw9100-sim: a simulated KW-9100 access point on the loopback network.
//
//   kw9100-sim --listen 127.0.0.1:PORT --profile NAME_OR_FILE [--journal FILE]
//              [--restart-seconds N] [--tftp-port N] [--ftp-port N] [--flash-dir DIR]
//              [--control-port N] [--port-file FILE]
//              [--read-community TEXT] [--write-community TEXT]
//              [--user NAME:AUTH:AUTHPASS[:PRIV:PRIVPASS]]...
//                  (AUTH: MD5, SHA, SHA-224, SHA-256, SHA-384, SHA-512; PRIV: DES, AES, AES-192,
//                  AES-256)
//   kw9100-sim --control ADDRESS:PORT COMMAND...     one control command (see control.h)
//
// --tftp-port is the port of the module's TFTP server for the device's file transfers (kept in the
// settings for the transfer behaviours); --ftp-port the port of the FTP servers named in its
// settings (certificate fetches). With --flash-dir every file the device fetches is also written
// there under its bare name, so that tests can compare what arrived. A profile NAME is looked up as
// NAME.profile in ../share/kw9100-sim/profiles beside the executable (the installed layout), then
// in the source tree's device/profiles when the build names it. With port 0 the system chooses the
// agent's port, and the control channel gets the same number over TCP (both are had before the
// number is used); --port-file then tells it (the file is written once the device answers). Exit
// status: 0 after a stop (SIGTERM, SIGINT or "quit"), 2 for a bad command line or profile, 3 when
// a port given on the command line is taken. The environment variable KW_SIM_DEBUG=TOKEN[,TOKEN]
// turns on net-snmp's debug output.
#include "device/agent.h"
#include "device/control.h"
#include "device/device.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace {

volatile std::sig_atomic_t stopRequested = 0;

void onSignal(int) {
    stopRequested = 1;
}

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

int number(const std::string& option, const std::string& text) {
    try {
        std::size_t used = 0;
        int v = std::stoi(text, &used);
        if (used == text.size() && v >= 0)
            return v;
    } catch (const std::exception&) {
    }
    throw UsageError(option + " needs a number, not \"" + text + "\"");
}

// Where a profile NAME is looked for: beside the executable as installed, then (in a build tree)
// the source tree's profiles.
std::vector<std::filesystem::path> profileDirs() {
    namespace fs = std::filesystem;
    std::vector<fs::path> dirs;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    if (!ec)
        dirs.push_back(self.parent_path().parent_path() / "share/kw9100-sim/profiles");
#ifdef KW_SIM_PROFILE_DIR
    dirs.emplace_back(KW_SIM_PROFILE_DIR);
#endif
    return dirs;
}

std::string profilePath(const std::string& nameOrFile) {
    namespace fs = std::filesystem;
    if (fs::is_regular_file(nameOrFile))
        return nameOrFile;
    std::string searched;
    for (const fs::path& dir : profileDirs()) {
        const fs::path named = dir / (nameOrFile + ".profile");
        if (fs::is_regular_file(named))
            return named.string();
        searched += (searched.empty() ? "" : ", ") + dir.string();
    }
    throw UsageError("no profile \"" + nameOrFile + "\" (neither a file nor in " + searched + ")");
}

sim::Settings parse(int argc, char** argv) {
    sim::Settings s;
    bool listenGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::string opt = argv[i];
        auto arg = [&]() -> std::string {
            if (i + 1 >= argc)
                throw UsageError(opt + " needs a value");
            return argv[++i];
        };
        if (opt == "--listen") {
            std::string v = arg();
            auto colon = v.rfind(':');
            if (colon == std::string::npos)
                throw UsageError("--listen needs ADDRESS:PORT");
            s.listenAddress = v.substr(0, colon);
            s.port = number(opt, v.substr(colon + 1));
            listenGiven = true;
        } else if (opt == "--profile") {
            s.profile = arg();
        } else if (opt == "--journal") {
            s.journalPath = arg();
        } else if (opt == "--restart-seconds") {
            std::string v = arg();
            try {
                s.restartSeconds = std::stod(v);
            } catch (const std::exception&) {
                throw UsageError("--restart-seconds needs a number, not \"" + v + "\"");
            }
            if (s.restartSeconds < 0)
                throw UsageError("--restart-seconds cannot be negative");
        } else if (opt == "--tftp-port") {
            s.tftpPort = number(opt, arg());
        } else if (opt == "--ftp-port") {
            s.ftpPort = number(opt, arg());
        } else if (opt == "--flash-dir") {
            s.flashDir = arg();
        } else if (opt == "--control-port") {
            s.controlPort = number(opt, arg());
        } else if (opt == "--port-file") {
            s.portFile = arg();
        } else if (opt == "--read-community") {
            s.readCommunity = arg();
        } else if (opt == "--write-community") {
            s.writeCommunity = arg();
        } else if (opt == "--user") {
            s.users.push_back(sim::parseUser({arg()}));
        } else {
            throw UsageError("unknown option " + opt);
        }
    }
    if (!listenGiven)
        throw UsageError("--listen ADDRESS:PORT is required");
    return s;
}

// Both ports chosen by the system under one number: the control channel takes a free TCP port
// and the agent the same number over UDP. A number that another program holds over UDP is given
// back and the next one tried, so that a caller never has to guess a free port.
void openPair(sim::Agent& agent, sim::ControlServer& control, const std::string& address) {
    constexpr int kAttempts = 100;
    for (int attempt = 1;; ++attempt) {
        control.listen(address, 0);
        try {
            agent.start(control.port());
            return;
        } catch (const sim::PortTaken&) {
            control.close();
            if (attempt == kAttempts)
                throw;
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--control") == 0) {
        std::string command;
        for (int i = 3; i < argc; ++i)
            command += (i > 3 ? " " : "") + std::string(argv[i]);
        return sim::controlClient(argv[2], command);
    }
    sim::Settings settings;
    sim::Profile profile;
    try {
        settings = parse(argc, argv);
        sim::loadProfile(profilePath(settings.profile), {settings.listenAddress}, profile);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kw9100-sim: %s\n", e.what());
        return 2;
    }
    std::signal(SIGTERM, onSignal);
    std::signal(SIGINT, onSignal);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        sim::Device device(settings, std::move(profile));
        sim::Agent agent(device);
        sim::ControlServer control(device);
        try {
            if (settings.port == 0 && settings.controlPort < 0)
                openPair(agent, control, settings.listenAddress);
            else {
                agent.start(settings.port);
                int controlPort = settings.controlPort < 0 ? agent.port() : settings.controlPort;
                if (controlPort > 0)
                    control.listen(settings.listenAddress, controlPort);
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "kw9100-sim: %s\n", e.what());
            return 3;
        }
        if (!settings.portFile.empty()) {
            std::FILE* f = std::fopen(settings.portFile.c_str(), "w");
            bool written = f && std::fprintf(f, "%d\n", agent.port()) > 0;
            if (f)
                written = std::fclose(f) == 0 && written;
            if (!written)
                throw std::runtime_error("cannot write " + settings.portFile);
        }
        agent.run(stopRequested, control);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "kw9100-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
