// The Ethernet port's counters grow while the device runs: every reading finds more frames and
// more bytes than the one before (frames by a few, bytes by whole frames' worth).
#include "device/device.h"

#include <algorithm>
#include <limits>

namespace sim {
namespace {

const Oid kCounters = kDevMib + Oid{4, 3, 2, 1};

// Each reading adds `step` more than the previous one did, so successive readings all differ.
Device::ReadHook growing(std::int64_t step) {
    return [step, reads = std::int64_t{0}](Device&, const Object& o) mutable {
        ++reads;
        Value value = o.active;
        value.number = std::min<std::int64_t>(value.number + step * reads * (reads + 1) / 2,
                                              std::numeric_limits<std::int32_t>::max());
        return value;
    };
}

void install(Device& device) {
    device.onRead(kCounters + Oid{1, 0}, growing(3));
    device.onRead(kCounters + Oid{2, 0}, growing(5));
    device.onRead(kCounters + Oid{3, 0}, growing(3 * 512));
    device.onRead(kCounters + Oid{4, 0}, growing(5 * 256));
}

const Behaviour behaviour("ethernet", &install);

} // namespace
} // namespace sim
