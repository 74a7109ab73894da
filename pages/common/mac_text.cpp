#include "pages/common/mac_text.h"

namespace pages {

bool macMatches(const QString& stored, const QString& entered) {
    // The device lists MACs in upper case; the operator may type either case.
    return !entered.isEmpty() && stored.compare(entered, Qt::CaseInsensitive) == 0;
}

} // namespace pages
