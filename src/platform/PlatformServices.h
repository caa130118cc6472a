#pragma once

class Autostart;
class Clock;
class Notifier;
class SessionControl;
class Shell;
class SleepWatcher;
class Sound;
class SystemTimeSetter;

// The platform services the main window is built with: the real ones in
// the program, test doubles in tests. The main window does not own them.
struct PlatformServices
{
    Clock *clock = nullptr;
    Notifier *notifier = nullptr;
    SessionControl *session = nullptr;
    Shell *shell = nullptr;
    Sound *sound = nullptr;
    Autostart *autostart = nullptr;
    SystemTimeSetter *timeSetter = nullptr;
    SleepWatcher *sleepWatcher = nullptr;
};
