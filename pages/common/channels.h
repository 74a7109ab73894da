#pragma once
// Channel lists as devices give them: channel numbers separated by blanks ("1 6 11"), sometimes
// with several blanks in a row, sometimes empty.
#include <QString>
#include <QStringList>

class QComboBox;

namespace pages {

// The channels used when a device's list is empty.
inline const QString kDefaultChannelList = QStringLiteral("1 2 3 4 5 6 7 8 9 10 11");

// The channel numbers of a list; runs of blanks separate like one blank.
QStringList channelsOf(const QString& list);

// Replaces the items of `combo` by the channels of `list` and selects `value` when it is one
// of them. Returns whether it was found (the selection is left as the refill left it when not).
bool fillChannelCombo(QComboBox* combo, const QString& list, const QString& value);

} // namespace pages
