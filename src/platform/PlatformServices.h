#pragma once

class Autostart;
class Clock;
class ClockChangeWatcher;
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
    ClockChangeWatcher *clockChanges = nullptr;
};

// The services of a holder with one member of each (the program's own, the
// tests' doubles), named as in PlatformServices.
template <typename Holder> PlatformServices platformServicesOf(Holder &holder)
{
    PlatformServices platform;
    platform.clock = &holder.clock;
    platform.notifier = &holder.notifier;
    platform.session = &holder.session;
    platform.shell = &holder.shell;
    platform.sound = &holder.sound;
    platform.autostart = &holder.autostart;
    platform.timeSetter = &holder.timeSetter;
    platform.sleepWatcher = &holder.sleepWatcher;
    platform.clockChanges = &holder.clockChanges;
    return platform;
}
