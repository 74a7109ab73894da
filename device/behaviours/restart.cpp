// Restart and factory reset. The device answers the SET, then restarts: silent for the restart
// time, back with its settings kept (or with the profile's values after a factory reset).
#include "device/device.h"

namespace sim {
namespace {

// upgradesettingcommand: 1 firmware update, 2 configuration setting, 3 configuration save,
// 4 restart, 5 factory reset, 6 nothing.
const Oid kUpgradeCommand = kDevMib + Oid{3, 3, 5, 0};
const Oid kRestart = kDevMib + Oid{3, 2, 1, 0};        // 1 true, 2 false
const Oid kFactoryDefault = kDevMib + Oid{3, 2, 2, 0}; // 1 true, 2 false

// A command object reads back its resting value once the command has been taken.
void rest(Device& device, const Oid& oid) {
    if (Object* o = device.store().find(oid))
        o->active = o->initial;
}

void install(Device& device) {
    device.onSet(kUpgradeCommand, [](Device& d, const Value& v) {
        if (v.number == 4 || v.number == 5) {
            rest(d, kUpgradeCommand);
            d.restart(v.number == 5);
        }
    });
    device.onSet(kRestart, [](Device& d, const Value& v) {
        rest(d, kRestart);
        if (v.number == 1)
            d.restart(false);
    });
    device.onSet(kFactoryDefault, [](Device& d, const Value& v) {
        rest(d, kFactoryDefault);
        if (v.number == 1)
            d.restart(true);
    });
}

const Behaviour behaviour("restart", &install);

} // namespace
} // namespace sim
