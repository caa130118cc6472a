#pragma once

#include "doubles/FakeClock.h"
#include "doubles/FakeClockChangeWatcher.h"
#include "doubles/FakeSleepWatcher.h"
#include "doubles/RecordingAutostart.h"
#include "doubles/RecordingNotifier.h"
#include "doubles/RecordingSession.h"
#include "doubles/RecordingShell.h"
#include "doubles/RecordingSound.h"
#include "doubles/RecordingTimeSetter.h"
#include "platform/PlatformServices.h"

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
    FakeClockChangeWatcher clockChanges;

    PlatformServices services() { return platformServicesOf(*this); }
};
