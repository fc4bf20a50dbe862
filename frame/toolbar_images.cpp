// Cuts the toolbar strip (six 20x20 images side by side) into icons.
#include "frame/toolbar_images.h"

#include <QPixmap>

namespace morvane {

QIcon ToolbarIcon(int image) {
    const QPixmap strip(QStringLiteral(":/res/toolbar.png"));
    return QIcon(strip.copy((image - 1) * 20, 0, 20, 20));
}

QIcon AppIcon() {
    QIcon icon(QStringLiteral(":/res/morvane.png"));
    icon.addFile(QStringLiteral(":/res/morvane_32.png"));
    return icon;
}

} // namespace morvane
