#pragma once

#include "platform/Sound.h"

#include <QStringList>

// Records each sound asked for: its name, or "beep".
class RecordingSound : public Sound
{
public:
    void play(const QString &name) override { played << name; }
    void beep() override { played << QStringLiteral("beep"); }

    QStringList played;
};
