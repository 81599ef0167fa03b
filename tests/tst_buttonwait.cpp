#include "buttonwait.h"
#include "debuglog.h"
#include "i1sim.h"
#include "sdktrace.h"

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
    void noPressRunsToThePollLimit();
    void lateCallOfEndedWaitChangesNothing();
};

namespace {

const QByteArrayList registrationAroundWait {
        "I1_RegisterDeviceEventHandler handler", "I1_RegisterDeviceEventHandler null"};

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

    QVERIFY(ButtonWait(10s).waitForPress());
    QCOMPARE(debugLog.lines(), (QStringList {"pressed", "0 III 1"}));
    QCOMPARE(trace.lines(), registrationAroundWait);
}

void tst_ButtonWait::everyPressIsLoggedAndFlagStaysOne()
{
    I1Sim_Configure("I1SIM_PRESS_MS", "0,0,0");
    DebugLog debugLog;

    QVERIFY(ButtonWait(10s).waitForPress());
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

    QVERIFY(ButtonWait(100ms, 50).waitForPress());
    const QStringList lines = debugLog.lines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.first(), QStringLiteral("pressed"));
    // Had the early events counted, the wait would have ended after its first sleep.
    const QStringList waitLine = lines.last().split(' ');
    QCOMPARE(waitLine.mid(1), (QStringList {"III", "1"}));
    QVERIFY2(waitLine.first().toInt() >= 2, qPrintable(lines.last()));
}

void tst_ButtonWait::pressDuringLastSleepCounts()
{
    // Sleeps run from about 0, 200 and 400 ms; the press falls in the middle of the third.
    DebugLog debugLog;
    I1Sim_SendDeviceEvent(1, 500);

    QVERIFY(ButtonWait(200ms, 3).waitForPress());
    QCOMPARE(debugLog.lines(), (QStringList {"pressed", "3 III 1"}));
}

void tst_ButtonWait::pressEndsTheCurrentSleep()
{
    DebugLog debugLog;
    I1Sim_SendDeviceEvent(1, 100);
    QElapsedTimer timer;
    timer.start();

    QVERIFY(ButtonWait(60s, 1).waitForPress());
    // Without the wake-up this would take the whole minute.
    QVERIFY2(timer.elapsed() < 30000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(debugLog.lines(), (QStringList {"pressed", "1 III 1"}));
}

void tst_ButtonWait::noPressRunsToThePollLimit()
{
    SdkTrace trace;
    DebugLog debugLog;

    // The product's limit; sleeps of no length keep the test short.
    QVERIFY(!ButtonWait(0ms, ButtonWait::DefaultPollLimit).waitForPress());
    QCOMPARE(debugLog.lines(), QStringList {"108000 III 0"});
    QCOMPARE(trace.lines(), registrationAroundWait);
}

void tst_ButtonWait::lateCallOfEndedWaitChangesNothing()
{
    // A faulty SDK calls the first wait's handler again while the second registers.
    I1Sim_Configure("I1SIM_FAULT", "late-event");
    I1Sim_Configure("I1SIM_PRESS_MS", "0");
    QVERIFY(ButtonWait(10s).waitForPress());
    I1Sim_Configure("I1SIM_PRESS_MS", "never");
    DebugLog debugLog;

    QVERIFY(!ButtonWait(0ms, 3).waitForPress());
    QCOMPARE(debugLog.lines(), (QStringList {"pressed", "3 III 0"}));
    // A real press still counts after the late call.
    I1Sim_Configure("I1SIM_PRESS_MS", "0");
    QVERIFY(ButtonWait(10s).waitForPress());
}

QTEST_GUILESS_MAIN(tst_ButtonWait)
#include "tst_buttonwait.moc"
