#pragma once

#include <QObject>
#include <QUrl>

// Plays one recording at a time and says when it has ended. finished() is
// emitted once for every start(), also when nothing could be played.
class SoundOutput : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    virtual void start(const QUrl &recording) = 0;

signals:
    void finished();
};
