#include "bridge/object.h"
#include "instrument/simulator/i1sim.h"
#include "tests/support/capturedoutput.h"
#include "tests/support/debuglog.h"
#include "tests/support/instrumentanswer.h"
#include "tests/support/sdktrace.h"

#include <QtTest>

#include <unistd.h>

using namespace std::chrono_literals;

// Calibration and density scans through the bridge's instrument slots, on
// the simulated SDK: their answers, output and SDK calls, and the order of
// calls made while one waits for the button.
class tst_Measurement : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void calibrate_data();
    void calibrate();
    void calibrateNow_data();
    void calibrateNow();
    void scan_data();
    void scan();
    void unpluggedInstrument_data();
    void unpluggedInstrument();
    void slowEnumeration();
    void callsDuringAWaitRunAfterIt();
    void abandonedWaitEndsItsCalls_data();
    void abandonedWaitEndsItsCalls();
};

namespace {

const QByteArray registered = "I1_RegisterDeviceEventHandler handler";
const QByteArray unregistered = "I1_RegisterDeviceEventHandler null";

QByteArrayList calibrationCalls(const QByteArray &device, bool failing)
{
    QByteArrayList calls {
            "I1_SetOption " + device + " \"MeasurementMode\" \"ReflectanceSpot\"",
            "I1_SetOption " + device + " \"Colorimetric.DensityFilterMode\" \"Auto\"",
            "I1_SetOption " + device + " \"Colorimetric.WhiteBase\" \"Absolute\"",
            "I1_GetOptionD " + device + " \"MeasurementMode\"",
            "I1_Calibrate " + device,
    };
    if (failing)
        calls << "I1_GetOptionD " + device + " \"LastError\"";
    return calls;
}

// Runs the procedure with standard output captured; answers its result and
// what reached the output's file by the time it returned, without flushing
// the C stream: text still sitting in stdio's buffer does not count. The
// capture ends before the caller compares, so failures stay visible.
template<typename Procedure>
std::pair<QByteArray, QByteArray> withCapturedOutput(Procedure procedure)
{
    CapturedOutput standardOutput(stdout);
    const QByteArray answer = answerOf<QString>(procedure()).toUtf8();
    QByteArray written(4096, Qt::Uninitialized);
    const ssize_t size = pread(fileno(stdout), written.data(), size_t(written.size()), 0);
    written.resize(int(std::max<ssize_t>(size, 0)));
    return {answer, written};
}

} // namespace

void tst_Measurement::init()
{
    I1Sim_Reset();
    I1Sim_Configure("I1SIM_PRESS_MS", "never");
}

void tst_Measurement::calibrate_data()
{
    QTest::addColumn<QByteArray>("devices");
    QTest::addColumn<QByteArray>("press");
    QTest::addColumn<QByteArray>("calibration");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QByteArrayList>("calls");

    const QByteArrayList connect {"I1_GetDevices", "I1_OpenDevice dev1"};
    const QStringList connectLog {"test is connected", "Number of connected devices:  1"};

    QTest::newRow("pressed, calibrated")
            << QByteArray("1") << QByteArray("0") << QByteArray() << QByteArray("DONE")
            << QByteArray("Calibrating 'ReflectanceSpot' ...")
            << connectLog + QStringList {"pressed", "0 III 1"}
            << connect + QByteArrayList {registered, unregistered}
                    + calibrationCalls("dev1", false);
    QTest::newRow("pressed, calibration fails")
            << QByteArray("1") << QByteArray("0") << QByteArray("fail") << QByteArray("ERROR")
            << QByteArray("Calibrating 'ReflectanceSpot' ...\n"
                          " FAIL (last error: White reference not recognised)")
            << connectLog + QStringList {"pressed", "0 III 1"}
            << connect + QByteArrayList {registered, unregistered} + calibrationCalls("dev1", true);
    QTest::newRow("not pressed") << QByteArray("1") << QByteArray("never") << QByteArray()
                                 << QByteArray("NOT_PRESSED") << QByteArray()
                                 << connectLog + QStringList {"108000 III 0"}
                                 << connect + QByteArrayList {registered, unregistered};
    QTest::newRow("no instrument")
            << QByteArray("0") << QByteArray("0") << QByteArray() << QByteArray("NOT_CONNECTED")
            << QByteArray() << QStringList {"test is connected", "No device connected"}
            << QByteArrayList {"I1_CloseDevice null", "I1_GetDevices"};
}

