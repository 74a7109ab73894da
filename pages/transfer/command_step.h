#pragma once
// Writing a command variable from a transfer page: the write's outcome as one record whatever
// way it failed (an error answer, a time-out, a send refused at once, a fault raised while the
// list was prepared). Answers handled after their delivery: the binding's
// OnSetCompleteLater / OnGetCompleteLater.
#include "snmplib/request.h"

class QvSNMPRequest2Controls;

namespace pages {

// Apply(true, true) of `request`. True when it succeeded (synchronous) or was sent
// (asynchronous); otherwise `failure` holds the reason.
bool applyCommand(QvSNMPRequest2Controls& request, QvSNMPError& failure);

} // namespace pages
