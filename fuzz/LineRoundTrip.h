#pragma once

#include "core/files/MissionLines.h"

#include <cstdio>
#include <cstdlib>

// Whatever a file held, the missions read from it must survive being
// written and read again unchanged: that is what saving a loaded list does.
inline void checkLineRoundTrip(const MissionLines &lines, const QByteArray &bytes)
{
    const MissionLines::Reading reading = lines.read(bytes);
    const QVector<Mission> &first = reading.missions;
    for (const Mission &mission : first) {
        if (lines.misfit(mission))
            return; // refused by the writers with a message, never written
    }
    const QByteArray written = lines.write(first, reading.encoding);
    const MissionLines::Reading again = lines.read(written);
    const QVector<Mission> &second = again.missions;
    if (second.size() != first.size()) {
        std::fprintf(stderr, "%d missions read back as %d\n", int(first.size()), int(second.size()));
        std::abort();
    }
    if (lines.write(second, again.encoding) != written) {
        std::fprintf(stderr, "writing the missions read back gives other bytes\n");
        std::abort();
    }
}
