// The wireless traffic counters of radio instance 1 move: every reading of a count is larger
// than the one before (each count by its own step, wrapping at the top of the 32-bit integer
// range as the device's counters do). The four rates stay as set.
#include "device/device.h"

namespace sim {
namespace {

const Oid kCounters = kDevMib + Oid{4, 3, 1, 1};
constexpr unsigned kFirstCount = 5; // columns 1..4 are the rates
constexpr unsigned kLastColumn = 20;
constexpr std::int64_t kTop = 2147483647;

// Steps per reading: frames by the dozen, errors now and then, bytes by the kilobyte.
std::int64_t step(unsigned column) {
    switch (column) {
    case 19:
    case 20:
        return 1500 * static_cast<std::int64_t>(column);
    case 7:
    case 12:
        return 40 + column;
    default:
        return 1 + column % 4;
    }
}

void install(Device& device) {
    for (unsigned column = kFirstCount; column <= kLastColumn; ++column) {
        const Oid oid = kCounters + Oid{column, 1};
        if (!device.store().find(oid))
            continue;
        device.onRead(
            oid, [grown = std::int64_t{0}, by = step(column)](Device&, const Object& o) mutable {
                grown += by;
                Value v = o.active;
                v.number = (v.number + grown) % (kTop + 1);
                return v;
            });
    }
}

const Behaviour behaviour("statistics", &install);

} // namespace
} // namespace sim
