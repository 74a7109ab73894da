#include "pages/common/edit_state.h"

#include <QLineEdit>
#include <QPalette>
#include <QStyle>

namespace pages {

void setWritable(QLineEdit* edit, bool writable) {
    edit->setReadOnly(!writable);
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, edit->style()->standardPalette().color(
                                         writable ? QPalette::Base : QPalette::Button));
    edit->setPalette(palette);
}

} // namespace pages
