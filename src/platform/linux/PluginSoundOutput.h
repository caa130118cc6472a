#pragma once

#include "platform/SoundOutput.h"

#include <QStringList>

// Plays through the sound plugin, loaded on the first play from the first of
// `folders` that holds it. Without the plugin nothing is played and every
// play finishes at once, as without an audio device.
class PluginSoundOutput : public SoundOutput
{
    Q_OBJECT

public:
    // The plugin's file name, without the folder.
    static QString fileName();
    // Where the program looks: beside the executable (the build folder),
    // then in the installed library folder.
    static QStringList programFolders();

    explicit PluginSoundOutput(QStringList folders, QObject *parent = nullptr);
    void start(const QUrl &recording) override;
    void sound(const QUrl &recording) override;
    void prepare(const QUrl &recording) override;

private:
    SoundOutput *load();

    QStringList m_folders;
    SoundOutput *m_output = nullptr;
    bool m_tried = false;
};
