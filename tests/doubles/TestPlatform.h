#pragma once

#include "FakeClock.h"
#include "PlatformServices.h"
#include "RecordingNotifier.h"

// Every platform service as a test double, ready to hand to the main window.
struct TestPlatform
{
    FakeClock clock;
    RecordingNotifier notifier;

    PlatformServices services()
    {
        PlatformServices platform;
        platform.clock = &clock;
        platform.notifier = &notifier;
        return platform;
    }
};
