#include "core/settings/SkinStore.h"

#include <QFile>

namespace {

struct StoredSkin
{
    const char *name;
    const char *resource;
};

constexpr StoredSkin skins[SkinStore::count()] = {
    {"skinMsn", ":/skins/msn.qss"},
    {"skinVista", ":/skins/vista.qss"},
    {"skinCool", ":/skins/cool.qss"},
    {"SkinCoolXuan", ":/skins/coolxuan.qss"},
};

} // namespace

SkinStore::SkinStore(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("SkinStore1"));
}

QString SkinStore::skinName(int number)
{
    return number >= 0 && number < count() ? QString::fromLatin1(skins[number].name) : QString();
}

QString SkinStore::styleSheet(int number)
{
    if (number < 0 || number >= count())
        return {};
    QFile file(QString::fromLatin1(skins[number].resource));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}
