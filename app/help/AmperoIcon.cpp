#include "AmperoIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

QIcon AmperoIcon()
{
    // Rendered once per size here rather than through the SVG icon-engine
    // plugin, so the icon does not depend on which Qt plugins are installed.
    QSvgRenderer renderer(QStringLiteral(":/ampero.svg"));
    QIcon icon;
    if (!renderer.isValid())
        return icon;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
