// Cuts the toolbar strip (six 20x20 images side by side) into icons.
#include "frame/toolbar_images.h"

#include <QPixmap>

namespace morvane {

QIcon ToolbarIcon(int image) {
    const QPixmap strip(QStringLiteral(":/res/toolbar.png"));
    return QIcon(strip.copy((image - 1) * 20, 0, 20, 20));
}

QIcon AppIcon() {
    QIcon icon;
    for (const char* size : {"16x16", "32x32", "64x64", "256x256"})
        icon.addFile(QStringLiteral(":/icons/%1/morvane.png").arg(QLatin1String(size)));
    return icon;
}

} // namespace morvane
