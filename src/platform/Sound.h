#pragma once

#include <QString>

// Plays the program's built-in recordings. Calls return at once: requests
// queue and each plays once to its end, in order. Without a sound device
// nothing plays.
class Sound
{
public:
    virtual ~Sound() = default;
    // A recording by name, without regard to case ("ring", "t9").
    virtual void play(const QString &name) = 0;
    // The standard beep.
    virtual void beep() = 0;
};
