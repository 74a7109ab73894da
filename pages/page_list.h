#pragma once
// Every page the menus can open, by class name. main() installs this list into the main window
// (app::setPageFactories); a page joins the module by adding its line in page_list.cpp.
#include "app/main_window.h"

#include <QHash>
#include <QString>

namespace pages {
QHash<QString, app::PageFactory> all();
} // namespace pages
