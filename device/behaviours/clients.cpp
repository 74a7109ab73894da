// Client and WDS information: the device builds its client table (devMib.4.5.2.1) or WDS table
// (devMib.4.6.2.1) from the stations it sees when the trigger is written 1, and answers the
// trigger once the table is ready. The stations come from the simulator's own lists
// (profiles/clients.inc), which a test may replace.
#include "device/behaviours/cells.h"

#include <sstream>

namespace sim {
namespace {

const Oid kClientTrigger = kDevMib + Oid{4, 5, 1, 1, 1, 1};
const Oid kClientTable = kDevMib + Oid{4, 5, 2, 1};
const Oid kClientList = kDevMib + Oid{4, 5, 100, 0};
const Oid kWdsTrigger = kDevMib + Oid{4, 6, 1, 1, 1, 1};
const Oid kWdsTable = kDevMib + Oid{4, 6, 2, 1};
const Oid kWdsList = kDevMib + Oid{4, 6, 100, 0};

// How long the device takes to gather its stations.
constexpr int kGatherMs = 1500;

// Replaces the rows of `table` with one row per station of `list`: column 1 the row's index,
// 2 the MAC address, 3 to 6 numbers, 7 the SSID.
void build(Device& d, const Oid& table, const Oid& list) {
    std::vector<Oid> old;
    d.store().forEachObject([&](const Oid& oid, Object&) {
        if (startsWith(oid, table))
            old.push_back(oid);
    });
    for (const Oid& oid : old)
        d.store().remove(oid);
    const Object* stations = d.store().find(list);
    if (!stations)
        return;
    std::istringstream all(stations->active.bytes);
    std::string station;
    std::uint32_t row = 0;
    while (std::getline(all, station, ';')) {
        std::istringstream fields(station);
        std::string mac, ssid;
        std::int64_t n[4] = {};
        if (!(fields >> mac >> n[0] >> n[1] >> n[2] >> n[3]))
            continue;
        fields >> ssid;
        // "-" stands for a station whose address the device reports empty.
        const auto macValue = mac == "-" ? std::optional<Value>(Value::string(""))
                                         : parseValue(Syntax::OctetString, mac, true);
        if (!macValue)
            continue;
        ++row;
        const auto cell = [&](std::uint32_t column) { return table + Oid{column, row}; };
        defineCell(d, cell(1), Value::integer(row));
        defineCell(d, cell(2), *macValue);
        for (std::uint32_t c = 0; c < 4; ++c)
            defineCell(d, cell(3 + c), Value::integer(n[c]));
        defineCell(d, cell(7), Value::string(ssid == "-" ? "" : ssid));
    }
}

void trigger(Device& device, const Oid& oid, const Oid& table, const Oid& list) {
    if (!device.store().find(oid))
        return;
    device.onLongSet(oid,
                     [table, list](Device& d, const Value& v, const Device::Written&, auto finish) {
                         if (v.number != 1)
                             return finish(0);
                         d.after(kGatherMs, [&d, table, list, finish] {
                             build(d, table, list);
                             finish(0);
                         });
                     });
    device.onSet(oid, [oid](Device& d, const Value&) {
        if (Object* o = d.store().find(oid))
            o->active = o->initial;
    });
}

void install(Device& device) {
    trigger(device, kClientTrigger, kClientTable, kClientList);
    trigger(device, kWdsTrigger, kWdsTable, kWdsList);
}

const Behaviour behaviour("clients", &install);

} // namespace
} // namespace sim
