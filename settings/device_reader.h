#pragma once
// Reads a device's settings as its pages show them: the capability flags first, as the main
// window reads them, then every readable variable of every page its menus offer. The scalars of
// a page go out together (several to a GET), each table is walked row by row. Only GET and
// GET-NEXT are sent. The session parameters are the global session records.
#include "settings/settings_file.h"

#include <functional>
#include <QString>

namespace settings {

// The device never answered: the library's text of the last failure (its time-out).
class Unreachable : public Failure {
public:
    using Failure::Failure;
};

struct ReadProgress {
    // Called before each page is read with its menu path.
    std::function<void(const QString& path)> page;
};

// `addressText`: the address as given on the command line, for the header. Raises Unreachable.
Export readDevice(const QString& addressText, const ReadProgress& progress = {});

// A variable whose value is a secret (keys, pass phrases, passwords, RADIUS secrets): written as
// kSecret. So is every value the device masks (asterisks only).
bool isSecretName(const QString& name, int syntax);

} // namespace settings
