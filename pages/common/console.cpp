#include "pages/common/console.h"

#include "binding/request2controls.h"

#include <QComboBox>

namespace pages::console {

bool enabled(const QComboBox* combo) {
    return combo->currentText() == kEnable;
}

void set(QComboBox* combo, const QString& text) {
    combo->setCurrentIndex(combo->findText(text));
}

void disableBoth(QComboBox* telnet, QComboBox* ssh) {
    set(telnet, kDisable);
    set(ssh, kDisable);
}

void leaveOutUnchosen(QvSNMPRequest2Controls& request, int index, const QComboBox* combo) {
    request.vars.item(index).access =
        combo->currentIndex() < 0 ? QvAccess::invalid : QvAccess::readwrite;
}

} // namespace pages::console
