#pragma once
// Variables of the administrator pages (Tools \ Admin): the login. The device keeps the password
// readable; the pages compare the operator's old password with it.
#include "snmplib/varlist.h"

namespace tables::admin {

inline constexpr QvSNMPVarDef kLogin[] = {
    {"devMib.3.1.1", "UserName", QvSyntax::displaystr, QvAccess::readwrite},
    {"devMib.3.1.2", "Password", QvSyntax::displaystr, QvAccess::readwrite},
};
enum LoginVar { kUserName, kPassword };

} // namespace tables::admin
