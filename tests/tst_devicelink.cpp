#include "instrument/devicelink.h"
#include "instrument/simulator/i1sim.h"
#include "tests/support/debuglog.h"
#include "tests/support/sdktrace.h"

#include <QtTest>

class tst_DeviceLink : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void connectsToFirstListedInstrument_data();
    void connectsToFirstListedInstrument();
    void connectedAndIsConnectedAgree_data();
    void connectedAndIsConnectedAgree();
    void nullDeviceListCountsAsNoDevice();
    void reconnectDoesNotCloseHeldHandle();

    void disconnectClosesAndResets_data();
    void disconnectClosesAndResets();
    void optionQueriesAfterDisconnectUseClosedHandle();
    void isConnectedAfterDisconnectReopens();

    void deviceInfoText_data();
    void deviceInfoText();
    void getOptionPassesKeyAsUtf8_data();
    void getOptionPassesKeyAsUtf8();
};

void tst_DeviceLink::init()
{
    I1Sim_Reset();
    I1Sim_Configure("I1SIM_PRESS_MS", "never");
}

void tst_DeviceLink::connectsToFirstListedInstrument_data()
{
    QTest::addColumn<QByteArray>("devices");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QByteArrayList>("calls");
    QTest::addColumn<bool>("connected");

    QTest::newRow("none") << QByteArray("0") << QStringList {"No device connected"}
                          << QByteArrayList {"I1_CloseDevice null", "I1_GetDevices"} << false;
    QTest::newRow("one") << QByteArray("1") << QStringList {"Number of connected devices:  1"}
                         << QByteArrayList {"I1_CloseDevice null", "I1_GetDevices",
                                    "I1_OpenDevice dev1"}
                         << true;
    QTest::newRow("two") << QByteArray("2") << QStringList {"Number of connected devices:  2"}
                         << QByteArrayList {"I1_CloseDevice null", "I1_GetDevices",
                                    "I1_OpenDevice dev1"}
                         << true;
}

void tst_DeviceLink::connectsToFirstListedInstrument()
{
    QFETCH(QByteArray, devices);
    QFETCH(QStringList, log);
    QFETCH(QByteArrayList, calls);
    QFETCH(bool, connected);

    I1Sim_Configure("I1SIM_DEVICES", devices.constData());
    I1Sim_Configure("I1SIM_SERIAL", "A1");
    SdkTrace trace;
    DebugLog debugLog;

    DeviceLink link; // connects on construction
    QCOMPARE(debugLog.lines(), log);
    QCOMPARE(trace.lines(), calls);
    QCOMPARE(link.handle() != nullptr, connected);
    QCOMPARE(QByteArray(link.getDeviceID()), connected ? QByteArray("A1") : QByteArray());
}

void tst_DeviceLink::connectedAndIsConnectedAgree_data()
{
    QTest::addColumn<QByteArray>("devices");
    QTest::newRow("none") << QByteArray("0");
    QTest::newRow("one") << QByteArray("1");
    QTest::newRow("two") << QByteArray("2");
}

void tst_DeviceLink::connectedAndIsConnectedAgree()
{
    QFETCH(QByteArray, devices);
    I1Sim_Configure("I1SIM_DEVICES", devices.constData());
    DeviceLink link;
    const bool expected = devices != "0";

    DebugLog debugLog;
    QCOMPARE(link.Connected(), expected);
    QVERIFY(!debugLog.lines().contains("test is connected"));
    QCOMPARE(link.isConnected(), expected);
    QCOMPARE(debugLog.lines().count("test is connected"), 1);
    QCOMPARE(debugLog.lines().indexOf("test is connected"), 1);

    // Unplugging is noticed by the next connect.
    I1Sim_Configure("I1SIM_DEVICES", "0");
    QVERIFY(!link.Connected());
    QVERIFY(!link.isConnected());
    QCOMPARE(link.handle(), nullptr);
}

void tst_DeviceLink::nullDeviceListCountsAsNoDevice()
{
    I1Sim_Configure("I1SIM_DEVICES", "2");
    I1Sim_Configure("I1SIM_FAULT", "null-list");
    SdkTrace trace;
    DebugLog debugLog;

    DeviceLink link;
    QCOMPARE(link.handle(), nullptr);
    QVERIFY(!link.isConnected());
    QCOMPARE(debugLog.lines(),
            (QStringList {"No device connected", "test is connected", "No device connected"}));
    QVERIFY(!trace.lines().contains("I1_OpenDevice dev1"));
}

void tst_DeviceLink::reconnectDoesNotCloseHeldHandle()
{
    DeviceLink link;
    SdkTrace trace;
    QVERIFY(link.Connected());
    // Holding a handle, connect closes nothing and opens the first device again.
    QCOMPARE(trace.lines(), (QByteArrayList {"I1_GetDevices", "I1_OpenDevice dev1"}));
}

void tst_DeviceLink::disconnectClosesAndResets_data()
{
    QTest::addColumn<QByteArray>("devices");
    QTest::addColumn<QStringList>("log");
    QTest::addColumn<QByteArrayList>("calls");

    QTest::newRow("no instrument")
            << QByteArray("0") << QStringList {"No device connected", "Disconnect"}
            << QByteArrayList {"I1_CloseDevice null", "I1_GetDevices",
                       "I1_SetGlobalOption \"Reset\" \"All\""};
    QTest::newRow("one instrument")
            << QByteArray("1") << QStringList {"Number of connected devices:  1", "Disconnect"}
            << QByteArrayList {"I1_GetDevices", "I1_OpenDevice dev1", "I1_CloseDevice dev1",
                       "I1_SetGlobalOption \"Reset\" \"All\""};
}

