// The system log: uploaded to the manager's TFTP server when adGetLog is written 1, emptied when
// adClearLocalLog is written 1. Lines are "time<TAB>[TYPE]message"; the sample log the device
// starts with runs over several 512-byte blocks and has blank lines, extra tabs and brackets
// inside messages.
#include "device/behaviours/tftp_client.h"

#include <cstdio>

namespace sim {
namespace {

const Oid kServer = kDevMib + Oid{2, 11, 4, 0};
const Oid kFileName = kDevMib + Oid{2, 11, 5, 0};
const Oid kGetLog = kDevMib + Oid{2, 11, 6, 0};
const Oid kClearLog = kDevMib + Oid{2, 11, 10, 0};
const Oid kLogText = kDevMib + Oid{2, 11, 100, 0};

std::string sampleLog() {
    static const char* const kEvents[] = {
        "[SYS]Device started",
        "[WLAN]Station 00:0F:3D:12:AB:01 associated [open system]",
        "[SYS]Time synchronised with\t10.0.0.1",
        "[NOTICE] Radio channel changed to 6",
        "[WLAN]Station 00:0F:3D:12:AB:01 left (reason [8])",
    };
    std::string log;
    for (int i = 0; i < 40; ++i) {
        char time[32];
        std::snprintf(time, sizeof time, "Jan  1 00:%02d:%02d", i / 60, i % 60);
        log += std::string(time) + "\t" + kEvents[i % 5] + "\n";
        if (i % 9 == 8)
            log += "\n";
    }
    return log;
}

void install(Device& device) {
    Object* text = device.store().find(kLogText);
    if (!text)
        return;
    if (text->active.bytes.empty())
        text->active = text->initial = Value::string(sampleLog());

    uploadOnCommand(device, {.server = kServer,
                             .fileName = kFileName,
                             .command = kGetLog,
                             .value = 1,
                             .delayMs = 200,
                             .content = [](Device& d) {
                                 const Object* o = d.store().find(kLogText);
                                 return o ? o->active.bytes : std::string();
                             }});
    device.onSet(kClearLog, [](Device& d, const Value& v) {
        Object* clear = d.store().find(kClearLog);
        if (clear)
            clear->active = clear->initial;
        if (v.number != 1)
            return;
        if (Object* o = d.store().find(kLogText))
            o->active = Value::string("");
        d.journal().event("log", {{"cleared", "true"}});
    });
}

const Behaviour behaviour("log", &install);

} // namespace
} // namespace sim
