// The radios and the site survey (objects in profiles/wireless.inc): a channel must be one of the
// radio's channel list, the frequency follows the channel, WEP keys are stored but read back
// masked, and a site survey takes a while, answers when it is over and fills the survey table.
#include "device/behaviours/cells.h"

#include <sstream>

namespace sim {
namespace {

const Oid kRadioTable = kDevMib + Oid{1, 1, 1};
const Oid kSurveyTrigger = kDevMib + Oid{2, 8, 1, 1, 1, 0};
const Oid kSurveyTable = kDevMib + Oid{2, 8, 2, 1};
const Oid kKeys = kDevMib + Oid{2, 5, 3, 1, 1};

// How long a scan of the air takes. The device answers the trigger when it is over; other
// requests are served meanwhile.
constexpr int kScanMs = 1500;

Oid radioItem(std::uint32_t column, std::uint32_t instance) {
    return kRadioTable + Oid{column, instance};
}

bool inChannelList(Device& d, std::uint32_t instance, std::int64_t channel) {
    const Object* list = d.store().find(radioItem(4, instance));
    if (!list)
        return true;
    std::istringstream in(list->current().bytes);
    std::string token;
    while (in >> token) {
        if (token == std::to_string(channel))
            return true;
    }
    return false;
}

struct SurveyRow {
    const char* type;
    int channel;
    int signal;
    const char* bssid; // six bytes as hexadecimal digits
    const char* security;
    const char* ssid;
    int wds;
};

// What the scan finds: the third access point does not support WDS.
constexpr SurveyRow kNeighbours[] = {
    {"AP", 1, 78, "000F3D0A0B01", "WEP", "north-wing", 1},
    {"AP", 6, 52, "000F3D0A0B02", "None", "south-wing", 1},
    {"AP", 11, 31, "001122334455", "WPA", "cafe", 0},
    {"AP", 6, 20, "000F3D0A0B04", "WPA2", "lab", 1},
};

void fillSurvey(Device& d) {
    std::uint32_t row = 1;
    for (const SurveyRow& n : kNeighbours) {
        const auto cell = [&](std::uint32_t column) { return kSurveyTable + Oid{column, row}; };
        defineCell(d, cell(1), Value::integer(row));
        defineCell(d, cell(2), Value::string(n.type));
        defineCell(d, cell(3), Value::integer(n.channel));
        defineCell(d, cell(4), Value::integer(n.signal));
        defineCell(d, cell(5), *parseValue(Syntax::OctetString, n.bssid, true));
        defineCell(d, cell(6), Value::string(n.security));
        defineCell(d, cell(7), Value::string(n.ssid));
        defineCell(d, cell(9), Value::integer(n.wds));
        ++row;
    }
}

void install(Device& device) {
    for (std::uint32_t instance : {1u, 2u}) {
        if (!device.store().find(radioItem(3, instance)))
            continue;
        device.onCheck(radioItem(3, instance), [instance](Device& d, const Value& v) {
            return inChannelList(d, instance, v.number) ? 0 : 10; // wrongValue
        });
        if (device.store().find(radioItem(5, instance))) {
            device.onRead(radioItem(5, instance), [instance](Device& d, const Object& o) {
                const Object* channel = d.store().find(radioItem(3, instance));
                if (!channel)
                    return o.active;
                const std::int64_t c = channel->current().number;
                // 2.4 GHz channels 1..13 are 5 MHz apart from 2412 MHz; 5 GHz ones from 5000.
                const std::int64_t mhz = c <= 14 ? 2407 + 5 * c : 5000 + 5 * c;
                std::string fraction = std::to_string(1000 + mhz % 1000).substr(1);
                return Value::string(std::to_string(mhz / 1000) + "." + fraction);
            });
        }
    }
    for (std::uint32_t radio : {1u, 2u}) {
        for (std::uint32_t key = 1; key <= 4; ++key) {
            const Oid oid = kKeys + Oid{radio, key};
            if (!device.store().find(oid))
                continue;
            device.onRead(oid, [](Device&, const Object& o) {
                return Value::string(std::string(o.current().bytes.size(), '*'));
            });
        }
    }
    if (device.store().find(kSurveyTrigger)) {
        // A scan takes its time: the trigger is answered when it is over, other requests are
        // served meanwhile.
        device.onLongSet(kSurveyTrigger,
                         [](Device& d, const Value& v, const Device::Written&, auto finish) {
                             if (v.number != 1)
                                 return finish(0);
                             d.after(kScanMs, [&d, finish] {
                                 fillSurvey(d);
                                 finish(0);
                             });
                         });
        device.onSet(kSurveyTrigger, [](Device& d, const Value&) {
            if (Object* o = d.store().find(kSurveyTrigger))
                o->active = o->initial;
        });
    }
}

const Behaviour behaviour("wireless", &install);

} // namespace
} // namespace sim
