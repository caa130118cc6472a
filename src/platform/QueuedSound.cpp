#include "platform/QueuedSound.h"

#include "platform/SoundOutput.h"

#include <QFile>

QueuedSound::QueuedSound(SoundOutput *output, QObject *parent)
    : QObject(parent)
    , m_output(output)
{
    connect(m_output, &SoundOutput::finished, this, [this] {
        m_playing = false;
        startNext();
    });
}

QUrl QueuedSound::recording(const QString &name)
{
    const QString path = QStringLiteral(":/sounds/%1.wav").arg(name.toLower());
    if (name.isEmpty() || !QFile::exists(path))
        return {};
    return QUrl(QStringLiteral("qrc") + path);
}

void QueuedSound::play(const QString &name)
{
    enqueue(recording(name));
}

void QueuedSound::beep()
{
    m_output->sound(recording(QStringLiteral("beep")));
}

void QueuedSound::enqueue(const QUrl &recording)
{
    if (recording.isEmpty())
        return;
    m_waiting.enqueue(recording);
    if (!m_playing)
        startNext();
    else
        m_output->prepare(recording);
}

void QueuedSound::startNext()
{
    if (m_waiting.isEmpty())
        return;
    m_playing = true;
    m_output->start(m_waiting.dequeue());
}
