#include "instrument/simulator/i1sim.h"
#include "tests/support/sdktrace.h"

#include <QtTest>

#include <atomic>
#include <cmath>
#include <thread>

// The simulated SDK has to behave like a device library: opaque handles,
// failures for null and closed handles, stable answer texts, events from a
// thread of its own and none after unregistering.
class tst_Simulator : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void traceNamesEveryCall();
    void nullAndClosedHandlesFail_data();
    void nullAndClosedHandlesFail();
    void answerTextsStayValidUntilAskedAgain();
    void setOptionsAreAnsweredUntilReset();
    void serialNumbersFollowListOrder();
    void densitiesFromConfiguration_data();
    void densitiesFromConfiguration();
    void failingCalibrationSetsLastError();

    void eventsComeFromOwnThread();
    void immediatePressArrivesBeforeRegistrationReturns();
    void noEventAfterUnregistering();
    void unregisteringWaitsForCallInFlight();
    void pressListChangedWhileRegisteredReplacesPresses();

    void valuesAreCheckedOnBothPaths_data();
    void valuesAreCheckedOnBothPaths();
    void anotherProcessLeavesTheControlSocketAlone();

private:
    I1_DeviceHandle openFirst();
};

namespace {
// Runs i1simctl against this process's own simulator; its exit code.
int simctl(const QStringList &arguments, QByteArray *output = nullptr)
{
    QProcess process;
    process.start(QStringLiteral(I1SIMCTL), arguments);
    if (!process.waitForFinished(10000))
        return -1;
    if (output)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The value that i1simctl status shows for the variable.
QByteArray shownValue(const QByteArray &variable)
{
    QByteArray status;
    simctl({QStringLiteral("status")}, &status);
    for (const QByteArray &line : status.split('\n')) {
        if (line.startsWith(variable + '='))
            return line.mid(variable.size() + 1);
    }
    return "(not shown)";
}
} // namespace

namespace {
struct EventLog
{
    std::atomic<int> calls {0};
    std::atomic<int> lastCode {0};
    std::atomic<bool> onCallerThread {false};
    std::thread::id callerThread = std::this_thread::get_id();
};

void recordEvent(I1_DeviceHandle, int32_t code, void *context)
{
    auto *log = static_cast<EventLog *>(context);
    log->onCallerThread = log->onCallerThread || std::this_thread::get_id() == log->callerThread;
    log->lastCode = code;
    ++log->calls;
}
} // namespace

void tst_Simulator::init()
{
    I1Sim_Reset();
    I1Sim_Configure("I1SIM_PRESS_MS", "never");
}

I1_DeviceHandle tst_Simulator::openFirst()
{
    I1_DeviceHandle *devices = nullptr;
    uint32_t count = 0;
    I1_GetDevices(&devices, &count);
    if (!devices || count == 0)
        return nullptr;
    I1_OpenDevice(devices[0]);
    return devices[0];
}

void tst_Simulator::traceNamesEveryCall()
{
    SdkTrace trace;
    I1_CloseDevice(nullptr);
    const I1_DeviceHandle device = openFirst();
    float densities[4];
    int32_t index = 0;
    I1_GetOptionD(device, "SerialNumber");
    I1_SetOption(device, "MeasurementMode", "ReflectanceSpot");
    I1_Calibrate(device);
    I1_TriggerMeasurement(device);
    I1_GetDensities(device, densities, &index, 0);
    I1_RegisterDeviceEventHandler(recordEvent, nullptr);
    I1_RegisterDeviceEventHandler(nullptr, nullptr);
    I1_SetGlobalOption("Reset", "All");

    QCOMPARE(trace.lines(),
            (QByteArrayList {
                    "I1_CloseDevice null",
                    "I1_GetDevices",
                    "I1_OpenDevice dev1",
                    "I1_GetOptionD dev1 \"SerialNumber\"",
                    "I1_SetOption dev1 \"MeasurementMode\" \"ReflectanceSpot\"",
                    "I1_Calibrate dev1",
                    "I1_TriggerMeasurement dev1",
                    "I1_GetDensities dev1 0",
                    "I1_RegisterDeviceEventHandler handler",
                    "I1_RegisterDeviceEventHandler null",
                    "I1_SetGlobalOption \"Reset\" \"All\"",
            }));
}

void tst_Simulator::nullAndClosedHandlesFail_data()
{
    QTest::addColumn<bool>("closeFirst");
    QTest::newRow("null handle") << false;
    QTest::newRow("closed handle") << true;
}

void tst_Simulator::nullAndClosedHandlesFail()
{
    QFETCH(bool, closeFirst);
    I1_DeviceHandle device = nullptr;
    if (closeFirst) {
        device = openFirst();
        I1_TriggerMeasurement(device);
        QCOMPARE(I1_CloseDevice(device), 0);
    }

    float densities[4] = {-7, -7, -7, -7};
    int32_t index = -7;
    QCOMPARE(I1_GetOptionD(device, "SerialNumber"), nullptr);
    QVERIFY(I1_SetOption(device, "MeasurementMode", "ReflectanceSpot") != 0);
    QVERIFY(I1_Calibrate(device) != 0);
    QVERIFY(I1_TriggerMeasurement(device) != 0);
    QVERIFY(I1_GetDensities(device, densities, &index, 0) != 0);
    QVERIFY(I1_CloseDevice(device) != 0);
    for (float density : densities)
        QCOMPARE(density, -7.0f);
    QCOMPARE(index, -7);
}

void tst_Simulator::answerTextsStayValidUntilAskedAgain()
{
    I1Sim_Configure("I1SIM_SERIAL", "S-123");
    const I1_DeviceHandle device = openFirst();
    const char *serial = I1_GetOptionD(device, "SerialNumber");
    I1_GetOptionD(device, "MeasurementMode");
    I1_SetOption(device, "LastError", "changed meanwhile");
    I1_GetOptionD(device, "LastError");
    QCOMPARE(serial, "S-123");
    QCOMPARE(I1_GetOptionD(device, "NoSuchKey"), nullptr);
}

void tst_Simulator::setOptionsAreAnsweredUntilReset()
{
    I1Sim_Configure("I1SIM_OPTIONS", "MeasurementMode=EmissionSpot;LastError");
    I1_DeviceHandle device = openFirst();
    QCOMPARE(I1_GetOptionD(device, "MeasurementMode"), "EmissionSpot");
    QCOMPARE(I1_GetOptionD(device, "LastError"), nullptr);
    QCOMPARE(I1_SetOption(device, "MeasurementMode", "ReflectanceSpot"), 0);
    QCOMPARE(I1_SetOption(device, "Colorimetric.WhiteBase", "Absolute"), 0);
    QCOMPARE(I1_GetOptionD(device, "MeasurementMode"), "ReflectanceSpot");
    QCOMPARE(I1_GetOptionD(device, "Colorimetric.WhiteBase"), "Absolute");

    I1_SetGlobalOption("Reset", "All");
    QCOMPARE(I1_GetOptionD(device, "MeasurementMode"), nullptr); // closed by the reset
    device = openFirst();
    QCOMPARE(I1_GetOptionD(device, "MeasurementMode"), "EmissionSpot");
    QCOMPARE(I1_GetOptionD(device, "Colorimetric.WhiteBase"), nullptr);
}

void tst_Simulator::serialNumbersFollowListOrder()
{
    I1Sim_Configure("I1SIM_DEVICES", "3");
    I1Sim_Configure("I1SIM_SERIAL", "AB");
    I1_DeviceHandle *devices = nullptr;
    uint32_t count = 0;
    I1_GetDevices(&devices, &count);
    QCOMPARE(count, 3u);
    QByteArrayList serials;
    for (uint32_t i = 0; i < count; ++i) {
        I1_OpenDevice(devices[i]);
        serials << I1_GetOptionD(devices[i], "SerialNumber");
    }
    QCOMPARE(serials, (QByteArrayList {"AB", "AB-2", "AB-3"}));

    // Unplugged instruments fail like closed ones.
    const I1_DeviceHandle third = devices[2];
    I1Sim_Configure("I1SIM_DEVICES", "2");
    QCOMPARE(I1_GetOptionD(third, "SerialNumber"), nullptr);
}

void tst_Simulator::densitiesFromConfiguration_data()
{
    QTest::addColumn<QByteArray>("setting");
    QTest::addColumn<QList<float>>("expected");

    QTest::newRow("plain") << QByteArray("0.1,1.25,0,2") << QList<float> {0.1f, 1.25f, 0, 2};
    QTest::newRow("signs and exponents")
            << QByteArray("-0.05,1e3,-2.5e-1,3") << QList<float> {-0.05f, 1000, -0.25f, 3};
    QTest::newRow("not numbers") << QByteArray("nan,inf,-inf,1")
                                 << QList<float> {NAN, INFINITY, -INFINITY, 1};
    QTest::newRow("too few keeps defaults")
            << QByteArray("1,2,3") << QList<float> {1.42f, 1.38f, 1.05f, 0.91f};
    QTest::newRow("decimal comma keeps defaults")
            << QByteArray("0,5;1;2;3") << QList<float> {1.42f, 1.38f, 1.05f, 0.91f};
}

void tst_Simulator::densitiesFromConfiguration()
{
    QFETCH(QByteArray, setting);
    QFETCH(QList<float>, expected);

    I1Sim_Configure("I1SIM_DENSITIES", setting.constData());
    const I1_DeviceHandle device = openFirst();
    float densities[4] = {};
    int32_t index = 0;
    QVERIFY(I1_GetDensities(device, densities, &index, 0) != 0); // nothing measured yet
    QCOMPARE(I1_TriggerMeasurement(device), 0);
    QCOMPARE(I1_GetDensities(device, densities, &index, 0), 0);
    for (int i = 0; i < 4; ++i) {
        if (std::isnan(expected.at(i)))
            QVERIFY(std::isnan(densities[i]));
        else
            QCOMPARE(densities[i], expected.at(i));
    }
}

void tst_Simulator::failingCalibrationSetsLastError()
{
    const I1_DeviceHandle device = openFirst();
    QCOMPARE(I1_Calibrate(device), 0);
    QCOMPARE(I1_GetOptionD(device, "LastError"), "");

    I1Sim_Configure("I1SIM_CALIBRATE", "fail");
    QVERIFY(I1_Calibrate(device) != 0);
    QVERIFY(qstrlen(I1_GetOptionD(device, "LastError")) > 0);

    I1Sim_Configure("I1SIM_OPTIONS", "LastError=Lamp failure");
    QVERIFY(I1_Calibrate(device) != 0);
    QCOMPARE(I1_GetOptionD(device, "LastError"), "Lamp failure");
}

void tst_Simulator::eventsComeFromOwnThread()
{
    EventLog log;
    I1Sim_Configure("I1SIM_PRESS_MS", "20");
    I1_RegisterDeviceEventHandler(recordEvent, &log);
    I1Sim_SendDeviceEvent(7, 0);
    QTRY_COMPARE(log.calls.load(), 2);
    I1_RegisterDeviceEventHandler(nullptr, nullptr);
    QCOMPARE(log.lastCode.load(), 1); // the automatic press came after code 7
    QVERIFY(!log.onCallerThread);
}

void tst_Simulator::immediatePressArrivesBeforeRegistrationReturns()
{
    EventLog log;
    I1Sim_Configure("I1SIM_PRESS_MS", "0");
    I1_RegisterDeviceEventHandler(recordEvent, &log);
    QCOMPARE(log.calls.load(), 1);
    I1_RegisterDeviceEventHandler(nullptr, nullptr);
    QVERIFY(!log.onCallerThread);
}

void tst_Simulator::noEventAfterUnregistering()
{
    EventLog log;
    I1Sim_Configure("I1SIM_PRESS_MS", "30");
    I1_RegisterDeviceEventHandler(recordEvent, &log);
    I1Sim_SendDeviceEvent(1, 60);
    I1_RegisterDeviceEventHandler(nullptr, nullptr);
    const int callsAtUnregister = log.calls.load();
    QTest::qWait(150); // both events fall due meanwhile
    QCOMPARE(log.calls.load(), callsAtUnregister);
    QCOMPARE(callsAtUnregister, 0);
}

namespace {
struct SlowHandler
{
    std::atomic<bool> entered {false};
    std::atomic<bool> finished {false};
};

void handleSlowly(I1_DeviceHandle, int32_t, void *context)
{
    auto *handler = static_cast<SlowHandler *>(context);
    handler->entered = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    handler->finished = true;
}
} // namespace

void tst_Simulator::unregisteringWaitsForCallInFlight()
{
    SlowHandler handler;
    I1Sim_Configure("I1SIM_PRESS_MS", "1");
    I1_RegisterDeviceEventHandler(handleSlowly, &handler);
    QTRY_VERIFY(handler.entered.load());
    I1_RegisterDeviceEventHandler(nullptr, nullptr);
    QVERIFY(handler.finished.load()); // the context may be freed from here on
}

void tst_Simulator::pressListChangedWhileRegisteredReplacesPresses()
{
    // What a person does during a wait: "the user presses after a while", then
    // "the user never presses" before that press came.
    EventLog log;
    I1_RegisterDeviceEventHandler(recordEvent, &log);
    I1Sim_Configure("I1SIM_PRESS_MS", "20");
    QTRY_COMPARE(log.calls.load(), 1);
    I1Sim_Configure("I1SIM_PRESS_MS", "400");
    I1Sim_Configure("I1SIM_PRESS_MS", "never");
    QTest::qWait(600); // the dropped press falls due meanwhile
    I1_RegisterDeviceEventHandler(nullptr, nullptr);
    QCOMPARE(log.calls.load(), 1);
}

void tst_Simulator::valuesAreCheckedOnBothPaths_data()
{
    QTest::addColumn<QByteArray>("variable");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("taken"); // as status shows it; empty when refused

    QTest::newRow("count") << QByteArray("I1SIM_DEVICES") << QByteArray("64") << QByteArray("64");
    QTest::newRow("too many") << QByteArray("I1SIM_DEVICES") << QByteArray("65") << QByteArray();
    QTest::newRow("negative count") << QByteArray("I1SIM_DEVICES") << QByteArray("-1") << QByteArray();
    QTest::newRow("spaced count") << QByteArray("I1SIM_DEVICES") << QByteArray(" 2") << QByteArray();
    QTest::newRow("empty count") << QByteArray("I1SIM_DEVICES") << QByteArray("") << QByteArray();
    QTest::newRow("densities") << QByteArray("I1SIM_DENSITIES") << QByteArray("0.1,-2,1e3,inf")
                               << QByteArray("0.1,-2,1000,inf");
    QTest::newRow("five densities")
            << QByteArray("I1SIM_DENSITIES") << QByteArray("1,2,3,4,5") << QByteArray();
    QTest::newRow("empty density")
            << QByteArray("I1SIM_DENSITIES") << QByteArray("1,,3,4") << QByteArray();
    QTest::newRow("press list") << QByteArray("I1SIM_PRESS_MS") << QByteArray("0,250")
                                << QByteArray("0,250");
    QTest::newRow("empty press") << QByteArray("I1SIM_PRESS_MS") << QByteArray("1,,2") << QByteArray();
    QTest::newRow("no press list") << QByteArray("I1SIM_PRESS_MS") << QByteArray("") << QByteArray();
    QTest::newRow("failing calibration")
            << QByteArray("I1SIM_CALIBRATE") << QByteArray("fail") << QByteArray("fail");
    QTest::newRow("calibration in capitals")
            << QByteArray("I1SIM_CALIBRATE") << QByteArray("FAIL") << QByteArray();
    QTest::newRow("fault") << QByteArray("I1SIM_FAULT") << QByteArray("null-list")
                           << QByteArray("null-list");
    QTest::newRow("unknown fault") << QByteArray("I1SIM_FAULT") << QByteArray("crash") << QByteArray();
    QTest::newRow("options in key order")
            << QByteArray("I1SIM_OPTIONS") << QByteArray("B=x=y;;A") << QByteArray("A;B=x=y");
}

void tst_Simulator::valuesAreCheckedOnBothPaths()
{
    QFETCH(QByteArray, variable);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, taken);
    I1Sim_Reset();
    const QByteArray defaultValue = shownValue(variable);

