#include "app/window/windowplacement.h"

#include <QtTest>

// Where a window kept from an earlier start goes, on a desk of a primary
// screen and one to its right, or on the primary screen alone.
class tst_WindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void placement_data();
    void placement();
};

void tst_WindowPlacement::placement_data()
{
    const QList<QRect> primary {{0, 0, 1280, 800}};
    const QList<QRect> both {{0, 0, 1280, 800}, {1280, 0, 1920, 1080}};

    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QRect>("kept");
    QTest::addColumn<QRect>("placed");

    QTest::newRow("on the second screen")
            << both << QRect(1500, 100, 900, 600) << QRect(1500, 100, 900, 600);
    QTest::newRow("partly off, its top within reach")
            << primary << QRect(-600, 500, 900, 600) << QRect(-600, 500, 900, 600);
    QTest::newRow("the second screen gone")
            << primary << QRect(1500, 100, 900, 600) << QRect(380, 100, 900, 600);
    QTest::newRow("too little of its top left to hold")
            << primary << QRect(1240, 100, 900, 600) << QRect(380, 100, 900, 600);
    QTest::newRow("title bar above the screen")
            << primary << QRect(100, -30, 900, 600) << QRect(100, 0, 900, 600);
    QTest::newRow("left of it, larger than it")
            << primary << QRect(-3000, 0, 1920, 1080) << QRect(0, 0, 1280, 800);
}

void tst_WindowPlacement::placement()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(QRect, kept);
    QFETCH(QRect, placed);

    QCOMPARE(WindowPlacement::onScreens(kept, screens), placed);
}

QTEST_APPLESS_MAIN(tst_WindowPlacement)
#include "tst_windowplacement.moc"
