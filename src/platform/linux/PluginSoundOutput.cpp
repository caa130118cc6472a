#include "platform/linux/PluginSoundOutput.h"

#include "platform/SoundOutputPlugin.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QPluginLoader>
#include <QTimer>

namespace {

Q_LOGGING_CATEGORY(pluginLog, "chronodesk.sound")

} // namespace

QString PluginSoundOutput::fileName()
{
    return QStringLiteral(CHRONODESK_SOUND_PLUGIN_FILE);
}

QStringList PluginSoundOutput::programFolders()
{
    const QString executableFolder = QCoreApplication::applicationDirPath();
    return {executableFolder, executableFolder + QStringLiteral("/../" CHRONODESK_SOUND_PLUGIN_INSTALL_DIR)};
}

PluginSoundOutput::PluginSoundOutput(QStringList folders, QObject *parent)
    : SoundOutput(parent)
    , m_folders(std::move(folders))
{
}

void PluginSoundOutput::start(const QUrl &recording)
{
    if (SoundOutput *output = load()) {
        output->start(recording);
        return;
    }
    QTimer::singleShot(0, this, &SoundOutput::finished);
}

void PluginSoundOutput::sound(const QUrl &recording)
{
    if (SoundOutput *output = load())
        output->sound(recording);
}

void PluginSoundOutput::prepare(const QUrl &recording)
{
    if (SoundOutput *output = load())
        output->prepare(recording);
}

SoundOutput *PluginSoundOutput::load()
{
    if (m_tried)
        return m_output;
    m_tried = true;
    for (const QString &folder : std::as_const(m_folders)) {
        const QString path = folder + QLatin1Char('/') + fileName();
        if (!QFileInfo::exists(path))
            continue;
        QPluginLoader loader(path);
        auto *plugin = qobject_cast<SoundOutputPlugin *>(loader.instance());
        if (!plugin) {
            qCWarning(pluginLog) << "cannot load the sound plugin:" << loader.errorString();
            continue;
        }
        m_output = plugin->createOutput(this);
        connect(m_output, &SoundOutput::finished, this, &SoundOutput::finished);
        return m_output;
    }
    qCWarning(pluginLog) << "no sound plugin" << fileName() << "in" << m_folders << "; not playing";
    return nullptr;
}
