#include "device/device.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <stdexcept>

namespace sim {

using Clock = std::chrono::steady_clock;

Device::Device(Settings settings, Profile profile)
    : settings_(std::move(settings)), profile_(std::move(profile)), bootTime_(Clock::now()),
      quietUntil_(Clock::now()) {
    if (!settings_.readCommunity.empty())
        profile_.readCommunity = settings_.readCommunity;
    if (!settings_.writeCommunity.empty())
        profile_.writeCommunity = settings_.writeCommunity;
    if (profile_.readCommunity.empty())
        profile_.readCommunity = "fenrow";
    if (profile_.writeCommunity.empty())
        profile_.writeCommunity = "quillet";
    for (const auto& u : settings_.users)
        profile_.users.push_back(u);
    if (!journal_.open(settings_.journalPath))
        throw std::runtime_error("cannot open the journal " + settings_.journalPath);
    Behaviour::installAll(*this);
}

Device::~Device() {
    for (const auto& [reg, fn] : alarms_)
        snmp_alarm_unregister(reg);
}

void Device::onRead(const Oid& instance, ReadHook hook) {
    hooks_.read.emplace_back(instance, std::move(hook));
}

void Device::onCheck(const Oid& instance, CheckHook hook) {
    hooks_.check.emplace_back(instance, std::move(hook));
}

void Device::onSet(const Oid& instance, SetHook hook) {
    hooks_.set.emplace_back(instance, std::move(hook));
}

void Device::onLongSet(const Oid& instance, LongSetHook hook) {
    hooks_.longSet.emplace_back(instance, std::move(hook));
}

const Device::LongSetHook* Device::longSet(const Object& object) const {
    return hookFor(hooks_.longSet, object);
}

void Device::onCheckSet(SetCheckHook hook) {
    hooks_.setChecks.push_back(std::move(hook));
}

Device::Refusal Device::checkSet(const Written& written) {
    for (const auto& hook : hooks_.setChecks)
        if (Refusal refusal = hook(*this, written); refusal.status)
            return refusal;
    return {};
}

void Device::onRestarted(std::function<void(Device&)> hook) {
    hooks_.restarted.push_back(std::move(hook));
}

template <typename H>
const H* Device::hookFor(const std::vector<std::pair<Oid, H>>& list, const Object& object) const {
    for (const auto& [oid, hook] : list)
        if (profile_.store.find(oid) == &object)
            return &hook;
    return nullptr;
}

Value Device::read(const Object& object) {
    if (object.mirror) {
        if (const Object* source = store().find(*object.mirror))
            return source->active;
    }
    if (const auto* hook = hookFor(hooks_.read, object))
        return (*hook)(*this, object);
    return object.current();
}

int Device::check(const Object& object, const Value& value) {
    if (const auto* hook = hookFor(hooks_.check, object))
        return (*hook)(*this, value);
    return 0;
}

void Device::committed(const std::vector<std::pair<const Object*, Value>>& written) {
    for (const auto& [object, value] : written)
        for (const auto& [oid, hook] : hooks_.set)
            if (store().find(oid) == object)
                hook(*this, value);
}

void Device::after(int ms, std::function<void()> fn) {
    struct timeval tv {};
    ms = std::max(ms, 1);
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    unsigned int reg = snmp_alarm_register_hr(tv, 0, &Device::alarmFired, this);
    if (reg == 0)
        throw std::runtime_error("cannot register a timer");
    alarms_[reg] = std::move(fn);
}

void Device::alarmFired(unsigned int reg, void* self) {
    auto* device = static_cast<Device*>(self);
    auto it = device->alarms_.find(reg);
    if (it == device->alarms_.end())
        return;
    auto fn = std::move(it->second);
    device->alarms_.erase(it);
    fn();
}

std::uint32_t Device::uptimeTicks() const {
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - bootTime_);
    return static_cast<std::uint32_t>(elapsed.count() / 10);
}

void Device::holdRestarts(int ms) {
    restartsHeldUntil_ = Clock::now() + std::chrono::milliseconds(ms);
}

void Device::restart(bool factoryReset) {
    if (restarting_)
        return;
    if (const auto now = Clock::now(); now < restartsHeldUntil_) {
        const auto wait =
            std::chrono::duration_cast<std::chrono::milliseconds>(restartsHeldUntil_ - now);
        restartsHeldUntil_ = now;
        after(static_cast<int>(wait.count()) + 1, [this, factoryReset] { restart(factoryReset); });
        return;
    }
    restarting_ = true;
    journal_.event("restart", {{"factory", factoryReset ? "true" : "false"}});
    after(static_cast<int>(settings_.restartSeconds * 1000), [this, factoryReset] {
        if (factoryReset)
            store().resetAll();
        else
            store().activatePending();
        for (const auto& hook : hooks_.restarted)
            hook(*this);
        bootTime_ = Clock::now();
        restarting_ = false;
        journal_.event("ready");
    });
}

void Device::silence(int ms) {
    quietUntil_ = std::max(quietUntil_, Clock::now() + std::chrono::milliseconds(ms));
    journal_.event("silent", {{"ms", std::to_string(ms)}});
}

bool Device::silent() const {
    return restarting_ || Clock::now() < quietUntil_;
}

void Device::addFault(Fault fault) {
    faults_.push_back(std::move(fault));
}

int Device::clearFaults(const Oid& prefix) {
    auto before = faults_.size();
    std::erase_if(faults_, [&](const Fault& f) { return startsWith(f.prefix, prefix); });
    return static_cast<int>(before - faults_.size());
}

const Fault* Device::fault(Fault::Kind kind, const Oid& oid, bool isSet) const {
    for (const auto& f : faults_) {
        if (f.kind != kind || !startsWith(oid, f.prefix))
            continue;
        if (f.ops == Fault::Ops::Any || (f.ops == Fault::Ops::Set) == isSet)
            return &f;
    }
    return nullptr;
}

Behaviour::Behaviour(const char* name, Install install) {
    registry().emplace_back(name, install);
}

void Behaviour::installAll(Device& device) {
    for (const auto& [name, install] : registry())
        install(device);
}

std::vector<std::pair<const char*, Behaviour::Install>>& Behaviour::registry() {
    static std::vector<std::pair<const char*, Install>> list;
    return list;
}

} // namespace sim
