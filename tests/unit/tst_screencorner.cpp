#include "gui/widgets/ScreenCorner.h"

#include <QtTest>

// The corner where the shutdown warning (30 pixels above the bottom) and
// the message popup (flush) stand, on screens anywhere on the desktop; a
// window kept inside the area its screen leaves free.
class TestScreenCorner : public QObject
{
    Q_OBJECT

private slots:
    void standsInTheCornerOfItsScreen_data();
    void standsInTheCornerOfItsScreen();
    void keptInsideAnyArea_data();
    void keptInsideAnyArea();
};

void TestScreenCorner::standsInTheCornerOfItsScreen_data()
{
    QTest::addColumn<QRect>("screen");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("bottomGap");
    QTest::addColumn<QPoint>("place");

    const QSize popup(200, 442);
    const QSize warning(357, 83);
    QTest::newRow("popup, 1024 x 768") << QRect(0, 0, 1024, 768) << popup << 0 << QPoint(824, 326);
    QTest::newRow("popup, 1920 x 1080") << QRect(0, 0, 1920, 1080) << popup << 0 << QPoint(1720, 638);
    QTest::newRow("popup, right of another") << QRect(1280, 0, 1024, 768) << popup << 0 << QPoint(2104, 326);
    QTest::newRow("popup, at x 1920") << QRect(1920, 0, 1920, 1080) << popup << 0 << QPoint(3640, 638);
    QTest::newRow("popup, above another") << QRect(0, -1080, 1920, 1080) << popup << 0 << QPoint(1720, -442);
    QTest::newRow("popup, left of the primary") << QRect(-1280, 0, 1280, 1024) << popup << 0 << QPoint(-200, 582);
    QTest::newRow("warning, 1024 x 768") << QRect(0, 0, 1024, 768) << warning << 30 << QPoint(667, 655);
    QTest::newRow("warning, at x 1920") << QRect(1920, 0, 1920, 1080) << warning << 30 << QPoint(3483, 967);
    QTest::newRow("warning, above another") << QRect(0, -1080, 1920, 1080) << warning << 30 << QPoint(1563, -113);
    QTest::newRow("warning, down and right") << QRect(2560, 360, 1280, 720) << warning << 30 << QPoint(3483, 967);
}

void TestScreenCorner::standsInTheCornerOfItsScreen()
{
    QFETCH(QRect, screen);
    QFETCH(QSize, size);
    QFETCH(int, bottomGap);
    QFETCH(QPoint, place);
    const QPoint corner = bottomRightCorner(screen, size, bottomGap);
    QCOMPARE(corner, place);
    // The window lies wholly on its screen.
    QVERIFY(screen.contains(QRect(corner, size)));
}

void TestScreenCorner::keptInsideAnyArea_data()
{
    QTest::addColumn<QRect>("area");
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("kept");
    QTest::newRow("already inside") << QRect(0, 0, 1920, 1080) << QRect(196, 110, 696, 480)
                                    << QRect(196, 110, 696, 480);
    QTest::newRow("past the right and bottom")
        << QRect(0, 0, 800, 600) << QRect(196, 110, 696, 520) << QRect(104, 80, 696, 520);
    QTest::newRow("panel at the top") << QRect(0, 32, 800, 568) << QRect(0, 0, 300, 200) << QRect(0, 32, 300, 200);
    QTest::newRow("larger than the area")
        << QRect(0, 0, 640, 480) << QRect(196, 110, 696, 520) << QRect(0, 0, 640, 480);
    QTest::newRow("screen left of the primary")
        << QRect(-1280, 0, 1280, 1024) << QRect(-100, 900, 300, 200) << QRect(-300, 824, 300, 200);
}

void TestScreenCorner::keptInsideAnyArea()
{
    QFETCH(QRect, area);
    QFETCH(QRect, window);
    QFETCH(QRect, kept);
    QCOMPARE(keptInside(area, window), kept);
}

QTEST_GUILESS_MAIN(TestScreenCorner)
#include "tst_screencorner.moc"
