#include "core/settings/ProgramSettings.h"

#include "core/missions/RunMeter.h"

#include <algorithm>

namespace {

const QString themeSection = QStringLiteral("theme");
const QString otherSection = QStringLiteral("other");
const QString themeKey = QStringLiteral("select");
const QString chimeKey = QStringLiteral("autospeek");
const QString monitorKey = QStringLiteral("crt");
const QString hostKey = QStringLiteral("zhuji");

constexpr int defaultTheme = 0;
constexpr int defaultChime = 1;
constexpr int defaultMonitorWatts = 70;
constexpr int defaultHostWatts = 200;

} // namespace

ProgramSettings::ProgramSettings(const QString &configPath)
    : m_file(configPath)
{
}

int ProgramSettings::theme() const
{
    return m_file.readInteger(themeSection, themeKey, defaultTheme);
}

bool ProgramSettings::hourlyChime() const
{
    return m_file.readInteger(otherSection, chimeKey, defaultChime) != 0;
}

int ProgramSettings::monitorWatts() const
{
    return std::clamp(m_file.readInteger(otherSection, monitorKey, defaultMonitorWatts), 0, maxRatingWatts);
}

int ProgramSettings::hostWatts() const
{
    return std::clamp(m_file.readInteger(otherSection, hostKey, defaultHostWatts), 0, maxRatingWatts);
}

bool ProgramSettings::setTheme(int theme, QString *error)
{
    return m_file.writeInteger(themeSection, themeKey, theme, error);
}

bool ProgramSettings::setHourlyChime(bool on, QString *error)
{
    return m_file.writeInteger(otherSection, chimeKey, on ? 1 : 0, error);
}

bool ProgramSettings::setMonitorWatts(int watts, QString *error)
{
    return m_file.writeInteger(otherSection, monitorKey, watts, error);
}

bool ProgramSettings::setHostWatts(int watts, QString *error)
{
    return m_file.writeInteger(otherSection, hostKey, watts, error);
}
