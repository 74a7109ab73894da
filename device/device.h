#pragma once
// The simulated access point's state: its objects, what it does when they are written (the
// behaviours), whether it is restarting, the faults a test injected, and its journal. The SNMP
// agent (agent.cpp) and the control channel (control.cpp) both work on one Device.
#include "device/journal.h"
#include "device/profile.h"
#include "device/store.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace sim {

struct Settings {
    std::string listenAddress = "127.0.0.1";
    int port = 161;
    int controlPort = -1; // -1: the agent's port number, over TCP; 0: no control channel
    std::string portFile; // receives the agent's port once both ports are open
    std::string profile = "recent";
    std::string journalPath;
    double restartSeconds = 10;
    int tftpPort = 69;
    int ftpPort = 21;            // FTP servers named in the device's settings (certificate fetches)
    std::string flashDir;        // when set, files the device fetched are also kept here
    std::string readCommunity;   // overrides the profile's when not empty
    std::string writeCommunity;  // likewise
    std::vector<UserSpec> users; // added to the profile's
};

// A fault injected through the control channel for the objects under `prefix`.
struct Fault {
    enum class Kind { Error, Delay, Silence };
    enum class Ops { Any, Get, Set }; // Get covers get, getnext and getbulk
    Kind kind = Kind::Error;
    Oid prefix;
    Ops ops = Ops::Any;
    int status = 0;  // Error: the PDU error status answered
    int delayMs = 0; // Delay: how much later the answer goes out
};

class Device {
public:
    Device(Settings settings, Profile profile);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    const Settings& settings() const { return settings_; }
    const Profile& profile() const { return profile_; }
    ObjectStore& store() { return profile_.store; }
    Journal& journal() { return journal_; }

    // --- Behaviours: code that gives objects their meaning (device/behaviours/*.cpp) ---
    using ReadHook = std::function<Value(Device&, const Object&)>;
    using CheckHook = std::function<int(Device&, const Value&)>; // an SNMP error status or 0
    using SetHook = std::function<void(Device&, const Value&)>;
    // A SET whose answer waits for work it starts (a file transfer): the hook runs when the SET
    // arrives and has passed every check, before anything is written; it calls `finish` once,
    // later: 0 commits the SET as usual and answers it, an SNMP error status answers that status
    // and writes nothing. Other requests are served meanwhile.
    // `written` holds every binding of the SET (the work may need the other values it carries).
    using Written = std::vector<std::pair<Oid, Value>>;
    using LongSetHook = std::function<void(Device&, const Value&, const Written& written,
                                           std::function<void(int status)> finish)>;
    // Hooks follow the object, so they also run for its other instances ("also=").
    void onRead(const Oid& instance, ReadHook hook);
    void onCheck(const Oid& instance, CheckHook hook);
    void onSet(const Oid& instance, SetHook hook);
    void onLongSet(const Oid& instance, LongSetHook hook);
    const LongSetHook* longSet(const Object& object) const;
    // A check over a whole SET, for values that must agree with each other (the two ends of a
    // range): runs once every binding has passed its own checks. A refusal's status answers the
    // SET at the binding `at`, and nothing is written.
    struct Refusal {
        int status = 0;
        Oid at;
    };
    using SetCheckHook = std::function<Refusal(Device&, const Written& written)>;
    void onCheckSet(SetCheckHook hook);
    Refusal checkSet(const Written& written);
    // Runs each time a restart has ended, before the device answers again.
    void onRestarted(std::function<void(Device&)> hook);

    // The value a GET answers: a mirror's source, a read hook, or the object's current value.
    Value read(const Object& object);
    int check(const Object& object, const Value& value);
    // One SET has been committed: `written` in PDU order. Runs the set hooks.
    void committed(const std::vector<std::pair<const Object*, Value>>& written);

    // --- Time ---
    // Runs `fn` on the agent's loop after `ms` milliseconds. Never blocks the agent.
    void after(int ms, std::function<void()> fn);
    // Hundredths of a second since the last restart ended.
    std::uint32_t uptimeTicks() const;

    // --- Restart and silence ---
    // Answers nothing for the restart time, then comes back with the pending settings active
    // (or, for a factory reset, with the profile's values).
    void restart(bool factoryReset);
    // A restart asked for within the next `ms` milliseconds starts only when they have passed
    // (a device that finishes the exchange under way before it goes down).
    void holdRestarts(int ms);
    // Answers nothing for `ms` milliseconds; settings stay as they are.
    void silence(int ms);
    bool silent() const;

    // --- Faults ---
    void addFault(Fault fault);
    // Removes the faults whose prefix starts with `prefix` (all of them for an empty one).
    int clearFaults(const Oid& prefix);
    const Fault* fault(Fault::Kind kind, const Oid& oid, bool isSet) const;

private:
    struct Hooks {
        std::vector<std::pair<Oid, ReadHook>> read;
        std::vector<std::pair<Oid, CheckHook>> check;
        std::vector<std::pair<Oid, SetHook>> set;
        std::vector<std::pair<Oid, LongSetHook>> longSet;
        std::vector<SetCheckHook> setChecks;
        std::vector<std::function<void(Device&)>> restarted;
    };
    template <typename H>
    const H* hookFor(const std::vector<std::pair<Oid, H>>& list, const Object& object) const;
    static void alarmFired(unsigned int reg, void* self);

    Settings settings_;
    Profile profile_;
    Journal journal_;
    Hooks hooks_;
    std::vector<Fault> faults_;
    std::map<unsigned int, std::function<void()>> alarms_;
    std::chrono::steady_clock::time_point bootTime_;
    std::chrono::steady_clock::time_point quietUntil_;
    std::chrono::steady_clock::time_point restartsHeldUntil_;
    bool restarting_ = false;
};

// Behaviours register themselves with a static Behaviour object in their own source file; the
// device installs all of them once its profile is loaded. A behaviour whose objects the profile
// lacks simply never runs (an older firmware without save-and-activate, for instance).
class Behaviour {
public:
    using Install = void (*)(Device&);
    Behaviour(const char* name, Install install);
    static void installAll(Device& device);

private:
    static std::vector<std::pair<const char*, Install>>& registry();
};

} // namespace sim
