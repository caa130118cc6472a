#include "gui/widgets/Icons.h"

#include <QHash>

namespace {

QIcon cachedIcon(const QString &name)
{
    static QHash<QString, QIcon> cache;
    auto it = cache.find(name);
    if (it == cache.end())
        it = cache.insert(name, QIcon(QStringLiteral(":/icons/%1.svg").arg(name)));
    return *it;
}

} // namespace

QIcon commandIcon(CommandIcon icon)
{
    static const char *const names[] = {"add", "modify", "delete", "start", "pause", "stop", "about"};
    return cachedIcon(QLatin1String(names[int(icon)]));
}

QIcon missionRowIcon(int imageIndex)
{
    static const char *const names[] = {"kind-power", "kind-program", "kind-file", "kind-message",
                                        "kind-ring",  "kind-web",     "kind-mail"};
    if (imageIndex < 0 || imageIndex >= int(std::size(names)))
        return {};
    return cachedIcon(QLatin1String(names[imageIndex]));
}

QIcon namedIcon(const QString &name)
{
    return cachedIcon(name);
}

QIcon applicationIcon()
{
    return cachedIcon(QStringLiteral("app"));
}

QIcon buttonIcon(ButtonIcon icon)
{
    static const char *const names[] = {"button-ok", "button-close"};
    return cachedIcon(QLatin1String(names[int(icon)]));
}
