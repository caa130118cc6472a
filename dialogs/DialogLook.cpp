#include "DialogLook.h"

#include <QPainter>
#include <QSvgRenderer>

QFont dialogFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    return font;
}

QPixmap svgPixmap(const QString &resource, const QSize &size)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(resource);
    QPainter painter(&pixmap);
    renderer.render(&painter);
    return pixmap;
}
