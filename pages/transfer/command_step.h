#pragma once
// Writing a command variable from a transfer page: the write's outcome as one record whatever
// way it failed (an error answer, a time-out, a send refused at once, a fault raised while the
// list was prepared), and answer handling moved out of the answer's delivery.
#include "snmplib/request.h"

#include <functional>
#include <QObject>

class QvSNMPRequest2Controls;

namespace pages {

// Apply(true, true) of `request`. True when it succeeded (synchronous) or was sent
// (asynchronous); otherwise `failure` holds the reason.
bool applyCommand(QvSNMPRequest2Controls& request, QvSNMPError& failure);

// Runs `handler` with every asynchronous set answer of `request`, from the event loop once the
// delivery has ended (so the handler may open modal dialogs), as long as `context` lives; the
// request stays busy until the handler has run.
void onSetAnswer(QvSNMPRequest2Controls& request, QObject* context,
                 std::function<void(const QvSNMPError&)> handler);
// The same for the asynchronous get (and table walk) answers of `request`.
void onGetAnswer(QvSNMPRequest2Controls& request, QObject* context,
                 std::function<void(const QvSNMPError&)> handler);

} // namespace pages