void tst_Measurement::calibrate()
{
    QFETCH(QByteArray, devices);
    QFETCH(QByteArray, press);
    QFETCH(QByteArray, calibration);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, output);
    QFETCH(QStringList, log);
    QFETCH(QByteArrayList, calls);

    I1Sim_Configure("I1SIM_DEVICES", devices.constData());
    I1Sim_Configure("I1SIM_PRESS_MS", press.constData());
    I1Sim_Configure("I1SIM_CALIBRATE", calibration.constData());
    Object bridge;
    // The product's poll limit; sleeps of no length keep the test short.
    bridge.setButtonWaitTiming(0ms, ButtonWait::DefaultPollLimit);
    SdkTrace trace;
    DebugLog debugLog;

    const auto [actualAnswer, actualOutput]
            = withCapturedOutput([&] { return bridge.doCalibrate(); });
    QCOMPARE(actualAnswer, answer);
    QCOMPARE(actualOutput, output);
    QCOMPARE(debugLog.lines(), log);
    QCOMPARE(trace.lines(), calls);
}

void tst_Measurement::calibrateNow_data()
{
    QTest::addColumn<QByteArray>("devices");
    QTest::addColumn<bool>("disconnected");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArrayList>("calls");

    QTest::newRow("held instrument")
            << QByteArray("1") << false << QByteArray("DONE")
            << QByteArray("Calibrating 'ReflectanceSpot' ...") << calibrationCalls("dev1", false);
    // The SDK answers null texts for a closed or missing device; they print as empty text.
    QTest::newRow("after Disconnect") << QByteArray("1") << true << QByteArray("ERROR")
                                      << QByteArray("Calibrating '' ...\n FAIL (last error: )")
                                      << calibrationCalls("dev1", true);
    QTest::newRow("no instrument") << QByteArray("0") << false << QByteArray("ERROR")
                                   << QByteArray("Calibrating '' ...\n FAIL (last error: )")
                                   << calibrationCalls("null", true);
}

void tst_Measurement::calibrateNow()
{
    QFETCH(QByteArray, devices);
    QFETCH(bool, disconnected);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, output);
    QFETCH(QByteArrayList, calls);

    I1Sim_Configure("I1SIM_DEVICES", devices.constData());
    I1Sim_Configure("I1SIM_PRESS_MS", "0"); // a press would be logged if it waited
    Object bridge;
    if (disconnected)
        answerOf<bool>(bridge.Disconnect());
    SdkTrace trace;
    DebugLog debugLog;

    const auto [actualAnswer, actualOutput]
            = withCapturedOutput([&] { return bridge.doCalibrateNow(); });
    QCOMPARE(actualAnswer, answer);
    QCOMPARE(actualOutput, output);
    QCOMPARE(debugLog.lines(), QStringList {"Calibrating"});
    QCOMPARE(trace.lines(), calls);
}

void tst_Measurement::scan_data()
{
    QTest::addColumn<QByteArray>("devices");
    QTest::addColumn<QByteArray>("press");
    QTest::addColumn<bool>("waits");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QByteArrayList>("calls");

    const QByteArray zeros = "0.000000|0.000000|0.000000|0.000000";
    const QByteArrayList measure {"I1_TriggerMeasurement dev1", "I1_GetDensities dev1 0"};
    const QByteArrayList waitAndMeasure = QByteArrayList {registered, unregistered} + measure;

    QTest::newRow("now") << QByteArray("1") << QByteArray("0") << false
                         << QByteArray("0.100000|-0.050000|0.000000|2.000000") << QStringList()
                         << measure;
    QTest::newRow("after a press") << QByteArray("1") << QByteArray("0") << true
                                   << QByteArray("0.100000|-0.050000|0.000000|2.000000")
                                   << QStringList {"pressed", "0 III 1"} << waitAndMeasure;
    QTest::newRow("after a time-out") << QByteArray("1") << QByteArray("never") << true
                                      << QByteArray("0.100000|-0.050000|0.000000|2.000000")
                                      << QStringList {"3 III 0"} << waitAndMeasure;
    QTest::newRow("now, no instrument")
            << QByteArray("0") << QByteArray("0") << false << zeros << QStringList()
            << QByteArrayList {"I1_TriggerMeasurement null", "I1_GetDensities null 0"};
}

