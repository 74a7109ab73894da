#pragma once
// Two exports compared setting by setting: what differs, grouped by page in the first export's
// order (pages only the second has follow). Values that differ between any two devices, or from
// one minute to the next, are left out unless asked for: the device's own address and MAC
// address, its uptime and clock, counters, and the lists of what it sees around it (clients,
// leases, survey and rogue access points).
#include "settings/settings_file.h"

#include <optional>
#include <QString>
#include <vector>

namespace settings {

struct Difference {
    QString name;
    std::optional<QString> first;  // absent: the first export has no such setting
    std::optional<QString> second; // "(not answered: ...)" for a variable not answered
};

struct PageDifferences {
    QString path;
    std::vector<Difference> differences;
};

// A line of that page that changes on its own (see above).
bool isVolatile(const QString& page, const QString& name);

std::vector<PageDifferences> compare(const Export& first, const Export& second,
                                     bool includeVolatile);

// The differences as printed: "[page]", then "-name = value" for the first export's and
// "+name = value" for the second's.
QString differencesText(const std::vector<PageDifferences>& differences);

} // namespace settings
