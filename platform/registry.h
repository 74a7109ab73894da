#pragma once
// String values of the host's registry under HKEY_LOCAL_MACHINE, behind one interface so that
// tests can supply their own.
//
// On Windows the native registry. Elsewhere an INI file whose path is in the environment
// variable KW9100_REGISTRY: one section per key, named by the key path exactly as written,
// one "name=value" line per string value, for instance
//     [\SOFTWARE\Velkor\Halvren5.1\MibFile]
//     Path=/srv/halvren/mbf/
// A missing file (or an unset variable) means missing keys. The module never writes it.
#include <memory>
#include <optional>
#include <QString>

namespace platform {

class Registry {
public:
    virtual ~Registry() = default;
    // Opens `key`. A missing key gives false, unless `createIfMissing`: then it exists from now
    // on, empty.
    virtual bool openKey(const QString& key, bool createIfMissing) = 0;
    // The string value `name` of `key`; nullopt when the key or the value is missing.
    virtual std::optional<QString> readString(const QString& key, const QString& name) = 0;
};

// The registry in force: the platform's unless a test installed another.
Registry& registry();
// Installs `r` (not owned; nullptr restores the platform's registry).
void setRegistry(Registry* r);

// The INI-file stand-in over the file at `path`, read anew at every call.
std::unique_ptr<Registry> makeIniRegistry(const QString& path);

} // namespace platform
