#pragma once
// Variables of the system page (Tools \ System): restart and factory default. Each button writes
// one of the two; the other is left out of the SET.
#include "snmplib/varlist.h"

namespace tables::system {

inline constexpr QvOptionSource kTrueFalse[] = {{1, "True"}, {2, "False"}};

inline constexpr QvSNMPVarDef kSystem[] = {
    {"devMib.3.2.1", "Restart", QvSyntax::integer, QvAccess::readwrite, kTrueFalse},
    {"devMib.3.2.2", "FactoryDefault", QvSyntax::integer, QvAccess::readwrite, kTrueFalse},
};
enum SystemVar { kRestart, kFactoryDefault };

} // namespace tables::system
