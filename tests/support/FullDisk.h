#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A small file system of the test's own (a 64 KiB tmpfs) that the test fills
// up, to see what the program does with a full disk. Mounting needs the
// right to mount; without it available() is false and says why, and the
// test skips.
class FullDisk
{
public:
    FullDisk()
    {
        if (!m_dir.isValid()) {
            m_why = QStringLiteral("no temporary folder");
            return;
        }
        QProcess mount;
        mount.start(QStringLiteral("mount"), {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                              QStringLiteral("size=64k"), QStringLiteral("tmpfs"), m_dir.path()});
        if (!mount.waitForFinished(30000) || mount.exitStatus() != QProcess::NormalExit || mount.exitCode() != 0) {
            m_why = QStringLiteral("a tmpfs cannot be mounted here (needs the right to mount): ")
                    + QString::fromLocal8Bit(mount.readAllStandardError()).trimmed();
            return;
        }
        m_mounted = true;
    }
    ~FullDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_dir.path()});
    }
    FullDisk(const FullDisk &) = delete;
    FullDisk &operator=(const FullDisk &) = delete;

    bool available() const { return m_mounted; }
    QString whyNot() const { return m_why; }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }

    // Takes every free byte, so that the next write fails for want of room.
    bool fill()
    {
        QFile filler(m_dir.filePath(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(512, 'x');
        while (filler.write(block) == block.size()) { }
        while (filler.write(block.first(1)) == 1) { }
        return true;
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};
