#pragma once
// "Home \ Information": the MIB-II system group, shown by a configuration form (panels/).
#include "snmplib/varlist.h"

namespace tables::information {

// Request time-out of the form's binding object (hundredths of a second).
inline constexpr int kTimeout = 3000;
// Width of the form's value controls in pixels.
inline constexpr int kValueWidth = 180;

inline constexpr QvSNMPVarDef kSystemGroup[] = {
    {"1.3.6.1.2.1.1.1", "System Description", QvSyntax::displaystr, QvAccess::readonly},
    {"1.3.6.1.2.1.1.2", "System Object ID", QvSyntax::objectid, QvAccess::readonly},
    {"1.3.6.1.2.1.1.3", "System Uptime", QvSyntax::timeticks, QvAccess::readonly},
    {"1.3.6.1.2.1.1.4", "System Contact", QvSyntax::displaystr, QvAccess::readwrite},
    {"1.3.6.1.2.1.1.5", "System Name", QvSyntax::displaystr, QvAccess::readwrite},
    {"1.3.6.1.2.1.1.6", "System Location", QvSyntax::displaystr, QvAccess::readwrite},
};

} // namespace tables::information
