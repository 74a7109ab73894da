#include "pages/common/selection.h"

#include "binding/choice.h"
#include "pages/common/messages.h"
#include "pages/common/page.h"

namespace pages {

QString captionOf(const QWidget* control) {
    return qv::CaptionOf(control);
}

QString selectionMissing(const QString& caption) {
    return qv::SelectionMissing(caption);
}

bool refuseUnchosen(QWidget* control) {
    return refuse(selectionMissing(captionOf(control)), msg::kError, control);
}

bool selectionsMade(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls)
        if (!qv::HasChoice(control))
            return refuseUnchosen(control);
    return true;
}

} // namespace pages
