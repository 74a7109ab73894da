#pragma once
// kw9100-settings: the verbs export and diff over the module's start-up (switches, device file)
// and the settings reader. Its own arguments are taken out before the host's switches are
// parsed, since the host's rule finds a switch anywhere in an argument ("/tmp/a" holds "/t").
#include <QStringList>
#include <QTextStream>

namespace settings {

// Exit codes.
inline constexpr int kExitSame = 0;      // export written; diff: no differences
inline constexpr int kExitDifferent = 1; // diff: differences; export: the device did not answer
inline constexpr int kExitTrouble = 2;   // wrong arguments, unreadable file, diff that failed

// `arguments` without the program name. Output goes to `out` (unless -o), progress and errors
// to `err`.
int run(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace settings
