#include "pages/common/messages.h"

namespace pages::msg {

QString numberBetween(qint64 low, qint64 high) {
    return QStringLiteral("Please input a number between %1 and %2.").arg(low).arg(high);
}

} // namespace pages::msg
