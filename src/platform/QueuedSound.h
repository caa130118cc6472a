#pragma once

#include "platform/Sound.h"

#include <QObject>
#include <QQueue>
#include <QUrl>

class SoundOutput;

// The built-in recordings (":/sounds/<name>.wav", names in lower case),
// played one after another: a request that comes while one plays waits its
// turn, made ready meanwhile so that it follows at once, and each plays once
// to its end. The beep waits for nothing: beeps asked for together sound
// together, at once. Requests return at once.
class QueuedSound : public QObject, public Sound
{
    Q_OBJECT

public:
    // Does not take ownership of `output`.
    explicit QueuedSound(SoundOutput *output, QObject *parent = nullptr);

    // The resource of a recording, or an empty URL when there is none.
    static QUrl recording(const QString &name);

    // An unknown name plays nothing.
    void play(const QString &name) override;
    void beep() override;

private:
    void enqueue(const QUrl &recording);
    void startNext();

    SoundOutput *m_output;
    QQueue<QUrl> m_waiting;
    bool m_playing = false;
};
