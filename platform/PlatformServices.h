#pragma once

class Clock;
class Notifier;

// The platform services the main window is built with: the real ones in
// the program, test doubles in tests. The main window does not own them.
struct PlatformServices
{
    Clock *clock = nullptr;
    Notifier *notifier = nullptr;
};
