#pragma once
// Secrets in the module's own memory: texts overwritten before they are let go, and the process's
// argument memory (what /proc/PID/cmdline and ps show to every local user) cut down.
#include <cstddef>
#include <QByteArray>
#include <QString>
#include <span>

namespace platform {

// Overwrites the text's characters and empties it. A text whose data other copies still share is
// only emptied here: its owners wipe it.
void wipe(QString& text);
void wipe(QByteArray& bytes);

// Cuts argument i of the process's argument vector down to its first keep[i] bytes (an entry
// beyond the argument's length, or beyond keep's end, keeps it whole); what is cut is
// overwritten. When the arguments lie one after the other, as the system lays them out, the kept
// texts are moved together and argv's pointers follow them, so the command line shows neither
// where a cut text was nor how long it was; otherwise each argument is cut where it lies.
void cutArguments(int argc, char** argv, std::span<const std::size_t> keep);

} // namespace platform
