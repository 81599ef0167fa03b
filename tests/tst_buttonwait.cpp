#include "instrument/buttonwait.h"
#include "instrument/simulator/i1sim.h"
#include "tests/support/debuglog.h"
#include "tests/support/sdktrace.h"

#include <QtTest>

using namespace std::chrono_literals;

class tst_ButtonWait : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void pressBeforeFirstTestNeedsNoSleep();
    void everyPressIsLoggedAndFlagStaysOne();
    void otherEventCodesAreIgnored_data();
    void otherEventCodesAreIgnored();
    void pressDuringLastSleepCounts();
    void pressEndsTheCurrentSleep();
    void noPressRunsToThePollLimit_data();
    void noPressRunsToThePollLimit();
    void endedWaitIsNotPressed();
    void pressesAsTheWaitEnds();
    void lateCallOfEndedWaitChangesNothing();
};

namespace {

const QByteArrayList registrationAroundWait {
        "I1_RegisterDeviceEventHandler handler", "I1_RegisterDeviceEventHandler null"};

// Starts the wait and runs the event loop until it has finished; its answer.
bool waitedForPress(ButtonWait &wait, std::chrono::milliseconds timeout = 10s)
{
    QSignalSpy finished(&wait, &ButtonWait::finished);
    wait.start();
    if (finished.isEmpty() && !finished.wait(int(timeout.count())))
        return false;
    return finished.size() == 1 && finished.first().first().toBool();
}

} // namespace

void tst_ButtonWait::init()
{
    I1Sim_Reset();
    I1Sim_Configure("I1SIM_PRESS_MS", "never");
}

void tst_ButtonWait::pressBeforeFirstTestNeedsNoSleep()
{
    // The simulator presses from its own thread before registering returns.
    I1Sim_Configure("I1SIM_PRESS_MS", "0");
    SdkTrace trace;
    DebugLog debugLog;
    ButtonWait wait(10s);
    QSignalSpy finished(&wait, &ButtonWait::finished);

    wait.start();
    QCOMPARE(finished.size(), 1); // before start() returned
    QCOMPARE(finished.first().first().toBool(), true);
    QCOMPARE(debugLog.lines(), (QStringList {"pressed", "0 III 1"}));
    QCOMPARE(trace.lines(), registrationAroundWait);
}

void tst_ButtonWait::everyPressIsLoggedAndFlagStaysOne()
{
    I1Sim_Configure("I1SIM_PRESS_MS", "0,0,0");
    DebugLog debugLog;
    ButtonWait wait(10s);

    QVERIFY(waitedForPress(wait));
    QCOMPARE(debugLog.lines(), (QStringList {"pressed", "pressed", "pressed", "0 III 1"}));
}

void tst_ButtonWait::otherEventCodesAreIgnored_data()
{
    QTest::addColumn<int>("code");
    QTest::newRow("zero") << 0;
    QTest::newRow("two") << 2;
    QTest::newRow("negative") << -1;
    QTest::newRow("largest") << int(std::numeric_limits<int32_t>::max());
}

void tst_ButtonWait::otherEventCodesAreIgnored()
{
    QFETCH(int, code);
    DebugLog debugLog;
    I1Sim_SendDeviceEvent(code, 50);
    I1Sim_SendDeviceEvent(code, 60);
    I1Sim_SendDeviceEvent(1, 600); // ends the wait, so the others surely arrived during it
    ButtonWait wait(100ms, 50);

    QVERIFY(waitedForPress(wait));
    const QStringList lines = debugLog.lines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.first(), QStringLiteral("pressed"));
    // Had the early events counted, the wait would have ended in its first sleep.
    const QStringList waitLine = lines.last().split(' ');
    QCOMPARE(waitLine.mid(1), (QStringList {"III", "1"}));
    QVERIFY2(waitLine.first().toInt() >= 2, qPrintable(lines.last()));
}

void tst_ButtonWait::pressDuringLastSleepCounts()
{
    // Sleeps run from about 0, 200 and 400 ms; the press falls in the middle of the third.
    DebugLog debugLog;
    I1Sim_SendDeviceEvent(1, 500);
    ButtonWait wait(200ms, 3);

    QVERIFY(waitedForPress(wait));
    QCOMPARE(debugLog.lines(), (QStringList {"pressed", "3 III 1"}));
}

