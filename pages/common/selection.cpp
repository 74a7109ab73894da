#include "pages/common/selection.h"

#include "pages/common/messages.h"
#include "pages/common/page.h"

#include <QComboBox>
#include <QLabel>

namespace pages {

QString captionOf(const QComboBox* combo) {
    for (const QLabel* label : combo->window()->findChildren<QLabel*>()) {
        if (label->buddy() != combo)
            continue;
        QString text = label->text().trimmed();
        if (text.endsWith(QLatin1Char(':')))
            text.chop(1);
        return text.trimmed();
    }
    if (!combo->accessibleName().isEmpty())
        return combo->accessibleName();
    return combo->objectName();
}

QString selectionMissing(const QString& caption) {
    return QStringLiteral("Please select a value for %1.").arg(caption);
}

bool selectionsMade(std::initializer_list<QComboBox*> lists) {
    for (QComboBox* list : lists)
        if (list->currentIndex() < 0)
            return refuse(selectionMissing(captionOf(list)), msg::kError, list);
    return true;
}

} // namespace pages
