#include "app/main_window.h"

#include <QDialog>

namespace app {
namespace {
// Installed once by main() before the main window exists; tests install their own.
QHash<QString, PageFactory>& installedPages() {
    static QHash<QString, PageFactory> pages;
    return pages;
}
} // namespace

QHash<QString, PageFactory> pageFactories() {
    return installedPages();
}

void setPageFactories(QHash<QString, PageFactory> factories) {
    installedPages() = std::move(factories);
}

} // namespace app
