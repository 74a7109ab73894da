// The administrator's management limits: a manager address range is refused when its start lies
// above its end (the two ends compared as unsigned numbers, whether the SET carries both or one).
#include "device/device.h"

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

#include <algorithm>

namespace sim {
namespace {

const Oid kRangeColumns = kDevMib + Oid{3, 1, 9, 1};
constexpr std::uint32_t kFrom = 2;
constexpr std::uint32_t kTo = 3;

Oid cell(std::uint32_t column, std::uint32_t row) {
    return kRangeColumns + Oid{column, row};
}

std::uint32_t number(const Value& address) {
    std::uint32_t n = 0;
    for (unsigned char byte : address.bytes)
        n = n << 8 | byte;
    return n;
}

// The end of `row` in `column`: as the SET writes it, else as the device holds it.
const Value* end(Device& d, const Device::Written& written, std::uint32_t column,
                 std::uint32_t row) {
    const Oid oid = cell(column, row);
    for (const auto& [at, value] : written)
        if (at == oid)
            return &value;
    const Object* o = d.store().find(oid);
    return o ? &o->current() : nullptr;
}

void install(Device& device) {
    if (!device.store().find(cell(kFrom, 1)))
        return; // firmware without address ranges
    device.onCheckSet([](Device& d, const Device::Written& written) -> Device::Refusal {
        for (const auto& [oid, value] : written) {
            const bool inTable =
                oid.size() == kRangeColumns.size() + 2 &&
                std::equal(kRangeColumns.begin(), kRangeColumns.end(), oid.begin());
            if (!inTable || (oid[oid.size() - 2] != kFrom && oid[oid.size() - 2] != kTo))
                continue;
            const std::uint32_t row = oid.back();
            const Value* from = end(d, written, kFrom, row);
            const Value* to = end(d, written, kTo, row);
            if (from && to && number(*from) > number(*to))
                return {SNMP_ERR_INCONSISTENTVALUE, oid};
        }
        return {};
    });
}

const Behaviour behaviour("admin", &install);

} // namespace
} // namespace sim
