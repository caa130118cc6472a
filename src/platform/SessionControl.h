#pragma once

// Ends the user's session: power off, reboot, log off. Each call asks the
// system whether it is allowed first and sends nothing when it is not;
// failures are swallowed and nothing is reported.
class SessionControl
{
public:
    virtual ~SessionControl() = default;
    // Forced: inhibitors do not hold it up.
    virtual void powerOff() = 0;
    // Not forced: a program that blocks shutdown holds it up.
    virtual void reboot() = 0;
    // Forced: every process of the user's graphical session ends.
    virtual void logOff() = 0;
};