void tst_DeviceLink::disconnectClosesAndResets()
{
    QFETCH(QByteArray, devices);
    QFETCH(QStringList, log);
    QFETCH(QByteArrayList, calls);

    I1Sim_Configure("I1SIM_DEVICES", devices.constData());
    DeviceLink link;
    SdkTrace trace;
    DebugLog debugLog;

    QVERIFY(link.Disconnect());
    QCOMPARE(debugLog.lines(), log);
    QCOMPARE(trace.lines(), calls);
}

void tst_DeviceLink::optionQueriesAfterDisconnectUseClosedHandle()
{
    DeviceLink link;
    const I1_DeviceHandle opened = link.handle();
    link.Disconnect();
    SdkTrace trace;

    QCOMPARE(link.handle(), opened);
    QCOMPARE(link.getDeviceID(), nullptr); // the simulator answers a closed handle with null
    QCOMPARE(link.getOption("LastError"), nullptr);
    QCOMPARE(trace.lines(),
            (QByteArrayList {
                    "I1_GetOptionD dev1 \"SerialNumber\"", "I1_GetOptionD dev1 \"LastError\""}));
}

void tst_DeviceLink::isConnectedAfterDisconnectReopens()
{
    DeviceLink link;
    link.Disconnect();
    QVERIFY(link.isConnected());
    QCOMPARE(QByteArray(link.getDeviceID()), QByteArray("SIM0001"));
}

void tst_DeviceLink::deviceInfoText_data()
{
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("serial only") << QByteArray(
            "SerialNumber=1234567;MeasurementMode=;LastError=;AvailableMeasurementModes=")
                                 << QByteArray("\nSERIAL_NUMBER:               1234567"
                                               "\nMEASUREMENT_MODE:            "
                                               "\nLAST_ERROR:                  "
                                               "\nAVAILABLE_MEASUREMENT_MODES: ");
    QTest::newRow("all answered")
            << QByteArray(
                       "SerialNumber=SN 42;MeasurementMode=ReflectanceSpot;LastError=Lamp failure;"
                       "AvailableMeasurementModes=ReflectanceSpot, EmissionSpot")
            << QByteArray("\nSERIAL_NUMBER:               SN 42"
                          "\nMEASUREMENT_MODE:            ReflectanceSpot"
                          "\nLAST_ERROR:                  Lamp failure"
                          "\nAVAILABLE_MEASUREMENT_MODES: ReflectanceSpot, EmissionSpot");
    // A key without a value makes the SDK answer null: rendered as empty text.
    QTest::newRow("null answers") << QByteArray(
            "SerialNumber;MeasurementMode=M;LastError;AvailableMeasurementModes=A")
                                  << QByteArray("\nSERIAL_NUMBER:               "
                                                "\nMEASUREMENT_MODE:            M"
                                                "\nLAST_ERROR:                  "
                                                "\nAVAILABLE_MEASUREMENT_MODES: A");
}

void tst_DeviceLink::deviceInfoText()
{
    QFETCH(QByteArray, options);
    QFETCH(QByteArray, expected);

    I1Sim_Configure("I1SIM_OPTIONS", options.constData());
    DeviceLink link;
    SdkTrace trace;

    const QByteArray info = link.getDeviceInfo();
    QCOMPARE(info, expected);
    QCOMPARE(trace.lines().size(), 4);
    QVERIFY(trace.lines().first().endsWith("\"SerialNumber\""));
    QVERIFY(trace.lines().last().endsWith("\"AvailableMeasurementModes\""));
}

void tst_DeviceLink::getOptionPassesKeyAsUtf8_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("call");

    QTest::newRow("empty") << QString() << QByteArray("I1_GetOptionD dev1 \"\"");
    QTest::newRow("plain") << QStringLiteral("SerialNumber")
                           << QByteArray("I1_GetOptionD dev1 \"SerialNumber\"");
    QTest::newRow("untrimmed") << QStringLiteral(" LastError ")
                               << QByteArray("I1_GetOptionD dev1 \" LastError \"");
    QTest::newRow("non-ASCII") << QStringLiteral("Farbe\u00e4\u20ac")
                               << QByteArray("I1_GetOptionD dev1 \"Farbe\xc3\xa4\xe2\x82\xac\"");
}

void tst_DeviceLink::getOptionPassesKeyAsUtf8()
{
    QFETCH(QString, key);
    QFETCH(QByteArray, call);

    I1Sim_Configure("I1SIM_OPTIONS", "Farbe\xc3\xa4\xe2\x82\xac=rot");
    DeviceLink link;
    SdkTrace trace;
    const char *answer = link.getOption(key);
    QCOMPARE(trace.lines(), QByteArrayList {call});
    if (key.startsWith("Farbe"))
        QCOMPARE(QByteArray(answer), QByteArray("rot"));
}

QTEST_GUILESS_MAIN(tst_DeviceLink)
#include "tst_devicelink.moc"
