#include "platform/linux/PluginSoundOutput.h"
#include "platform/linux/SoundEffectOutput.h"
#include "platform/QueuedSound.h"

#include <QFile>
#include <QSignalSpy>
#include <QtEndian>
#include <QtTest>

namespace {

QString fileName(const QUrl &recording)
{
    return recording.path().section(QLatin1Char('/'), -1);
}

// Records what it is asked to play and to make ready; the test says when
// each one ends.
class ManualOutput : public SoundOutput
{
public:
    void start(const QUrl &recording) override { started << fileName(recording); }
    void sound(const QUrl &recording) override { sounded << fileName(recording); }
    void prepare(const QUrl &recording) override { prepared << fileName(recording); }
    void end() { emit finished(); }
    QStringList started;
    QStringList sounded;
    QStringList prepared;
};

struct WaveFormat
{
    int formatTag = 0;
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    double seconds = 0;
};

// Reads a RIFF/WAVE file's format and the length of its data; a formatTag of
// 0 means the file is no well-formed WAVE.
WaveFormat readWave(const QByteArray &file)
{
    WaveFormat wave;
    auto u16 = [&file](qsizetype at) { return int(qFromLittleEndian<quint16>(file.constData() + at)); };
    auto u32 = [&file](qsizetype at) { return qint64(qFromLittleEndian<quint32>(file.constData() + at)); };
    if (file.size() < 12 || !file.startsWith("RIFF") || file.mid(8, 4) != "WAVE" || u32(4) != file.size() - 8)
        return wave;
    int byteRate = 0;
    bool format = false;
    for (qsizetype at = 12; at + 8 <= file.size();) {
        const QByteArray id = file.mid(at, 4);
        const qint64 size = u32(at + 4);
        if (at + 8 + size > file.size())
            return {};
        if (id == "fmt " && size >= 16) {
            wave.formatTag = u16(at + 8);
            wave.channels = u16(at + 10);
            wave.sampleRate = int(u32(at + 12));
            byteRate = int(u32(at + 16));
            wave.bitsPerSample = u16(at + 22);
            format = byteRate == wave.sampleRate * wave.channels * wave.bitsPerSample / 8
                     && u16(at + 20) == wave.channels * wave.bitsPerSample / 8;
        } else if (id == "data" && format) {
            wave.seconds = double(size) / byteRate;
            return wave;
        }
        at += 8 + size + (size & 1);
    }
    return {};
}

} // namespace

class TestSound : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void recordingsAreWholeWaves_data();
    void recordingsAreWholeWaves();
    void namesAreFoundWithoutRegardToCase_data();
    void namesAreFoundWithoutRegardToCase();
    void requestsPlayInTurn();
    void beepsSoundAtOnceBesideTheQueue();
    void withoutSoundDeviceTheQueueGoesOn();
    void thePluginIsLoadedOnTheFirstPlay();
};

void TestSound::initTestCase()
{
    // No sound server, whatever the machine has.
    qputenv("PULSE_SERVER", "unix:/nonexistent/chronodesk-test");
}

void TestSound::recordingsAreWholeWaves_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("sampleRate");
    QTest::addColumn<double>("shortest");
    QTest::addColumn<double>("longest");

    QTest::newRow("ring") << "ring" << 2 << 48000 << 1.8 << 2.2;
    QTest::newRow("beep") << "beep" << 1 << 48000 << 0.05 << 0.5;
    for (int hour = 1; hour <= 24; ++hour) {
        const QByteArray name = "t" + QByteArray::number(hour);
        QTest::newRow(name.constData()) << QString::fromLatin1(name) << 1 << 8000 << 4.3 << 11.8;
    }
}

void TestSound::recordingsAreWholeWaves()
{
    QFETCH(QString, name);
    QFETCH(int, channels);
    QFETCH(int, sampleRate);
    QFETCH(double, shortest);
    QFETCH(double, longest);

    QFile file(QStringLiteral(":/sounds/%1.wav").arg(name));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const WaveFormat wave = readWave(file.readAll());
    QCOMPARE(wave.formatTag, 1);
    QCOMPARE(wave.channels, channels);
    QCOMPARE(wave.sampleRate, sampleRate);
    QCOMPARE(wave.bitsPerSample, 16);
    QVERIFY2(wave.seconds >= shortest && wave.seconds <= longest, qPrintable(QString::number(wave.seconds)));
}

