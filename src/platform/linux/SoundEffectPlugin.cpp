#include "platform/linux/SoundEffectOutput.h"
#include "platform/SoundOutputPlugin.h"

// The plugin that carries Qt Multimedia: the output of SoundEffectOutput.
class SoundEffectPlugin : public QObject, public SoundOutputPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SoundOutputPlugin_iid)
    Q_INTERFACES(SoundOutputPlugin)

public:
    SoundOutput *createOutput(QObject *parent) override { return new SoundEffectOutput(parent); }
};

#include "SoundEffectPlugin.moc"
