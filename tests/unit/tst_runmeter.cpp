#include "core/missions/RunMeter.h"
#include "support/RegionalFormatReset.h"

#include <QtTest>

class TestRunMeter : public QObject
{
    Q_OBJECT

private slots:
    void init() { resetRegionalFormat(); }

    void countsRunningTime_data();
    void countsRunningTime();
    void estimatesEnergy_data();
    void estimatesEnergy();
    void secondsSleptThroughCountAsTicks();
    void usesTheRegionalDecimalSeparator();
    void buildsClockAndToolTipTexts();
};

void TestRunMeter::countsRunningTime_data()
{
    QTest::addColumn<int>("ticks");
    QTest::addColumn<QString>("panel");
    QTest::newRow("59") << 59 << "运行时间: 0:00:59";
    QTest::newRow("60") << 60 << "运行时间: 0:01:00";
    QTest::newRow("3599") << 3599 << "运行时间: 0:59:59";
    QTest::newRow("3600") << 3600 << "运行时间: 1:00:00";
    QTest::newRow("past a day") << 25 * 3600 + 3 << "运行时间: 25:00:03";
}

void TestRunMeter::countsRunningTime()
{
    QFETCH(int, ticks);
    QFETCH(QString, panel);
    RunMeter meter;
    for (int i = 0; i < ticks; ++i)
        meter.advance(70, 200);
    QCOMPARE(meter.runHours * 3600 + meter.runMinutes * 60 + meter.runSeconds, ticks);
    QVERIFY(meter.runMinutes < 60 && meter.runSeconds < 60);
    QCOMPARE(meter.runTimePanelText(), panel);
}

void TestRunMeter::secondsSleptThroughCountAsTicks()
{
    RunMeter ticked;
    for (int i = 0; i < 3725; ++i)
        ticked.advance(70, 200);
    RunMeter slept;
    slept.advance(70, 200, 59);
    slept.advance(70, 200, 0);
    slept.advance(70, 200, 3666);
    QCOMPARE(slept.runTimePanelText(), QStringLiteral("运行时间: 1:02:05"));
    QCOMPARE(slept.runTimePanelText(), ticked.runTimePanelText());
    QCOMPARE(slept.energyPanelText(), ticked.energyPanelText());
    QCOMPARE(slept.energyKwh, ticked.energyKwh);
}

void TestRunMeter::estimatesEnergy_data()
{
    QTest::addColumn<int>("crt");
    QTest::addColumn<int>("host");
    QTest::addColumn<int>("ticks");
    QTest::addColumn<double>("kwh");
    QTest::addColumn<QString>("panel");
    QTest::newRow("default ratings, one hour") << 70 << 200 << 3600 << 0.27 << "耗电量:0.270000度";
    QTest::newRow("both ratings 0") << 0 << 0 << 3600 << 0.0 << "耗电量:0.000000度";
    QTest::newRow("one second") << 70 << 200 << 1 << 270.0 / 3600000.0 << "耗电量:0.000075度";
    QTest::newRow("ten hours at 1000 W") << 1000 << 0 << 36000 << 10.0 << "耗电量:10.000000度";
}

void TestRunMeter::estimatesEnergy()
{
    QFETCH(int, crt);
    QFETCH(int, host);
    QFETCH(int, ticks);
    QFETCH(double, kwh);
    QFETCH(QString, panel);
    RunMeter meter;
    for (int i = 0; i < ticks; ++i)
        meter.advance(crt, host);
    QCOMPARE(meter.energyKwh, kwh);
    QCOMPARE(meter.energyPanelText(), panel);
}

void TestRunMeter::usesTheRegionalDecimalSeparator()
{
    RegionalFormat::setCurrent(RegionalFormat(QStringLiteral("dd.MM.yyyy"), QStringLiteral("H:mm:ss"), ','));
    RunMeter meter;
    for (int i = 0; i < 3600; ++i)
        meter.advance(70, 200);
    QCOMPARE(meter.energyPanelText(), QStringLiteral("耗电量:0,270000度"));
}

void TestRunMeter::buildsClockAndToolTipTexts()
{
    QCOMPARE(RunMeter::clockPanelText(QDateTime(QDate(2026, 12, 10), QTime(9, 5, 3))),
             QStringLiteral("当前时间:2026-12-10 9:05:03"));
    RunMeter meter;
    for (int i = 0; i < 600; ++i)
        meter.advance(70, 200);
    QCOMPARE(meter.trayToolTip(3), QStringLiteral("当前任务数:3\n当前耗电量:耗电量:0.045000度"));
}

QTEST_APPLESS_MAIN(TestRunMeter)
#include "tst_runmeter.moc"
