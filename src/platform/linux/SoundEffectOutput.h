#pragma once

#include "platform/SoundOutput.h"

#include <QAudioDevice>
#include <QHash>

class QSoundEffect;
class QTimer;

// Plays through Qt Multimedia (PulseAudio on Debian). Each recording is
// loaded once into an effect of its own and kept, so that it starts at once
// whenever it is asked for again. Without an audio device, or when the
// recording cannot be played, it plays nothing and finishes at once; a guard
// ends any play that never reports its end.
class SoundEffectOutput : public SoundOutput
{
    Q_OBJECT

public:
    explicit SoundEffectOutput(QObject *parent = nullptr);
    void start(const QUrl &recording) override;
    void sound(const QUrl &recording) override;
    void prepare(const QUrl &recording) override;

private:
    // The effect of `recording` in `effects`, loaded on first use; null
    // without an audio device. A change of the default device drops every
    // effect made for the old one.
    QSoundEffect *effect(QHash<QUrl, QSoundEffect *> &effects, const QUrl &recording);
    void finish();

    QAudioDevice m_device;
    QHash<QUrl, QSoundEffect *> m_inTurn;
    QHash<QUrl, QSoundEffect *> m_beside;
    QSoundEffect *m_current = nullptr;
    QTimer *m_guard;
    bool m_busy = false;
};
