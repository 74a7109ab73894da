#include "pages/common/channels.h"

#include <QComboBox>

namespace pages {

QStringList channelsOf(const QString& list) {
    return list.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

bool fillChannelCombo(QComboBox* combo, const QString& list, const QString& value) {
    combo->clear();
    const QStringList channels = channelsOf(list);
    combo->addItems(channels);
    const auto found = channels.indexOf(value);
    if (found < 0)
        return false;
    combo->setCurrentIndex(static_cast<int>(found));
    return true;
}

} // namespace pages
