#include "core/files/MissionFile.h"

#include "core/files/MissionLines.h"
#include "core/files/TextFile.h"

std::optional<QVector<Mission>> MissionFile::load(const QString &path, QString *error)
{
    const std::optional<QByteArray> bytes = readTextFile(path, error);
    if (!bytes)
        return std::nullopt;
    return MissionLines::missionFile().read(*bytes).missions;
}

bool MissionFile::save(const QString &path, const QVector<Mission> &missions, QString *error)
{
    return writeTextFile(path, MissionLines::missionFile().write(missions), error);
}

void MissionFile::dateAll(QVector<Mission> &missions, const QString &dateText)
{
    for (Mission &mission : missions)
        mission.dateText = dateText;
}
