#pragma once
// The console settings as the miscellaneous and administrator pages hold them: hidden combo boxes
// with "Disable" / "Enable" per protocol, and a drop-down whose value may be left out of a write.
#include <QString>

class QComboBox;
class QvSNMPRequest2Controls;

namespace pages::console {

inline const QString kEnable = QStringLiteral("Enable");
inline const QString kDisable = QStringLiteral("Disable");

// Whether the combo box shows "Enable".
bool enabled(const QComboBox* combo);
// Selects the item with `text` (none when the list has no such item).
void set(QComboBox* combo, const QString& text);
// Both protocols "Disable".
void disableBoth(QComboBox* telnet, QComboBox* ssh);
// A drop-down with no selection (the device's value is not in its list) is left out of the
// request's writes; one with a selection is written.
void leaveOutUnchosen(QvSNMPRequest2Controls& request, int index, const QComboBox* combo);

} // namespace pages::console
