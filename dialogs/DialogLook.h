#pragma once

#include <QFont>
#include <QPixmap>

class QString;
class QSize;

// The font of the utility dialogs: SimSun at 12 pixels, or the installed CJK
// font where SimSun is missing.
QFont dialogFont();

// One of the program's own SVG pictures, drawn at exactly `size`.
QPixmap svgPixmap(const QString &resource, const QSize &size);
