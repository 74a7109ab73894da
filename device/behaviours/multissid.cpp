// Multiple SSIDs and VLANs (objects in profiles/wireless.inc and profiles/multissid.inc): columns
// the capability flags deny are not there, VLAN tagging needs multiple SSIDs, the management VLAN
// needs both (and keeps them on while it is on), and stored WEP keys read back masked.
#include "device/device.h"

namespace sim {
namespace {

const Oid kMultiState = kDevMib + Oid{2, 9, 3, 1, 1, 0};
const Oid kVlanState = kDevMib + Oid{2, 9, 1, 1, 1, 0};
const Oid kManagerVlan = kDevMib + Oid{3, 1, 8, 1, 0};
const Oid kPriorityState = kDevMib + Oid{2, 9, 4, 1, 1, 1};
const Oid kSsidTable = kDevMib + Oid{2, 9, 2, 1};
const Oid kDynamicVlanSupported = kDevMib + Oid{99, 1, 1, 54, 0};
const Oid kPriorityBySsidSupported = kDevMib + Oid{99, 1, 1, 56, 0};
const Oid kIsolatedSecurity = kDevMib + Oid{99, 1, 1, 13, 0}; // multiple SSIDs of current firmware

constexpr std::uint32_t kKeyColumn = 7;
constexpr std::uint32_t kDyVlanColumn = 19;
constexpr std::uint32_t kEthernetWithoutTagColumn = 20;
constexpr std::uint32_t kPriorityColumn = 21;
constexpr std::uint32_t kSsids = 8;
constexpr int kInconsistentValue = 12;

Oid cell(std::uint32_t column, std::uint32_t ssid) {
    return kSsidTable + Oid{column, 1, ssid};
}

bool on(Device& d, const Oid& oid) {
    const Object* o = d.store().find(oid);
    return o && o->current().number == 1;
}

void removeColumn(Device& d, std::uint32_t column) {
    for (std::uint32_t ssid = 1; ssid <= kSsids; ++ssid)
        d.store().remove(cell(column, ssid));
}

void install(Device& device) {
    if (!device.store().find(kManagerVlan))
        return; // firmware without these objects
    // What the device lacks, it does not answer.
    if (!on(device, kDynamicVlanSupported))
        removeColumn(device, kDyVlanColumn);
    if (!on(device, kPriorityBySsidSupported)) {
        removeColumn(device, kEthernetWithoutTagColumn);
        removeColumn(device, kPriorityColumn);
        device.store().remove(kPriorityState);
    }

    for (std::uint32_t ssid = 1; ssid <= kSsids; ++ssid) {
        if (!device.store().find(cell(kKeyColumn, ssid)))
            continue;
        device.onRead(cell(kKeyColumn, ssid), [](Device&, const Object& o) {
            return Value::string(std::string(o.current().bytes.size(), '*'));
        });
    }
    // Earlier firmware switches guests one by one, with no global multi-SSID state to keep.
    if (!on(device, kIsolatedSecurity))
        return;
    device.onCheck(kVlanState, [](Device& d, const Value& v) {
        if (v.number == 1 && !on(d, kMultiState))
            return kInconsistentValue; // tagging needs multiple SSIDs
        if (v.number == 0 && on(d, kManagerVlan))
            return kInconsistentValue;
        return 0;
    });
    device.onCheck(kMultiState, [](Device& d, const Value& v) {
        return v.number == 0 && on(d, kManagerVlan) ? kInconsistentValue : 0;
    });
    device.onCheck(kManagerVlan, [](Device& d, const Value& v) {
        return v.number == 1 && !(on(d, kMultiState) && on(d, kVlanState)) ? kInconsistentValue : 0;
    });
}

const Behaviour behaviour("multissid", &install);

} // namespace
} // namespace sim
