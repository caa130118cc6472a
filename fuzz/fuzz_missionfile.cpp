// Feeds arbitrary bytes to the mission file reader and checks that what it
// reads writes back and reads again the same.
#include "LineRoundTrip.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkLineRoundTrip(MissionLines::missionFile(), QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)));
    return 0;
}
