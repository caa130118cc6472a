#pragma once

#include <QPixmap>

class QString;
class QSize;

// One of the program's own SVG pictures, drawn at exactly `size`.
QPixmap svgPixmap(const QString &resource, const QSize &size);
