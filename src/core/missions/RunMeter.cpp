#include "core/missions/RunMeter.h"

#include "core/text/RegionalFormat.h"

namespace {

// Watt-seconds per kilowatt-hour, kept at extended precision so one hour at
// 270 W comes out as exactly 0.27 kWh.
constexpr long double kwhPerWattSecond = 1.0L / 3600000.0L;

} // namespace

void RunMeter::advance(int crtWatts, int hostWatts, qint64 seconds)
{
    const qint64 total = qint64(runHours) * 3600 + runMinutes * 60 + runSeconds + qMax<qint64>(0, seconds);
    runSeconds = int(total % 60);
    runMinutes = int(total / 60 % 60);
    runHours = int(total / 3600);
    energyKwh = double((long double)(crtWatts + hostWatts) * kwhPerWattSecond * (long double)total);
}

QString RunMeter::clockPanelText(const QDateTime &now)
{
    return QStringLiteral("当前时间:") + DateTimeToStr(now);
}

QString RunMeter::runTimePanelText() const
{
    // From 24 hours on the hours simply go on counting.
    return QStringLiteral("运行时间: ") + RegionalFormat::current().durationToStr(runHours, runMinutes, runSeconds);
}

QString RunMeter::energyPanelText() const
{
    QString number = QString::asprintf("%.6f", energyKwh);
    number.replace(QLatin1Char('.'), RegionalFormat::current().decimalSeparator());
    return QStringLiteral("耗电量:") + number + QStringLiteral("度");
}

QString RunMeter::trayToolTip(int missionCount) const
{
    return QStringLiteral("当前任务数:") + QString::number(missionCount) + QLatin1Char('\n')
           + QStringLiteral("当前耗电量:") + energyPanelText();
}
