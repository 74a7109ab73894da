#include "binding/module_caption.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace qv {

QString ModuleCaption() {
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

} // namespace qv
