// The toolbar's six images and the program's icon, built in as resources.
#pragma once

#include <QIcon>

namespace morvane {

// Toolbar image 1 to 6: book, code boxes, Traditional character, GBK, settings, about.
QIcon ToolbarIcon(int image);
// The program's icon.
QIcon AppIcon();

} // namespace morvane
