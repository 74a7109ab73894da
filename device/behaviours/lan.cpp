// DHCP server slots and leases. Static leases live in fixed slots: a slot whose address is
// written 0.0.0.0 becomes free (all its columns back to their empty values), and no two used
// slots may hold the same address or MAC, so an entry that moves to a slot held by its MAC must
// have that slot cleared first (each SET is applied as it arrives). The table of static leases
// handed out shows each used slot whose status is ON.
//
// A restart asked for together with a change of the LAN settings waits a moment, so that the
// management station's next request of the same change (the port type) is still answered.
#include "device/device.h"

namespace sim {
namespace {

const Oid kSlotColumns = kDevMib + Oid{2, 7, 3, 1};
const Oid kStaticLeaseColumns = kDevMib + Oid{2, 7, 4, 2, 1};
constexpr std::uint32_t kSlots = 8;
enum Column : std::uint32_t { kIp = 1, kMac, kMask, kGateway, kDns, kWins, kDomain, kStatus };

constexpr int kInconsistentValue = 12;
constexpr int kLanRestartGraceMs = 500;

Oid cell(std::uint32_t column, std::uint32_t slot) {
    return kSlotColumns + Oid{column, slot};
}

const Value* current(Device& d, std::uint32_t column, std::uint32_t slot) {
    const Object* o = d.store().find(cell(column, slot));
    return o ? &o->current() : nullptr;
}

void put(Device& d, std::uint32_t column, std::uint32_t slot, Value v) {
    Object* o = d.store().find(cell(column, slot));
    if (!o)
        return;
    if (o->apply == Apply::Now)
        o->active = std::move(v);
    else
        o->pending = std::move(v);
}

const std::string kNoAddress(4, '\0');
const std::string kNoMac(6, '\0');

bool used(Device& d, std::uint32_t slot) {
    const Value* ip = current(d, kIp, slot);
    return ip && ip->bytes != kNoAddress;
}

// Another used slot already holds `v` in `column`.
bool heldElsewhere(Device& d, std::uint32_t column, std::uint32_t slot, const Value& v) {
    for (std::uint32_t other = 1; other <= kSlots; ++other) {
        if (other == slot || !used(d, other))
            continue;
        const Value* held = current(d, column, other);
        if (held && held->bytes == v.bytes)
            return true;
    }
    return false;
}

void freeSlot(Device& d, std::uint32_t slot) {
    Value address{Syntax::IpAddress, 0, 0, kNoAddress, {}};
    for (std::uint32_t column : {kMask, kGateway, kDns, kWins})
        put(d, column, slot, address);
    put(d, kMac, slot, Value::string(kNoMac));
    put(d, kDomain, slot, Value::string(""));
    put(d, kStatus, slot, Value::integer(0));
}

void install(Device& device) {
    for (std::uint32_t setting = 1; setting <= 4; ++setting)
        if (device.store().find(kDevMib + Oid{1, 2, setting, 0}))
            device.onSet(kDevMib + Oid{1, 2, setting, 0},
                         [](Device& d, const Value&) { d.holdRestarts(kLanRestartGraceMs); });
    for (std::uint32_t slot = 1; slot <= kSlots; ++slot) {
        if (!device.store().find(cell(kIp, slot)))
            return; // a profile without the DHCP server
        device.onCheck(cell(kIp, slot), [slot](Device& d, const Value& v) {
            return v.bytes != kNoAddress && heldElsewhere(d, kIp, slot, v) ? kInconsistentValue : 0;
        });
        device.onCheck(cell(kMac, slot), [slot](Device& d, const Value& v) {
            return v.bytes != kNoMac && heldElsewhere(d, kMac, slot, v) ? kInconsistentValue : 0;
        });
        device.onSet(cell(kIp, slot), [slot](Device& d, const Value& v) {
            if (v.bytes == kNoAddress)
                freeSlot(d, slot);
        });
        // The lease row of a slot: the slot's MAC and address while it is used and ON.
        const auto shown = [slot](Device& d) {
            const Value* status = current(d, kStatus, slot);
            return used(d, slot) && status && status->number == 1;
        };
        device.onRead(kStaticLeaseColumns + Oid{1, slot},
                      [slot, shown](Device& d, const Object& o) {
                          return shown(d) ? *current(d, kMac, slot) : o.active;
                      });
        device.onRead(kStaticLeaseColumns + Oid{2, slot},
                      [slot, shown](Device& d, const Object& o) {
                          return shown(d) ? *current(d, kIp, slot) : o.active;
                      });
    }
}

const Behaviour behaviour("lan", &install);

} // namespace
} // namespace sim
