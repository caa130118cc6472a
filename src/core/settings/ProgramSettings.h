#pragma once

#include "core/settings/IniFile.h"

#include <QString>

// The program's settings in config.ini, each with its section, key and
// default in one place: the main window reads them at start, the settings
// dialog reads and writes them. The file is read once when made.
class ProgramSettings
{
public:
    explicit ProgramSettings(const QString &configPath);

    // [theme] select: the look, 0 to 4 (3 is the plain look); default 0.
    int theme() const;
    // [other] autospeek: the hourly time signal; on by default.
    bool hourlyChime() const;
    // [other] crt and zhuji: the monitor's and the computer's rating in
    // watts (defaults 70 and 200), kept between 0 and maxRatingWatts: a
    // rating the dialog could not have stored would give a wrong energy.
    int monitorWatts() const;
    int hostWatts() const;

    // Each writes its key at once; false with the reason in `error`.
    bool setTheme(int theme, QString *error);
    bool setHourlyChime(bool on, QString *error);
    bool setMonitorWatts(int watts, QString *error);
    bool setHostWatts(int watts, QString *error);

private:
    IniFile m_file;
};