    // The environment's path: a refused value leaves the default.
    I1Sim_Configure("I1SIM_DEVICES", "7");
    I1Sim_Configure("I1SIM_CALIBRATE", "fail");
    I1Sim_Configure(variable.constData(), value.constData());
    const QByteArray afterConfigure = shownValue(variable);
    I1Sim_Reset();
    QCOMPARE(afterConfigure, taken.isEmpty() ? defaultValue : taken);

    // The control path: a refused value changes nothing, not even to the default.
    QByteArray before;
    QCOMPARE(simctl({"set", "I1SIM_DEVICES", "7"}), 0);
    QCOMPARE(simctl({"set", "I1SIM_CALIBRATE", "fail"}), 0);
    QCOMPARE(simctl({"status"}, &before), 0);
    const int code = simctl({"set", QString::fromLatin1(variable), QString::fromLatin1(value)});
    QByteArray after;
    simctl({"status"}, &after);
    if (taken.isEmpty()) {
        QCOMPARE(code, 2);
        QCOMPARE(after, before);
    } else {
        QCOMPARE(code, 0);
        QCOMPARE(shownValue(variable), taken);
    }
}

void tst_Simulator::anotherProcessLeavesTheControlSocketAlone()
{
    QCOMPARE(simctl({"set", "I1SIM_SERIAL", "MINE"}), 0);
    // A second process that loads the simulator in this session and ends normally.
    QProcess second;
    second.start(QCoreApplication::applicationFilePath(), {QStringLiteral("-functions")});
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(second.readAllStandardError(), QByteArray());
    QCOMPARE(shownValue("I1SIM_SERIAL"), QByteArray("MINE"));
}

QTEST_GUILESS_MAIN(tst_Simulator)
#include "tst_simulator.moc"
