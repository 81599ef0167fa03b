#include "reloadbackoff.h"

#include <QtTest>

// The waits before reloading a page whose renderer died, for crashes at
// given times (milliseconds).
class tst_ReloadBackoff : public QObject
{
    Q_OBJECT

private slots:
    void delays_data();
    void delays();
};

void tst_ReloadBackoff::delays_data()
{
    QTest::addColumn<QList<qint64>>("crashes");
    QTest::addColumn<QList<qint64>>("delays");

    QTest::newRow("one crash") << QList<qint64> {5000} << QList<qint64> {1000};
    QTest::newRow("crash at the clock's start")
            << QList<qint64> {0, 1500} << QList<qint64> {1000, 2000};
    QTest::newRow("crashes in a row double up to half a minute")
            << QList<qint64> {0, 1100, 3200, 7300, 15400, 31500, 61600, 91700}
            << QList<qint64> {1000, 2000, 4000, 8000, 16000, 30000, 30000, 30000};
    QTest::newRow("a quiet minute starts again") << QList<qint64> {0, 1100, 3200, 63200, 64300}
                                                 << QList<qint64> {1000, 2000, 4000, 1000, 2000};
    QTest::newRow("just under a minute still counts")
            << QList<qint64> {10000, 69999} << QList<qint64> {1000, 2000};
}

void tst_ReloadBackoff::delays()
{
    QFETCH(QList<qint64>, crashes);
    QFETCH(QList<qint64>, delays);

    ReloadBackoff backoff;
    QList<qint64> waits;
    for (qint64 time : crashes)
        waits.append(backoff.delayAfterCrashAt(time));
    QCOMPARE(waits, delays);
}

QTEST_APPLESS_MAIN(tst_ReloadBackoff)
#include "tst_reloadbackoff.moc"
