#pragma once

#include <QObject>
#include <QUrl>

// Plays recordings: one at a time in turn through start(), saying when each
// has ended, and short signals beside them through sound(). finished() is
// emitted once for every start(), also when nothing could be played.
class SoundOutput : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    virtual void start(const QUrl &recording) = 0;
    // Plays `recording` at once, over whatever start() plays; asked for
    // again while it sounds, it sounds on as one.
    virtual void sound(const QUrl &recording) = 0;
    // `recording` will be asked for soon: it is made ready to start without
    // delay.
    virtual void prepare(const QUrl &recording) = 0;

signals:
    void finished();
};
