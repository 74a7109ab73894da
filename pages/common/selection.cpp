#include "pages/common/selection.h"

#include "binding/choice.h"
#include "pages/common/messages.h"
#include "pages/common/page.h"

namespace pages {

bool refuseUnchosen(QWidget* control) {
    return refuse(qv::SelectionMissing(qv::CaptionOf(control)), msg::kError, control);
}

bool selectionsMade(std::initializer_list<QWidget*> controls) {
    for (QWidget* control : controls)
        if (!qv::HasChoice(control))
            return refuseUnchosen(control);
    return true;
}

} // namespace pages
