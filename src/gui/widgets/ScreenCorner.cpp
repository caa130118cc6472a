#include "gui/widgets/ScreenCorner.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

QPoint bottomRightCorner(const QRect &screen, const QSize &size, int bottomGap)
{
    return QPoint(screen.x() + screen.width() - size.width(), screen.y() + screen.height() - size.height() - bottomGap);
}

namespace {

// `window` moved into `area` as far as its size lets it; one larger than
// the area keeps its top left corner there.
QRect movedInside(const QRect &area, QRect window)
{
    window.moveLeft(std::max(area.left(), std::min(window.left(), area.right() + 1 - window.width())));
    window.moveTop(std::max(area.top(), std::min(window.top(), area.bottom() + 1 - window.height())));
    return window;
}

} // namespace

QRect keptInside(const QRect &area, const QRect &window)
{
    return movedInside(area, QRect(window.topLeft(), window.size().boundedTo(area.size())));
}

void keepInsideAvailableArea(QWidget *window)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The frame the window manager adds is known only once shown; before
    // that, the window itself is kept inside.
    const QRect frame = window->frameGeometry();
    const QMargins frameMargins(window->x() - frame.x(), window->y() - frame.y(),
                                frame.right() - window->geometry().right(),
                                frame.bottom() - window->geometry().bottom());
    const QRect available = screen->availableGeometry();
    const bool fixedSize = window->minimumSize() == window->maximumSize();
    const QRect kept = fixedSize ? movedInside(available, frame) : keptInside(available, frame);
    if (kept.size() != frame.size())
        window->resize((kept - frameMargins).size().expandedTo(window->minimumSize()));
    window->move(kept.topLeft());
}

void placeAtBottomRight(QWidget *window, int bottomGap)
{
    const QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (screen)
        window->move(bottomRightCorner(screen->geometry(), window->size(), bottomGap));
}
