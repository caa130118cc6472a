#pragma once

#include <QString>

// The one reverse-DNS name of the program: its desktop entry, icon and
// metadata are named after it, and the running program owns it on the
// session bus, where its control interface carries the same name.
inline QString applicationId()
{
    return QStringLiteral("io.github.chronodesk.ChronoDesk");
}

inline QString controlObjectPath()
{
    return QStringLiteral("/io/github/chronodesk/ChronoDesk");
}
