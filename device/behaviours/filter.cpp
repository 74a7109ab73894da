// The wireless MAC access-control list: eight fixed slots, a free slot all zeros. A MAC that
// another slot holds already is refused, as the device refuses a second entry for one station.
#include "device/device.h"

namespace sim {
namespace {

const Oid kSlotColumn = kDevMib + Oid{2, 4, 2, 1, 2, 1};
constexpr std::uint32_t kSlots = 8;
constexpr int kInconsistentValue = 12;
const std::string kFreeMac(6, '\0');

bool heldElsewhere(Device& d, std::uint32_t slot, const Value& v) {
    for (std::uint32_t other = 1; other <= kSlots; ++other) {
        if (other == slot)
            continue;
        const Object* o = d.store().find(kSlotColumn + Oid{other});
        if (o && o->current().bytes == v.bytes)
            return true;
    }
    return false;
}

void install(Device& device) {
    for (std::uint32_t slot = 1; slot <= kSlots; ++slot) {
        if (!device.store().find(kSlotColumn + Oid{slot}))
            return; // a profile without the MAC list
        device.onCheck(kSlotColumn + Oid{slot}, [slot](Device& d, const Value& v) {
            return v.bytes != kFreeMac && heldElsewhere(d, slot, v) ? kInconsistentValue : 0;
        });
    }
}

const Behaviour behaviour("filter", &install);

} // namespace
} // namespace sim
