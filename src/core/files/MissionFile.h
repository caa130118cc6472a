#pragma once

#include "core/missions/Mission.h"

#include <QString>
#include <QVector>

#include <optional>

// Saving the mission list to a mission file (.mis) and reading one back.
namespace MissionFile {

// The missions of the file at `path`, read whole before anything is
// returned, so a file that cannot be read changes nothing. Rows that held
// a NUL byte are kept, each NUL read as a blank, and `notice` (if given)
// says which (MissionLines::blankedNulNotice); otherwise it is emptied.
std::optional<QVector<Mission>> load(const QString &path, QString *error, QString *notice = nullptr);
bool save(const QString &path, const QVector<Mission> &missions, QString *error);

// Moves every mission to the date `dateText`, keeping its time of day.
void dateAll(QVector<Mission> &missions, const QString &dateText);

} // namespace MissionFile
