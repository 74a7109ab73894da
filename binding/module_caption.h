#pragma once
#include <QString>

namespace qv {

// The caption of the library's own message boxes: the module's executable file name, without
// its directory.
QString ModuleCaption();

} // namespace qv
