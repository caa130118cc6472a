#pragma once

// What the settings dialog changes in the running program at once: the
// hourly time signal switch and the look; and the switch kept with the
// mission list, whether it comes back at the next start. The main window
// provides it.
class LiveSettings
{
public:
    virtual ~LiveSettings() = default;
    virtual void setChimeOn(bool on) = 0;
    // 0, 1, 2 and 4 switch a skin on, 3 the plain look; others change nothing.
    virtual void applyTheme(int index) = 0;
    virtual bool restoresListAtStart() const = 0;
    virtual void setRestoresListAtStart(bool on) = 0;
};