void tst_ButtonWait::pressEndsTheCurrentSleep()
{
    DebugLog debugLog;
    I1Sim_SendDeviceEvent(1, 100);
    QElapsedTimer timer;
    timer.start();
    ButtonWait wait(60s, 1);

    QVERIFY(waitedForPress(wait, 30s));
    // Without the wake-up this would take the whole minute.
    QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(debugLog.lines(), (QStringList {"pressed", "1 III 1"}));
}

void tst_ButtonWait::noPressRunsToThePollLimit_data()
{
    QTest::addColumn<int>("intervalMs");
    QTest::addColumn<int>("pollLimit");
    // The product's limit; sleeps of no length keep the test short.
    QTest::newRow("product's limit") << 0 << ButtonWait::DefaultPollLimit;
    QTest::newRow("five sleeps") << 20 << 5;
    QTest::newRow("no poll at all") << 50 << 0;
}

void tst_ButtonWait::noPressRunsToThePollLimit()
{
    QFETCH(int, intervalMs);
    QFETCH(int, pollLimit);
    SdkTrace trace;
    DebugLog debugLog;
    ButtonWait wait(std::chrono::milliseconds(intervalMs), pollLimit);
    QElapsedTimer timer;
    timer.start();

    QVERIFY(!waitedForPress(wait));
    QVERIFY2(timer.elapsed() >= intervalMs * pollLimit, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(debugLog.lines(), QStringList {QString::number(pollLimit) + " III 0"});
    QCOMPARE(trace.lines(), registrationAroundWait);
}

void tst_ButtonWait::endedWaitIsNotPressed()
{
    SdkTrace trace;
    DebugLog debugLog;
    ButtonWait wait(100ms, 600);
    QSignalSpy finished(&wait, &ButtonWait::finished);
    wait.start();
    // The thread runs its events meanwhile.
    QTest::qWait(250);
    QVERIFY(finished.isEmpty());

    wait.end();
    QCOMPARE(finished.size(), 1);
    QCOMPARE(finished.first().first().toBool(), false);
    QCOMPARE(trace.lines(), registrationAroundWait);
    QCOMPARE(debugLog.lines(), QStringList {"3 III 0"});
    // A press after the end reaches no handler, and the next wait is not disturbed.
    I1Sim_SendDeviceEvent(1, 0);
    QTest::qWait(100);
    QCOMPARE(finished.size(), 1);
    I1Sim_Configure("I1SIM_PRESS_MS", "0");
    QVERIFY(waitedForPress(wait));
}

void tst_ButtonWait::pressesAsTheWaitEnds()
{
    // The SDK's thread presses about when the waiting thread ends the wait:
    // each wait finishes once, whichever comes first.
    ButtonWait wait(10ms, 1000);
    QSignalSpy finished(&wait, &ButtonWait::finished);
    for (int i = 1; i <= 20; ++i) {
        I1Sim_SendDeviceEvent(1, 20);
        wait.start();
        QTest::qWait(20);
        wait.end();
        QCOMPARE(finished.size(), i);
    }
}

void tst_ButtonWait::lateCallOfEndedWaitChangesNothing()
{
    // A faulty SDK calls the first wait's handler again while the second registers.
    I1Sim_Configure("I1SIM_FAULT", "late-event");
    I1Sim_Configure("I1SIM_PRESS_MS", "0");
    ButtonWait wait(10s);
    QVERIFY(waitedForPress(wait));
    I1Sim_Configure("I1SIM_PRESS_MS", "never");
    DebugLog debugLog;

    wait.setTiming(0ms, 3);
    QVERIFY(!waitedForPress(wait));
    QCOMPARE(debugLog.lines(), (QStringList {"pressed", "3 III 0"}));
    // A real press still counts after the late call.
    I1Sim_Configure("I1SIM_PRESS_MS", "0");
    wait.setTiming(10s, ButtonWait::DefaultPollLimit);
    QVERIFY(waitedForPress(wait));
}

QTEST_GUILESS_MAIN(tst_ButtonWait)
#include "tst_buttonwait.moc"
