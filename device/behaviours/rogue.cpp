// Rogue AP detection: a scan (answered when it is over) lists the access points the radio hears
// that pass the filter and are not accepted yet; entries move to the AP list (at most 30) or are
// deleted by their index, which the scan gave them and which never changes.
#include "device/behaviours/cells.h"

#include <sstream>

namespace sim {
namespace {

const Oid kBssType = kDevMib + Oid{2, 10, 1, 0};
const Oid kBand = kDevMib + Oid{2, 10, 2, 0};
const Oid kSecurity = kDevMib + Oid{2, 10, 3, 0};
const Oid kDetect = kDevMib + Oid{2, 10, 4, 1, 1, 0};
const Oid kAdd = kDevMib + Oid{2, 10, 4, 1, 2, 0};
const Oid kDeleteRogue = kDevMib + Oid{2, 10, 4, 1, 3, 0};
const Oid kRogueTable = kDevMib + Oid{2, 10, 4, 1, 4, 1};
const Oid kDeleteAccepted = kDevMib + Oid{2, 10, 4, 2, 1, 0};
const Oid kApTable = kDevMib + Oid{2, 10, 4, 2, 2, 1};
const Oid kAir = kDevMib + Oid{2, 10, 4, 100, 0};

constexpr int kScanMs = 1200;
constexpr std::size_t kMaxAccepted = 30;
constexpr int kWrongValue = 10;
constexpr int kResourceUnavailable = 13;
// The columns of an entry, as both tables have them.
constexpr std::uint32_t kColumns[] = {2, 3, 5, 7, 8, 9};

std::int64_t number(Device& d, const Oid& oid) {
    const Object* o = d.store().find(oid);
    return o ? o->current().number : 0;
}

// The row indices of a table (those that have a Type cell).
std::vector<std::uint32_t> rows(Device& d, const Oid& table) {
    std::vector<std::uint32_t> out;
    const Oid type = table + Oid{2};
    d.store().forEachObject([&](const Oid& oid, Object&) {
        if (oid.size() == type.size() + 1 && startsWith(oid, type))
            out.push_back(oid.back());
    });
    return out;
}

bool hasRow(Device& d, const Oid& table, std::int64_t index) {
    return index > 0 && d.store().find(table + Oid{2, static_cast<std::uint32_t>(index)});
}

void removeRow(Device& d, const Oid& table, std::uint32_t index) {
    for (std::uint32_t column : kColumns)
        d.store().remove(table + Oid{column, index});
}

void copyRow(Device& d, const Oid& from, const Oid& to, std::uint32_t index) {
    for (std::uint32_t column : kColumns)
        if (const Object* o = d.store().find(from + Oid{column, index}))
            defineCell(d, to + Oid{column, index}, o->active);
}

void scan(Device& d) {
    for (std::uint32_t index : rows(d, kRogueTable))
        removeRow(d, kRogueTable, index);
    const Object* air = d.store().find(kAir);
    if (!air)
        return;
    const std::int64_t bss = number(d, kBssType);
    const std::int64_t bands = number(d, kBand);
    const std::int64_t securities = number(d, kSecurity);
    std::istringstream all(air->active.bytes);
    std::string entry;
    while (std::getline(all, entry, ';')) {
        std::istringstream f(entry);
        std::uint32_t index = 0;
        std::string type, bssid, ssid;
        std::int64_t channel = 0, security = 0, mode = 0;
        if (!(f >> index >> type >> channel >> bssid >> security >> mode))
            continue;
        f >> ssid;
        const bool adHoc = type == "AdHoc";
        const std::int64_t bandBit = mode == 0 ? 1 : mode == 2 ? 4 : 8;
        if ((bss == 1 && adHoc) || (bss == 2 && !adHoc) || !(bands & bandBit) ||
            !(securities & (std::int64_t{1} << security)) || hasRow(d, kApTable, index))
            continue;
        const auto mac = parseValue(Syntax::OctetString, bssid, true);
        if (!mac || index == 0)
            continue;
        defineCell(d, kRogueTable + Oid{2, index}, Value::string(adHoc ? "Ad Hoc" : "AP"));
        defineCell(d, kRogueTable + Oid{3, index}, Value::integer(channel));
        defineCell(d, kRogueTable + Oid{5, index}, *mac);
        defineCell(d, kRogueTable + Oid{7, index}, Value::integer(mode));
        defineCell(d, kRogueTable + Oid{8, index}, Value::string(ssid));
        defineCell(d, kRogueTable + Oid{9, index}, Value::integer(security));
    }
}

void rest(Device& d, const Oid& oid) {
    if (Object* o = d.store().find(oid))
        o->active = o->initial;
}

void install(Device& device) {
    if (!device.store().find(kDetect))
        return;
    device.onLongSet(kDetect, [](Device& d, const Value& v, const Device::Written&, auto finish) {
        if (v.number != 1)
            return finish(0);
        d.after(kScanMs, [&d, finish] {
            scan(d);
            finish(0);
        });
    });
    device.onSet(kDetect, [](Device& d, const Value&) { rest(d, kDetect); });

    device.onCheck(kAdd, [](Device& d, const Value& v) {
        if (!hasRow(d, kRogueTable, v.number))
            return kWrongValue;
        return rows(d, kApTable).size() >= kMaxAccepted ? kResourceUnavailable : 0;
    });
    device.onSet(kAdd, [](Device& d, const Value& v) {
        const auto index = static_cast<std::uint32_t>(v.number);
        copyRow(d, kRogueTable, kApTable, index);
        removeRow(d, kRogueTable, index);
        rest(d, kAdd);
    });

    device.onCheck(kDeleteRogue, [](Device& d, const Value& v) {
        return hasRow(d, kRogueTable, v.number) ? 0 : kWrongValue;
    });
    device.onSet(kDeleteRogue, [](Device& d, const Value& v) {
        removeRow(d, kRogueTable, static_cast<std::uint32_t>(v.number));
        rest(d, kDeleteRogue);
    });

    device.onCheck(kDeleteAccepted, [](Device& d, const Value& v) {
        return hasRow(d, kApTable, v.number) ? 0 : kWrongValue;
    });
    device.onSet(kDeleteAccepted, [](Device& d, const Value& v) {
        removeRow(d, kApTable, static_cast<std::uint32_t>(v.number));
        rest(d, kDeleteAccepted);
    });
}

const Behaviour behaviour("rogue", &install);

} // namespace
} // namespace sim