void tst_Measurement::scan()
{
    QFETCH(QByteArray, devices);
    QFETCH(QByteArray, press);
    QFETCH(bool, waits);
    QFETCH(QByteArray, line);
    QFETCH(QStringList, log);
    QFETCH(QByteArrayList, calls);

    I1Sim_Configure("I1SIM_DEVICES", devices.constData());
    I1Sim_Configure("I1SIM_PRESS_MS", press.constData());
    I1Sim_Configure("I1SIM_DENSITIES", "0.1,-0.05,0,2");
    Object bridge;
    bridge.setButtonWaitTiming(0ms, 3);
    SdkTrace trace;
    DebugLog debugLog;

    const auto [answer, output] = withCapturedOutput(
            [&] { return waits ? bridge.doOneScan() : bridge.doOneScanNow(); });
    QCOMPARE(answer, line);
    QCOMPARE(debugLog.lines(), log);
    QCOMPARE(trace.lines(), calls);
    QCOMPARE(output, QByteArray());
}

void tst_Measurement::unpluggedInstrument_data()
{
    QTest::addColumn<QByteArray>("unplug");
    QTest::addColumn<QByteArray>("press");
    QTest::addColumn<QByteArray>("procedure");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QByteArray>("output");

    const QByteArray zeros = "0.000000|0.000000|0.000000|0.000000";
    // The instrument's texts are gone by the time calibration asks for them.
    QTest::newRow("calibrate, unplugged while waiting, pressed")
            << QByteArray("wait") << QByteArray("0") << QByteArray("doCalibrate")
            << QByteArray("ERROR") << QByteArray("Calibrating '' ...\n FAIL (last error: )");
    QTest::newRow("calibrate, unplugged while waiting, not pressed")
            << QByteArray("wait") << QByteArray("never") << QByteArray("doCalibrate")
            << QByteArray("NOT_PRESSED") << QByteArray();
    QTest::newRow("scan, unplugged while waiting")
            << QByteArray("wait") << QByteArray("0") << QByteArray("doOneScan") << zeros
            << QByteArray();
    QTest::newRow("scan, unplugged after the trigger")
            << QByteArray("scan") << QByteArray("0") << QByteArray("doOneScan") << zeros
            << QByteArray();
    QTest::newRow("scan now, unplugged after the trigger")
            << QByteArray("scan") << QByteArray("never") << QByteArray("doOneScanNow") << zeros
            << QByteArray();
}

void tst_Measurement::unpluggedInstrument()
{
    QFETCH(QByteArray, unplug);
    QFETCH(QByteArray, press);
    QFETCH(QByteArray, procedure);
    QFETCH(QByteArray, answer);
    QFETCH(QByteArray, output);

    I1Sim_Configure("I1SIM_PRESS_MS", press.constData());
    Object bridge;
    bridge.setButtonWaitTiming(0ms, 3);
    I1Sim_Configure("I1SIM_UNPLUG", unplug.constData());
    DebugLog debugLog;

    const auto [actualAnswer, actualOutput] = withCapturedOutput([&, procedure = procedure] {
        if (procedure == "doCalibrate")
            return bridge.doCalibrate();
        return procedure == "doOneScan" ? bridge.doOneScan() : bridge.doOneScanNow();
    });
    QCOMPARE(actualAnswer, answer);
    QCOMPARE(actualOutput, output);
    // The link finds the instrument gone at its next connect.
    QVERIFY(!answerOf<bool>(bridge.isConnected()));
    QVERIFY(debugLog.lines().endsWith("No device connected"));
}

