#pragma once
// Where a binding object writes its failures: a memo gets the line appended, a status bar shows
// it as its single text, a status-bar panel (a label) shows it as its text.
#include <QString>

class QWidget;

namespace qv {

// False, and nothing written, when the output is none of those (or gone).
bool WriteStatus(QWidget* output, const QString& line);

} // namespace qv
