// Values that move on their own: the MIB-II uptime counts from the last restart, and the CPU and
// memory load of the status group change from one reading to the next.
#include "device/device.h"

namespace sim {
namespace {

const Oid kSysUpTime{1, 3, 6, 1, 2, 1, 1, 3, 0};
const Oid kCpuLoad = kDevMib + Oid{4, 1, 2, 1, 0};
const Oid kMemoryLoad = kDevMib + Oid{4, 1, 2, 2, 0};

// A reading that wanders around the profile's value, within 0..100 percent, and never repeats
// the previous reading.
Device::ReadHook load(int step) {
    return [step, turn = 0](Device&, const Object& o) mutable {
        turn = (turn + 1) % 7;
        auto value = o.active;
        value.number = std::clamp<std::int64_t>(value.number + (turn - 3) * step, 0, 100);
        if (turn == 3)
            value.number = value.number < 100 ? value.number + 1 : value.number - 1;
        return value;
    };
}

void install(Device& device) {
    device.onRead(kSysUpTime, [](Device& d, const Object& o) {
        Value v = o.active;
        v.number = d.uptimeTicks();
        return v;
    });
    device.onRead(kCpuLoad, load(3));
    device.onRead(kMemoryLoad, load(2));
}

const Behaviour behaviour("status", &install);

} // namespace
} // namespace sim
