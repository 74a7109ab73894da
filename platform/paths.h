#pragma once
// Paths as the host writes them ("C:\Halvren\..\Conf\MBF\10.0.0.5.cfg", "errMSg\snmp.err"),
// turned into paths of this platform.
#include <QString>

namespace platform {

// Accepts "\" and "/" as separators and resolves "." and ".." by name. On a file system that
// tells letter cases apart, each name that does not exist as written is matched against the
// entries of its directory without regard to letter case ("errMSg" finds "errmsg"). Names below
// the first one that matches nothing stay as written. A relative path stays relative to the
// working directory.
QString localPath(const QString& path);

// True when `path` (taken as localPath does) names an existing file.
bool fileExists(const QString& path);

// The directory of the running executable, ending with a separator.
QString executableDir();

// A directory of the module's own data (files received from devices): `sub` below the user's
// application data directory (XDG_DATA_HOME on Linux), created when missing. Ends with a
// separator; empty when it cannot be created.
QString dataDirectory(const QString& sub);

} // namespace platform
