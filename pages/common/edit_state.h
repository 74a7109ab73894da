#pragma once
// Edits that the page makes writable or read-only by a rule show it by their colour, as the
// operator knows it: the window colour when writable, the button face when read-only.
class QLineEdit;

namespace pages {
void setWritable(QLineEdit* edit, bool writable);
} // namespace pages
