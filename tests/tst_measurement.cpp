#include "capturedoutput.h"
#include "debuglog.h"
#include "devicelink.h"
#include "i1sim.h"
#include "sdktrace.h"

#include <QtTest>

#include <unistd.h>

using namespace std::chrono_literals;

// Calibration and density scans of the device link on the simulated SDK.
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
    const QByteArray answer = procedure();
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
    DeviceLink link;
    // The product's poll limit; sleeps of no length keep the test short.
    link.setButtonWaitTiming(0ms, ButtonWait::DefaultPollLimit);
    SdkTrace trace;
    DebugLog debugLog;

    const auto [actualAnswer, actualOutput]
            = withCapturedOutput([&] { return link.doCalibrate(); });
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
    DeviceLink link;
    if (disconnected)
        link.Disconnect();
    SdkTrace trace;
    DebugLog debugLog;

    const auto [actualAnswer, actualOutput]
            = withCapturedOutput([&] { return link.doCalibrateNow(); });
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
    DeviceLink link;
    link.setButtonWaitTiming(0ms, 3);
    SdkTrace trace;
    DebugLog debugLog;

    const auto [answer, output]
            = withCapturedOutput([&] { return waits ? link.doOneScan() : link.doOneScanNow(); });
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
    DeviceLink link;
    link.setButtonWaitTiming(0ms, 3);
    I1Sim_Configure("I1SIM_UNPLUG", unplug.constData());
    DebugLog debugLog;

    const auto [actualAnswer, actualOutput] = withCapturedOutput([&, procedure = procedure] {
        if (procedure == "doCalibrate")
            return link.doCalibrate();
        return procedure == "doOneScan" ? link.doOneScan() : link.doOneScanNow();
    });
    QCOMPARE(actualAnswer, answer);
    QCOMPARE(actualOutput, output);
    // The link finds the instrument gone at its next connect.
    QVERIFY(!link.isConnected());
    QVERIFY(debugLog.lines().endsWith("No device connected"));
}

void tst_Measurement::slowEnumeration()
{
    I1Sim_Configure("I1SIM_ENUMERATE_MS", "300");
    I1Sim_Configure("I1SIM_PRESS_MS", "0");
    QElapsedTimer timer;
    timer.start();
    DeviceLink link;
    QVERIFY(timer.elapsed() >= 300); // the fault is in effect
    DebugLog debugLog;

    const auto [answer, output] = withCapturedOutput([&] { return link.doCalibrate(); });
    QCOMPARE(answer, QByteArray("DONE"));
    QCOMPARE(debugLog.lines(),
            (QStringList {
                    "test is connected", "Number of connected devices:  1", "pressed", "0 III 1"}));
}

QTEST_GUILESS_MAIN(tst_Measurement)
#include "tst_measurement.moc"
