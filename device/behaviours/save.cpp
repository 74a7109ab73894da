// Save-and-activate and discard, on firmware that keeps changes pending (devMib.5).
#include "device/device.h"

namespace sim {
namespace {

const Oid kSaveActivate = kDevMib + Oid{5, 1, 0};   // 0 nothing, 1 activate
const Oid kDiscardChanges = kDevMib + Oid{5, 2, 0}; // 0 nothing, 1 discard

void install(Device& device) {
    device.onSet(kSaveActivate, [](Device& d, const Value& v) {
        Object* o = d.store().find(kSaveActivate);
        o->active = o->initial;
        if (v.number == 1) {
            d.store().activatePending();
            d.restart(false);
        }
    });
    device.onSet(kDiscardChanges, [](Device& d, const Value& v) {
        Object* o = d.store().find(kDiscardChanges);
        o->active = o->initial;
        if (v.number == 1)
            d.store().discardPending();
    });
}

const Behaviour behaviour("save", &install);

} // namespace
} // namespace sim