void TestSound::namesAreFoundWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("resource");

    QTest::newRow("ring") << "ring"
                          << "qrc:/sounds/ring.wav";
    QTest::newRow("RING") << "RING"
                          << "qrc:/sounds/ring.wav";
    QTest::newRow("t9") << "t9"
                        << "qrc:/sounds/t9.wav";
    QTest::newRow("T9") << "T9"
                        << "qrc:/sounds/t9.wav";
    QTest::newRow("T24") << "T24"
                         << "qrc:/sounds/t24.wav";
    QTest::newRow("hour 0 has none") << "t0"
                                     << "";
    QTest::newRow("t25") << "t25"
                         << "";
    QTest::newRow("a file name") << "ring.wav"
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestSound::namesAreFoundWithoutRegardToCase()
{
    QFETCH(QString, name);
    QFETCH(QString, resource);
    QCOMPARE(QueuedSound::recording(name).toString(), resource);
}

void TestSound::requestsPlayInTurn()
{
    ManualOutput output;
    QueuedSound sound(&output);
    sound.play(QStringLiteral("RING"));
    sound.play(QStringLiteral("t9"));
    sound.play(QStringLiteral("t0"));
    sound.play(QStringLiteral("ring"));
    QCOMPARE(output.started, QStringList {"ring.wav"});
    // What waits is made ready, so that it follows without delay.
    QCOMPARE(output.prepared, (QStringList {"t9.wav", "ring.wav"}));
    output.end();
    QCOMPARE(output.started, (QStringList {"ring.wav", "t9.wav"}));
    output.end();
    output.end();
    QCOMPARE(output.started, (QStringList {"ring.wav", "t9.wav", "ring.wav"}));
    // Idle again: the next request starts at once.
    sound.play(QStringLiteral("T13"));
    QCOMPARE(output.started.last(), QStringLiteral("t13.wav"));
}

// The warning's three beeps sound together at once, not after an hour's
// announcement that is playing, and take no turn from what waits.
void TestSound::beepsSoundAtOnceBesideTheQueue()
{
    ManualOutput output;
    QueuedSound sound(&output);
    sound.play(QStringLiteral("t12"));
    sound.play(QStringLiteral("ring"));
    for (int i = 0; i < 3; ++i)
        sound.beep();
    QCOMPARE(output.sounded, (QStringList {"beep.wav", "beep.wav", "beep.wav"}));
    QCOMPARE(output.started, QStringList {"t12.wav"});
    output.end();
    QCOMPARE(output.started, (QStringList {"t12.wav", "ring.wav"}));
}

void TestSound::withoutSoundDeviceTheQueueGoesOn()
{
    SoundEffectOutput output;
    QueuedSound sound(&output);
    QSignalSpy ended(&output, &SoundOutput::finished);
    sound.play(QStringLiteral("ring"));
    sound.beep();
    sound.play(QStringLiteral("t12"));
    QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, 20000);
}

// Whether found or not, every play ends; the plugin, and Qt Multimedia with
// it, comes into the process only with the first play. (Once loaded it
// stays: the case without it goes first.)
void TestSound::thePluginIsLoadedOnTheFirstPlay()
{
    const auto pluginMapped = [] {
        QFile maps(QStringLiteral("/proc/self/maps"));
        return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(PluginSoundOutput::fileName().toUtf8());
    };
    const QString nowhere = QDir::tempPath() + QStringLiteral("/no such folder");
    for (const QStringList &folders : {QStringList {nowhere}, QStringList {nowhere, CHRONODESK_BUILD_FOLDER}}) {
        PluginSoundOutput output(folders);
        QueuedSound sound(&output);
        QSignalSpy ended(&output, &SoundOutput::finished);
        QVERIFY(!pluginMapped());
        sound.play(QStringLiteral("ring"));
        sound.play(QStringLiteral("t12"));
        QTRY_COMPARE_WITH_TIMEOUT(ended.count(), 2, 20000);
        QCOMPARE(pluginMapped(), folders.size() == 2);
    }
}

QTEST_GUILESS_MAIN(TestSound)
#include "tst_sound.moc"
