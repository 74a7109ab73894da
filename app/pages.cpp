#include "app/main_window.h"

#include <QDialog>

namespace app {

// The pages the menus open, by class name. A menu item whose page is not listed opens nothing.
QHash<QString, PageFactory> pageFactories() {
    return {};
}

} // namespace app
