#include "platform/linux/SoundEffectOutput.h"

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
        if (m_current)
            m_current->stop();
        finish();
    });
}

QSoundEffect *SoundEffectOutput::effect(QHash<QUrl, QSoundEffect *> &effects, const QUrl &recording)
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device != m_device) {
        // The old effects may be the sender whose signal brought us here:
        // they go later.
        for (QSoundEffect *old : std::as_const(m_inTurn))
            old->deleteLater();
        for (QSoundEffect *old : std::as_const(m_beside))
            old->deleteLater();
        m_inTurn.clear();
        m_beside.clear();
        m_current = nullptr;
        m_device = device;
    }
    if (device.isNull())
        return nullptr;
    QSoundEffect *&loaded = effects[recording];
    if (!loaded) {
        loaded = new QSoundEffect(device, this);
        QSoundEffect *created = loaded;
        connect(created, &QSoundEffect::playingChanged, this, [this, created] {
            if (created == m_current && !created->isPlaying())
                finish();
        });
        connect(created, &QSoundEffect::statusChanged, this, [this, created, recording] {
            if (created->status() != QSoundEffect::Error)
                return;
            qCWarning(soundLog) << "cannot play" << recording.toString();
            if (created == m_current)
                finish();
        });
        created->setSource(recording);
    }
    return loaded;
}

void SoundEffectOutput::start(const QUrl &recording)
{
    m_busy = true;
    m_current = effect(m_inTurn, recording);
    if (!m_current || m_current->status() == QSoundEffect::Error) {
        qCInfo(soundLog) << "not playing" << recording.toString();
        QTimer::singleShot(0, this, &SoundEffectOutput::finish);
        return;
    }
    m_current->play();
    m_guard->start();
}

void SoundEffectOutput::sound(const QUrl &recording)
{
    if (QSoundEffect *beside = effect(m_beside, recording); beside && !beside->isPlaying())
        beside->play();
}

void SoundEffectOutput::prepare(const QUrl &recording)
{
    effect(m_inTurn, recording);
}

void SoundEffectOutput::finish()
{
    if (!m_busy)
        return;
    m_busy = false;
    m_current = nullptr;
    m_guard->stop();
    emit finished();
}
