#pragma once

#include "platform/SoundOutput.h"

class QSoundEffect;
class QTimer;

// Plays through Qt Multimedia (PulseAudio on Debian). Without an audio
// device, or when the recording cannot be played, it plays nothing and
// finishes at once; a guard ends any play that never reports its end.
class SoundEffectOutput : public SoundOutput
{
    Q_OBJECT

public:
    explicit SoundEffectOutput(QObject *parent = nullptr);
    void start(const QUrl &recording) override;

private:
    void finish();

    QSoundEffect *m_effect = nullptr;
    QTimer *m_guard;
    bool m_busy = false;
};
