#pragma once

#include "FakeClock.h"
#include "FakeSleepWatcher.h"
#include "PlatformServices.h"
#include "RecordingAutostart.h"
#include "RecordingNotifier.h"
#include "RecordingSession.h"
#include "RecordingShell.h"
#include "RecordingSound.h"
#include "RecordingTimeSetter.h"

// Every platform service as a test double, ready to hand to the main window.
struct TestPlatform
{
    FakeClock clock;
    RecordingNotifier notifier;
    RecordingSession session;
    RecordingShell shell;
    RecordingSound sound;
    RecordingAutostart autostart;
    RecordingTimeSetter timeSetter;
    FakeSleepWatcher sleepWatcher;

    PlatformServices services() { return platformServicesOf(*this); }
};
