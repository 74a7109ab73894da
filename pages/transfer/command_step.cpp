#include "pages/transfer/command_step.h"

#include "binding/request2controls.h"
#include "snmplib/qv_exception.h"

namespace pages {

bool applyCommand(QvSNMPRequest2Controls& request, QvSNMPError& failure) {
    QvSNMPError seen;
    seen.code = -1;
    auto saved = std::move(request.onComplete);
    request.onComplete = [&seen](const QvSNMPError& e) { seen = e; };
    bool ok = false;
    try {
        ok = request.Apply(true, true);
    } catch (const QvException& e) {
        seen.code = e.code();
        seen.text = e.text();
    }
    request.onComplete = std::move(saved);
    if (!ok)
        failure = seen;
    return ok;
}

} // namespace pages
