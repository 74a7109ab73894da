#pragma once
// The vocabulary shared by descriptors, variable lists, value texts and the request engine:
// syntax codes, access flags and variable-list kinds, with their names.
#include <QString>
#include <QtGlobal>

// Syntax codes of SNMP variables. The names are the library's own (`guage` included). The codes
// from 193 up only name parts of a value for the binding layer; no descriptor uses them.
// Written QvSyntax::integer, QvSyntax::displaystr...
namespace QvSyntax {
enum Code : int {
    boolean = 1,
    integer = 2,
    bitstr = 3,
    octetstr = 4,
    null = 5,
    objectid = 6,
    ipaddress = 64,
    counter = 65,
    guage = 66,
    timeticks = 67,
    opaque = 68,
    nsapaddr = 69,
    counter64 = 70,
    uinteger = 71,
    double_ = 72, // named "double"
    macaddress = 73,
    datetime = 74,
    bcdatetime = 75,
    displaystr = 76,
    bool8 = 193,
    int8 = 194,
    uint8 = 195,
    bool16 = 196,
    int16 = 197,
    uint16 = 198,
};
} // namespace QvSyntax

// Access flags of a descriptor (a set of bits), written QvAccess::readwrite,
// QvAccess::notaccess | QvAccess::implied...
namespace QvAccess {
enum Flag : quint32 {
    notaccess = 1,
    readonly = 2,
    writeonly = 4,
    readwrite = 6,
    derived = 8,
    hidden = 16,
    invalid = 32,
    implied = 64, // last key of a table, string or OID syntax: no length sub-identifier
};
} // namespace QvAccess

// Kinds of variable list.
enum QvListKind : quint8 {
    SVT_SV = 0,  // scalars, sent at OID + ".0"
    MVT_SV = 1,  // single instances, sent at the OID as given
    MVT_FMV = 2, // a table, walked row by row
    MVT_UMV = 3, // a table, as MVT_FMV for the library
};

namespace qv {

// Value placeholders: no value (written, it sends an SNMP NULL), and a variable that the last
// exchange did not reach.
inline const QString kNullValue = QStringLiteral("(NULL)");
inline const QString kNotDoneValue = QStringLiteral("(NOTDONE)");

// Code 1..6, 64..76 or 193..198.
bool IsKnownSyntax(int syntax);
// The code's name ("integer", "double", "guage"...), empty for an unknown code.
QString SyntaxName(int syntax);
// The code of a name (exact spelling), or -1.
int SyntaxCode(const QString& name);

} // namespace qv
