#pragma once

#include "gui/settings/LiveSettings.h"

#include <QList>

// Records what the settings dialog changes in the running program.
struct RecordingLive : LiveSettings
{
    void setChimeOn(bool on) override { chimes << on; }
    void applyTheme(int index) override { themes << index; }
    bool restoresListAtStart() const override { return restores; }
    void setRestoresListAtStart(bool on) override { restores = on; }
    bool restores = true;
    QList<bool> chimes;
    QList<int> themes;
};
