#include "core/control/DisplayPlatform.h"

QByteArray chosenDisplayPlatform(const QByteArray &waylandDisplay, const QByteArray &display,
                                 const QByteArray &qpaPlatform)
{
    if (!qpaPlatform.isEmpty() || waylandDisplay.isEmpty() || display.isEmpty())
        return {};
    return QByteArrayLiteral("xcb");
}
