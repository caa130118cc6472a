#include "platform/linux/SoundEffectOutput.h"

#include <QAudioDevice>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QTimer>

namespace {

Q_LOGGING_CATEGORY(soundLog, "chronodesk.sound")

// Longer than the longest built-in recording (an hour announcement).
constexpr int longestPlayMs = 20000;

} // namespace

SoundEffectOutput::SoundEffectOutput(QObject *parent)
    : SoundOutput(parent)
    , m_guard(new QTimer(this))
{
    m_guard->setSingleShot(true);
    m_guard->setInterval(longestPlayMs);
    connect(m_guard, &QTimer::timeout, this, [this] {
        qCWarning(soundLog) << "a recording did not report its end; going on";
        if (m_effect)
            m_effect->stop();
        finish();
    });
}

void SoundEffectOutput::start(const QUrl &recording)
{
    m_busy = true;
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        qCInfo(soundLog) << "no audio output; not playing" << recording.toString();
        QTimer::singleShot(0, this, &SoundEffectOutput::finish);
        return;
    }
    // A fresh effect per recording, so that no signal of the previous one
    // is taken for the end of this one. The old one may be the sender whose
    // signal brought us here: let it go later.
    if (m_effect) {
        m_effect->disconnect(this);
        m_effect->deleteLater();
    }
    m_effect = new QSoundEffect(device, this);
    connect(m_effect, &QSoundEffect::playingChanged, this, [this] {
        if (!m_effect->isPlaying())
            finish();
    });
    connect(m_effect, &QSoundEffect::statusChanged, this, [this, recording] {
        if (m_effect->status() == QSoundEffect::Error) {
            qCWarning(soundLog) << "cannot play" << recording.toString();
            finish();
        }
    });
    m_effect->setSource(recording);
    m_effect->play();
    m_guard->start();
}

void SoundEffectOutput::finish()
{
    if (!m_busy)
        return;
    m_busy = false;
    m_guard->stop();
    emit finished();
}