void tst_Measurement::slowEnumeration()
{
    I1Sim_Configure("I1SIM_ENUMERATE_MS", "300");
    I1Sim_Configure("I1SIM_PRESS_MS", "0");
    QElapsedTimer timer;
    timer.start();
    Object bridge;
    QVERIFY(timer.elapsed() >= 300); // the fault is in effect
    DebugLog debugLog;

    const auto [answer, output] = withCapturedOutput([&] { return bridge.doCalibrate(); });
    QCOMPARE(answer, QByteArray("DONE"));
    QCOMPARE(debugLog.lines(),
            (QStringList {
                    "test is connected", "Number of connected devices:  1", "pressed", "0 III 1"}));
}

void tst_Measurement::callsDuringAWaitRunAfterIt()
{
    I1Sim_SendDeviceEvent(1, 300);
    Object bridge;
    SdkTrace trace;
    QStringList answered; // in the order the answers came
    const auto record = [&answered](const char *slot) {
        return [&answered, slot](const auto &answer) {
            answered << QLatin1String(slot) + ' ' + QVariant(answer).toString();
        };
    };
    // Made while the calibration waits, none waiting for the one before, as a page may.
    QTimer::singleShot(100, this, [&] {
        answered << "getIni " + bridge.getIni(QStringLiteral("Absent"));
        whenAnswered<QString>(bridge.getDeviceID(), this, record("getDeviceID"));
        whenAnswered<QString>(bridge.doOneScanNow(), this, record("doOneScanNow"));
    });

    whenAnswered<QString>(bridge.doCalibrate(), this, record("doCalibrate"));
    QTRY_COMPARE(answered.size(), 4);
    // The instrument sees the calls in the order they were made, nothing
    // between registering the handler and unregistering it.
    const QByteArrayList afterIt {"I1_GetOptionD dev1 \"SerialNumber\"",
            "I1_TriggerMeasurement dev1", "I1_GetDensities dev1 0"};
    QCOMPARE(trace.lines(),
            QByteArrayList({"I1_GetDevices", "I1_OpenDevice dev1", registered, unregistered})
                    + calibrationCalls("dev1", false) + afterIt);
    const QString scan = "doOneScanNow 1.420000|1.380000|1.050000|0.910000";
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // The settings answer during the wait; the instrument calls after it.
    QCOMPARE(answered,
            (QStringList {"getIni KO", "doCalibrate DONE", "getDeviceID SIM0001", scan}));
#else
    // A call made inside the waiting slot returns first, and the slot around it last.
    QCOMPARE(answered,
            (QStringList {"getIni KO", "getDeviceID SIM0001", scan, "doCalibrate DONE"}));
#endif
}

void tst_Measurement::abandonedWaitEndsItsCalls_data()
{
    QTest::addColumn<QByteArray>("procedure");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArrayList>("calls");
    QTest::newRow("calibration is not pressed")
            << QByteArray("doCalibrate") << QStringLiteral("NOT_PRESSED")
            << QByteArrayList {"I1_GetDevices", "I1_OpenDevice dev1", registered, unregistered};
    QTest::newRow("scan measures nothing")
            << QByteArray("doOneScan") << QString() << QByteArrayList {registered, unregistered};
}

void tst_Measurement::abandonedWaitEndsItsCalls()
{
    QFETCH(QByteArray, procedure);
    QFETCH(QString, answer);
    QFETCH(QByteArrayList, calls);
    Object bridge;
    SdkTrace trace;
    DebugLog debugLog;
    QString queuedAnswer = QStringLiteral("not answered");
    QTimer::singleShot(100, this, [&] {
        whenAnswered<QString>(bridge.getDeviceID(), this, [&](const QString &id) { queuedAnswer = id; });
    });
    QTimer::singleShot(200, this, [&] { bridge.abandonInstrumentCalls(); });

    QCOMPARE(answerOf<QString>(procedure == "doCalibrate" ? bridge.doCalibrate() : bridge.doOneScan()),
            answer);
    QTRY_COMPARE(queuedAnswer, QString()); // dropped
    QCOMPARE(trace.lines(), calls);
    QVERIFY2(debugLog.lines().last().endsWith(" III 0"), qPrintable(debugLog.lines().last()));
    // The next call has its turn at once.
    QCOMPARE(answerOf<QString>(bridge.getDeviceID()), QStringLiteral("SIM0001"));
}

QTEST_GUILESS_MAIN(tst_Measurement)
#include "tst_measurement.moc"
