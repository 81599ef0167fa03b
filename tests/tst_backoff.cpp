#include "base/backoff.h"

#include <QtTest>

// The waits between tries, for failures at given times and for failures in
// a row (milliseconds), as the reload after a renderer's crash and the tries
// of an unreachable server use them.
class tst_Backoff : public QObject
{
    Q_OBJECT

private slots:
    void delays_data();
    void delays();
    void retries_data();
    void retries();
};

void tst_Backoff::delays_data()
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

void tst_Backoff::delays()
{
    QFETCH(QList<qint64>, crashes);
    QFETCH(QList<qint64>, delays);

    Backoff backoff(1000, 30000, 60000);
    QList<qint64> waits;
    for (qint64 time : crashes)
        waits.append(backoff.delayAfterFailureAt(time));
    QCOMPARE(waits, delays);
}

void tst_Backoff::retries_data()
{
    QTest::addColumn<int>("failures");
    QTest::addColumn<QList<qint64>>("delays");

    QTest::newRow("one failure") << 1 << QList<qint64> {2000};
    QTest::newRow("failures in a row double up to a minute")
            << 7 << QList<qint64> {2000, 4000, 8000, 16000, 32000, 60000, 60000};
}

// However long the address stays unreachable; a loaded page starts again.
void tst_Backoff::retries()
{
    QFETCH(int, failures);
    QFETCH(QList<qint64>, delays);

    Backoff backoff(2000, 60000);
    QList<qint64> waits;
    for (int failure = 0; failure < failures; ++failure)
        waits.append(backoff.delayAfterFailure());
    QCOMPARE(waits, delays);
    backoff.reset();
    QCOMPARE(backoff.delayAfterFailure(), delays.first());
}

QTEST_APPLESS_MAIN(tst_Backoff)
#include "tst_backoff.moc"
