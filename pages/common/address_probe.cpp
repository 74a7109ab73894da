#include "pages/common/address_probe.h"

#include "platform/echo_probe.h"
#include "platform/prompter.h"

#include <QApplication>

namespace pages {

bool addressAnswers(const QString& address) {
    // Up to three seconds without an answer: show the wait cursor meanwhile.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const platform::ProbeResult result = platform::echoProbe().probe(address);
    QApplication::restoreOverrideCursor();
    switch (result.outcome) {
    case platform::ProbeOutcome::InUse:
        return true;
    case platform::ProbeOutcome::NotInUse:
        return false;
    case platform::ProbeOutcome::Unresolved:
        platform::message(QString(), result.detail);
        return false;
    case platform::ProbeOutcome::Unavailable:
        platform::message(QStringLiteral("Warning"),
                          QStringLiteral("The address could not be probed: ") + result.detail);
        return false;
    }
    return false;
}

} // namespace pages
