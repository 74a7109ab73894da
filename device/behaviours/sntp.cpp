// SNTP: the device's local time follows the clock of the machine it runs on, shifted by its time
// zone and, where the zone observes it and it is switched on, an hour of daylight saving. The
// daylight-saving list it uploads on command has one line per zone in the order of the zone
// numbers.
#include "device/behaviours/tftp_client.h"

#include <array>
#include <chrono>
#include <ctime>
#include <string>

namespace sim {
namespace {

const Oid kZone = kDevMib + Oid{3, 5, 2, 0};
const Oid kDaylightSaving = kDevMib + Oid{3, 5, 4, 0};
const Oid kTimeOfDay = kDevMib + Oid{3, 5, 5, 0};
const Oid kListServer = kDevMib + Oid{3, 5, 6, 1, 0};
const Oid kListName = kDevMib + Oid{3, 5, 6, 2, 0};
const Oid kGetList = kDevMib + Oid{3, 5, 6, 3, 0};
constexpr int kGenErr = 5;

// Minutes east of UTC of zones 1..75.
constexpr std::array<int, 75> kOffsets = {
    -720, -660, -600, -540, -480, -420, -420, -420, -360, -360, -360, -360, -300, -300, -300,
    -240, -240, -240, -210, -180, -180, -180, -120, -60,  -60,  0,    0,    60,   60,   60,
    60,   60,   120,  120,  120,  120,  120,  120,  180,  180,  180,  180,  210,  240,  240,
    270,  300,  300,  330,  345,  360,  360,  360,  390,  420,  420,  480,  480,  480,  480,
    480,  540,  540,  540,  570,  570,  600,  600,  600,  600,  600,  660,  720,  720,  780};
// Zones that observe daylight saving.
constexpr std::array<int, 36> kDaylightZones = {4,  5,  7,  8,  10, 11, 14, 16, 18, 19, 20, 22,
                                                23, 24, 27, 28, 29, 30, 31, 33, 34, 35, 37, 38,
                                                41, 43, 45, 47, 51, 56, 58, 64, 65, 68, 70, 73};

bool observes(long zone) {
    for (int z : kDaylightZones)
        if (z == zone)
            return true;
    return false;
}

// The list as the device uploads it: one line per zone.
std::string daylightSavingList() {
    std::string list;
    for (long zone = 1; zone <= 75; ++zone)
        list += observes(zone) ? "1\r\n" : "0\r\n";
    return list;
}

// A setting as the command sees it: from the SET that carries the command, else the device's.
Value setting(Device& d, const Oid& oid, const Device::Written& written) {
    for (const auto& [o, value] : written)
        if (o == oid)
            return value;
    const Object* o = d.store().find(oid);
    return o ? o->current() : Value{};
}

long number(Device& d, const Oid& oid) {
    const Object* o = d.store().find(oid);
    return o ? o->current().number : 0;
}

void install(Device& device) {
    if (!device.store().find(kTimeOfDay))
        return; // a profile without SNTP
    device.onRead(kTimeOfDay, [](Device& d, const Object&) {
        const long zone = number(d, kZone);
        long minutes = zone >= 1 && zone <= 75 ? kOffsets[static_cast<std::size_t>(zone - 1)] : 0;
        if (number(d, kDaylightSaving) == 1 && observes(zone))
            minutes += 60;
        const std::time_t now = std::chrono::system_clock::to_time_t(
            std::chrono::system_clock::now() + std::chrono::minutes(minutes));
        std::tm local{};
        gmtime_r(&now, &local);
        char text[32];
        std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
        return Value::string(text);
    });
    device.onLongSet(kGetList, [](Device& d, const Value& v, const Device::Written& written,
                                  std::function<void(int)> finish) {
        if (v.number != 1)
            return finish(0);
        // The command is answered once the list has been sent: whole, or not at all.
        if (!curlReady())
            return finish(kGenErr);
        tftpUpload(d, valueText(setting(d, kListServer, written)),
                   setting(d, kListName, written).bytes, daylightSavingList(),
                   [finish = std::move(finish)](Job& done) {
                       finish(done.code == CURLE_OK ? 0 : kGenErr);
                   });
    });
    // The command reads back "nothing" once taken.
    device.onSet(kGetList, [](Device& d, const Value&) {
        if (Object* o = d.store().find(kGetList))
            o->active = o->initial;
    });
}

const Behaviour behaviour("sntp", &install);

} // namespace

} // namespace sim
