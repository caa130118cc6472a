#include "gui/widgets/Fonts.h"

#include <QStringList>

namespace {

QFont songTi()
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")});
    return font;
}

} // namespace

QFont songTiFont(int pointSize)
{
    QFont font = songTi();
    font.setPointSize(pointSize);
    return font;
}

QFont songTiPixelFont(int pixelSize)
{
    QFont font = songTi();
    font.setPixelSize(pixelSize);
    return font;
}
