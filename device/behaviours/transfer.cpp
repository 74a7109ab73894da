// File transfers: the device fetches files from (or stores them on) the manager's TFTP server and
// fetches its SSL certificate and key from an FTP server, as a client, with libcurl. A command
// SET is answered when its transfer has ended (an error status when it failed); the transfer runs
// on a worker thread, so the agent keeps serving every other request meanwhile.
//
// What a fetched file means is decided by the command that follows it:
//  - "Firmwareupdate" takes it as a firmware image (format below); a bad image is refused and the
//    running firmware stays. A good one becomes the running version at the next restart.
//  - "Configsave" takes it as a configuration file (the text written by "Put", format below); a
//    file that does not parse, or names a setting the device lacks, is refused as a whole.
//
// Firmware image: "KW9100FW" (8 bytes), the version text NUL-padded to 16 bytes, the payload
// length (4 bytes, big-endian), the sum of the payload's bytes modulo 2^32 (4 bytes, big-endian),
// then the payload.
//
// Configuration file: the line "# KW-9100 configuration", then one line per setting
// (every read-write object that takes effect at a save or restart): OID SYNTAX VALUE, with text
// values in double quotes (escapes \" \\ \xHH) as in profiles.
#include "device/behaviours/tftp_client.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <thread>

namespace sim {
namespace {

const Oid kServerAddress = kDevMib + Oid{3, 3, 1, 0}; // remotesrvip
const Oid kFileName = kDevMib + Oid{3, 3, 2, 0};      // remotefilename
const Oid kTftpCommand = kDevMib + Oid{3, 3, 4, 0};   // 1 connect, 2 get, 3 put, 4 nothing
const Oid kUpgradeCommand = kDevMib + Oid{3, 3, 5, 0};
const Oid kFtpServer = kDevMib + Oid{3, 3, 6, 1, 0};
const Oid kFtpUser = kDevMib + Oid{3, 3, 6, 2, 0};
const Oid kFtpPassword = kDevMib + Oid{3, 3, 6, 3, 0};
const Oid kCertFile = kDevMib + Oid{3, 3, 6, 4, 1, 0};
const Oid kKeyFile = kDevMib + Oid{3, 3, 6, 4, 2, 0};
const Oid kCertUpdate = kDevMib + Oid{3, 3, 6, 4, 3, 0}; // 1 update, 2 nothing
const Oid kFirmwareVersion = kDevMib + Oid{4, 1, 1, 1, 0};

// SNMP error statuses of the answers.
constexpr int kGenErr = 5;
constexpr int kInconsistentValue = 12;
constexpr int kResourceUnavailable = 13;

constexpr int kGet = 2;
constexpr int kPut = 3;
constexpr int kFirmwareUpdate = 1;
constexpr int kConfigSave = 3;

constexpr char kImageMagic[] = "KW9100FW";
constexpr std::size_t kImageHeader = 8 + 16 + 4 + 4;
constexpr char kConfigHeader[] = "# KW-9100 configuration";

// The transfers of one device and what they left behind.
struct State {
    std::shared_ptr<Job> running; // at most one transfer at a time
    std::string fetched;          // the last file fetched by TFTP
    std::string stagedVersion;    // firmware that runs after the next restart
};

// A setting as a command sees it: from the SET that carries the command, else the device's
// current value.
Value setting(Device& d, const Oid& oid, const Device::Written& written) {
    for (const auto& [o, value] : written)
        if (o == oid)
            return value;
    const Object* o = d.store().find(oid);
    return o ? o->current() : Value{};
}

std::string text(Device& d, const Oid& oid, const Device::Written& written) {
    return setting(d, oid, written).bytes;
}

// The name after the last "/" or "\" (names typed on the manager's side may carry its path).
std::string bareName(const std::string& path) {
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// Keeps a fetched file in the flash directory, when the simulator was given one.
void keep(Device& d, const std::string& name, const std::string& data) {
    const std::string& dir = d.settings().flashDir;
    if (dir.empty() || name.empty())
        return;
    std::ofstream out(std::filesystem::path(dir) / bareName(name), std::ios::binary);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

// Runs `job` with `state` marked busy, and `then` once it has ended.
void launch(Device& d, State& state, std::shared_ptr<Job> job, std::function<void(Job&)> then) {
    state.running = job;
    sim::launch(d, std::move(job), [&state, then = std::move(then)](Job& done) {
        state.running.reset();
        then(done);
    });
}

// --- Firmware images ---

std::uint32_t bigEndian(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v = (v << 8) | static_cast<unsigned char>(s[at + i]);
    return v;
}

// The version an image carries, or nothing when it is not a good image.
std::optional<std::string> imageVersion(const std::string& image) {
    if (image.size() < kImageHeader || image.compare(0, 8, kImageMagic) != 0)
        return std::nullopt;
    std::string version = image.substr(8, 16);
    version.resize(version.find('\0') == std::string::npos ? 16 : version.find('\0'));
    if (version.empty() ||
        !std::all_of(version.begin(), version.end(), [](char c) { return c > ' ' && c < 127; }))
        return std::nullopt;
    const std::uint32_t length = bigEndian(image, 24);
    if (length != image.size() - kImageHeader)
        return std::nullopt;
    std::uint32_t sum = 0;
    for (std::size_t i = kImageHeader; i < image.size(); ++i)
        sum += static_cast<unsigned char>(image[i]);
    if (sum != bigEndian(image, 28))
        return std::nullopt;
    return version;
}

// --- Configuration files ---

bool isSetting(const Object& o) {
    return o.access == Access::ReadWrite && o.apply == Apply::Pending && !o.mirror;
}

std::string quoted(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < ' ' || c >= 127) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string configuration(Device& d) {
    std::ostringstream out;
    out << kConfigHeader << "\n";
    d.store().forEachObject([&](const Oid& oid, Object& o) {
        if (!isSetting(o))
            return;
        const Value& v = o.current();
        out << oidText(oid) << " " << syntaxName(o.syntax) << " "
            << (o.syntax == Syntax::OctetString ? quoted(v.bytes) : valueText(v)) << "\n";
    });
    return out.str();
}

// The settings a configuration file holds, or nothing when any line is faulty.
std::optional<std::vector<std::pair<Object*, Value>>> parseConfiguration(Device& d,
                                                                         const std::string& file) {
    std::istringstream in(file);
    std::string line;
    if (!std::getline(in, line) || line != kConfigHeader)
        return std::nullopt;
    std::vector<std::pair<Object*, Value>> settings;
    try {
        while (std::getline(in, line)) {
            const auto t = tokenize(line);
            if (t.empty())
                continue;
            if (t.size() != 3)
                return std::nullopt;
            const auto oid = parseOid(t[0]);
            const auto syntax = parseSyntax(t[1]);
            Object* o = oid ? d.store().find(*oid) : nullptr;
            if (!o || !syntax || *syntax != o->syntax || !isSetting(*o))
                return std::nullopt;
            const auto value = parseValue(*syntax, t[2], t[1] == "hex");
            if (!value)
                return std::nullopt;
            const bool fits =
                *syntax == Syntax::OctetString
                    ? inRanges(o->sizes, static_cast<std::int64_t>(value->bytes.size()))
                    : *syntax != Syntax::Integer || inRanges(o->values, value->number);
            if (!fits)
                return std::nullopt;
            settings.emplace_back(o, *value);
        }
    } catch (const std::exception&) {
        return std::nullopt; // unterminated quotes, bad escapes
    }
    return settings;
}

// A command object reads back its resting value once the command has been taken.
void rest(Device& d, const Oid& oid) {
    if (Object* o = d.store().find(oid))
        o->active = o->initial;
}

// --- Commands ---

void tftpCommand(Device& d, State& state, int command, const Device::Written& written,
                 std::function<void(int)> finish) {
    if (command != kGet && command != kPut)
        return finish(0);
    if (state.running)
        return finish(kResourceUnavailable);
    const std::string name = text(d, kFileName, written);
    const std::string server = valueText(setting(d, kServerAddress, written));
    auto job = tftpJob(d, server, name);
    if (command == kPut) {
        job->upload = true;
        job->data = configuration(d);
    }
    launch(d, state, job, [&d, &state, name, command, finish](Job& done) {
        journalTransfer(d, "tftp", command == kGet ? "get" : "put", name, done);
        if (done.code != CURLE_OK)
            return finish(kGenErr);
        if (command == kGet) {
            state.fetched = done.data;
            keep(d, name, done.data);
        }
        finish(0);
    });
}

void certificateUpdate(Device& d, State& state, const Device::Written& written,
                       std::function<void(int)> finish) {
    if (state.running)
        return finish(kResourceUnavailable);
    const std::string base =
        "ftp://" + text(d, kFtpServer, written) + ":" + std::to_string(d.settings().ftpPort) + "/";
    const std::string account = text(d, kFtpUser, written) + ":" + text(d, kFtpPassword, written);
    const std::string certificate = bareName(text(d, kCertFile, written));
    const std::string key = bareName(text(d, kKeyFile, written));
    if (certificate.empty() || key.empty())
        return finish(kGenErr);
    auto fetch = [&d, base, account](const std::string& name) {
        auto job = std::make_shared<Job>();
        job->url = base + escaped(name);
        job->userPassword = account;
        job->source = d.settings().listenAddress;
        return job;
    };
    // The certificate first, then the key; both must arrive.
    launch(d, state, fetch(certificate), [&d, &state, fetch, certificate, key, finish](Job& first) {
        journalTransfer(d, "ftp", "get", certificate, first);
        if (first.code != CURLE_OK)
            return finish(kGenErr);
        std::string certData = first.data;
        launch(d, state, fetch(key), [&d, certificate, certData, key, finish](Job& second) {
            journalTransfer(d, "ftp", "get", key, second);
            if (second.code != CURLE_OK)
                return finish(kGenErr);
            keep(d, certificate, certData);
            keep(d, key, second.data);
            d.journal().event("certificate", {{"certificate", Journal::quote(certificate)},
                                              {"key", Journal::quote(key)}});
            finish(0);
        });
    });
}

void install(Device& device) {
    if (!device.store().find(kTftpCommand))
        return;
    if (!curlReady())
        return;
    auto state = std::make_shared<State>();

    device.onLongSet(
        kTftpCommand, [state](Device& d, const Value& v, const auto& written, auto finish) {
            tftpCommand(d, *state, static_cast<int>(v.number), written, std::move(finish));
        });
    device.onSet(kTftpCommand, [](Device& d, const Value&) { rest(d, kTftpCommand); });

    device.onCheck(kUpgradeCommand, [state](Device& d, const Value& v) {
        if (v.number == kFirmwareUpdate && !imageVersion(state->fetched))
            return kInconsistentValue;
        if (v.number == kConfigSave && !parseConfiguration(d, state->fetched))
            return kInconsistentValue;
        return 0;
    });
    device.onSet(kUpgradeCommand, [state](Device& d, const Value& v) {
        if (v.number == kFirmwareUpdate) {
            state->stagedVersion = imageVersion(state->fetched).value_or("");
            d.journal().event("firmware", {{"version", Journal::quote(state->stagedVersion)}});
            rest(d, kUpgradeCommand);
        } else if (v.number == kConfigSave) {
            const auto settings = parseConfiguration(d, state->fetched);
            for (const auto& [object, value] :
                 settings.value_or(std::vector<std::pair<Object*, Value>>{}))
                object->pending = value;
            d.journal().event("configuration",
                              {{"settings", std::to_string(settings ? settings->size() : 0)}});
            rest(d, kUpgradeCommand);
        }
    });
    device.onRestarted([state](Device& d) {
        if (state->stagedVersion.empty())
            return;
        if (Object* o = d.store().find(kFirmwareVersion))
            o->active = o->initial = Value::string(state->stagedVersion);
        state->stagedVersion.clear();
    });

    device.onLongSet(kCertUpdate,
                     [state](Device& d, const Value& v, const auto& written, auto finish) {
                         if (v.number != 1)
                             return finish(0);
                         certificateUpdate(d, *state, written, std::move(finish));
                     });
    device.onSet(kCertUpdate, [](Device& d, const Value&) { rest(d, kCertUpdate); });
}

const Behaviour behaviour("transfer", &install);

} // namespace
} // namespace sim
