#include "gui/widgets/ScreenCorner.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

QPoint bottomRightCorner(const QRect &screen, const QSize &size, int bottomGap)
{
    return QPoint(screen.x() + screen.width() - size.width(), screen.y() + screen.height() - size.height() - bottomGap);
}

void placeAtBottomRight(QWidget *window, int bottomGap)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        window->move(bottomRightCorner(screen->geometry(), window->size(), bottomGap));
}
