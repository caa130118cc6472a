#pragma once

#include <QByteArray>

// The window-system plugin the program asks Qt for, from the session's
// environment: under Wayland with Xwayland running (DISPLAY set), "xcb",
// because a Wayland client cannot place its own windows and the shutdown
// warning and the message popup stand where the program puts them. Empty
// (let Qt choose) in every other case, and whenever the user set
// QT_QPA_PLATFORM.
QByteArray chosenDisplayPlatform(const QByteArray &waylandDisplay, const QByteArray &display,
                                 const QByteArray &qpaPlatform);
