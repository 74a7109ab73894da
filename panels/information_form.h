#pragma once
// "Home \ Information": a configuration form over the MIB-II system group; the three writable
// rows (contact, name, location) can be checked and set.
#include <memory>

class QWidget;
class TConfigForm;

namespace panels {
// The form, its variables already being read; shown modally by the caller.
std::unique_ptr<TConfigForm> InformationForm(QWidget* owner);
} // namespace panels
