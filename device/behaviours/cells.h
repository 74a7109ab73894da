#pragma once
// Table cells that behaviours create while the device fills a table (a scan's results, the
// stations it sees).
#include "device/device.h"

namespace sim {

// Defines (or replaces) a read-only object at `oid` holding `value`, in effect at once.
inline void defineCell(Device& d, const Oid& oid, Value value) {
    Object o;
    o.syntax = value.syntax;
    o.access = Access::ReadOnly;
    o.apply = Apply::Now;
    o.initial = o.active = std::move(value);
    d.store().define(oid, std::move(o));
}

} // namespace sim
