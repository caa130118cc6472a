// Feeds arbitrary bytes to the config.ini reader and writer: reading must
// never fail, and a value just written must read back.
#include "core/settings/IniFile.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("config.ini"));
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        std::abort();
    file.close();

    IniFile config(path);
    const QString keys[][2] = {{QStringLiteral("theme"), QStringLiteral("select")},
                               {QStringLiteral("other"), QStringLiteral("crt")},
                               {QStringLiteral("other"), QStringLiteral("zhuji")},
                               {QStringLiteral("other"), QStringLiteral("autospeek")}};
    for (const auto &key : keys)
        config.readInteger(key[0], key[1], -7);
    IniFile::parseInteger(QString::fromUtf8(bytes), 0);

    const int value = size > 0 ? int(data[0]) * 1000 + 3 : 5;
    const auto &key = keys[size % 4];
    QString error;
    if (!config.writeInteger(key[0], key[1], value, &error))
        return 0;
    const int readBack = config.readInteger(key[0], key[1], -7);
    if (readBack != value) {
        std::fprintf(stderr, "[%s] %s=%d read back as %d\n", qPrintable(key[0]), qPrintable(key[1]), value, readBack);
        std::abort();
    }
    return 0;
}
