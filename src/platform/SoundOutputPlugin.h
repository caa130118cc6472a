#pragma once

#include "platform/SoundOutput.h"

#include <QtPlugin>

// What the sound plugin gives: the output that plays the recordings. The
// sound back-end lives in a plugin loaded on the first play, so the start of
// the program does not wait for it.
class SoundOutputPlugin
{
public:
    virtual ~SoundOutputPlugin() = default;
    virtual SoundOutput *createOutput(QObject *parent) = 0;
};

#define SoundOutputPlugin_iid "org.chronodesk.SoundOutputPlugin/1"
Q_DECLARE_INTERFACE(SoundOutputPlugin, SoundOutputPlugin_iid)
