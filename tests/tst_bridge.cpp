#include "bridge/object.h"
#include "instrument/simulator/i1sim.h"
#include "settings/settingsstore.h"
#include "tests/support/capturedoutput.h"
#include "tests/support/debuglog.h"
#include "tests/support/filedialogs.h"
#include "tests/support/httptestserver.h"
#include "tests/support/instrumentanswer.h"
#include "tests/support/recordingtransport.h"
#include "tests/support/sdktrace.h"
#include "tests/support/urlopenrecorder.h"

#include <QApplication>
#include <QFileDialog>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMetaMethod>
#include <QPointer>
#include <QScopeGuard>
#include <QWebChannel>
#include <QtTest>

#include <sys/stat.h>

namespace {
const QString bridgeName = QStringLiteral("vizEveDivuzaviz");
}

// The object as the page sees it: its slot table, calls through a real web
// channel, and the settings slots on a store of the test's own.
class tst_Bridge : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void slotTable_data();
    void slotTable();
    void metaObjectHasOnlyTheSlots();

    void callsThroughChannel_data();
    void callsThroughChannel();
    void noInstrumentAnswersInBand();
    void deviceInfoIsLoggedAndReturned();
    void faultyOptionTexts_data();
    void faultyOptionTexts();
    void pageCannotDeleteTheObject_data();
    void pageCannotDeleteTheObject();
    void anyValueAsText_data();
    void anyValueAsText();

    void settingsRoundTrip_data();
    void settingsRoundTrip();
    void absentSettingIsKO();
    void setIniIsSeenByFreshStore();
    void handWrittenCommasReadAsWritten_data();
    void handWrittenCommasReadAsWritten();
    void damagedStoreGivesDefaults_data();
    void damagedStoreGivesDefaults();
    void settingsWrittenByQt5_data();
    void settingsWrittenByQt5();

    void downloadSlotsTakeUrlTextTolerantly();

private:
    int methodIndex(const char *name) const;

    QTemporaryDir m_settingsFolder;
    QWebChannel m_channel;
    RecordingTransport m_transport;
    Object *m_bridge = nullptr;
};

void tst_Bridge::initTestCase()
{
    QVERIFY(m_settingsFolder.isValid());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_settingsFolder.path());
    I1Sim_Reset();
    // As in the application: created once, never deleted (and reachable to
    // the end, for the leak check).
    static Object *const bridge = new Object;
    m_bridge = bridge;
    m_channel.registerObject(bridgeName, m_bridge);
    m_channel.connectTo(&m_transport);
}

void tst_Bridge::init()
{
    I1Sim_Reset();
    QFile::remove(SettingsStore()->fileName());
}

int tst_Bridge::methodIndex(const char *name) const
{
    const QMetaObject *meta = m_bridge->metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        if (meta->method(i).name() == name)
            return i;
    }
    return -1;
}

void tst_Bridge::slotTable_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("signature");
    QTest::addColumn<QByteArray>("returnType");

    // The instrument slots answer in their turn: on Qt 6 the answer or a
    // future of it.
    const bool answeredLater = QT_VERSION >= QT_VERSION_CHECK(6, 0, 0);
    const QByteArray flag = answeredLater ? "QVariant" : "bool";
    const QByteArray text = answeredLater ? "QVariant" : "QString";
    const QList<std::tuple<QByteArray, QByteArray>> table = {
            {"isConnected()", flag},
            {"Connected()", flag},
            {"Disconnect()", flag},
            {"getDeviceID()", text},
            {"getDeviceInfo()", text},
            {"getOption(QVariant)", text},
            {"getIni(QVariant)", "QString"},
            {"setIni(QVariant,QVariant)", "QString"},
            {"doCalibrate()", text},
            {"doCalibrateNow()", text},
            {"doOneScan()", text},
            {"doOneScanNow()", text},
            {"doOpen(QVariant)", "QString"},
            {"doDownloadReport(QVariant,QVariant)", "QString"},
            {"doDownloadSaveReport(QVariant,QVariant,QVariant)", "QString"},
    };
    for (int i = 0; i < table.size(); ++i) {
        const auto &[signature, type] = table.at(i);
        QTest::newRow(signature.constData()) << i << signature << type;
    }
}

void tst_Bridge::slotTable()
{
    QFETCH(int, index);
    QFETCH(QByteArray, signature);
    QFETCH(QByteArray, returnType);

    const QMetaObject *meta = m_bridge->metaObject();
    const QMetaMethod method = meta->method(meta->methodOffset() + index);
    QCOMPARE(method.methodSignature(), signature);
    QCOMPARE(method.methodType(), QMetaMethod::Slot);
    QCOMPARE(method.access(), QMetaMethod::Public);
    QCOMPARE(QByteArray(method.typeName()), returnType);
    for (const QByteArray &name : method.parameterNames())
        QVERIFY(name.isEmpty());

    // The page finds the slot by name under the same index.
    const QJsonArray methods = m_transport.initialize()
                                       .value(bridgeName)
                                       .toObject()
                                       .value(QStringLiteral("methods"))
                                       .toArray();
    const QString name = QString::fromLatin1(method.name());
    const auto entry = std::find_if(methods.begin(), methods.end(),
            [&](const QJsonValue &value) { return value.toArray().at(0).toString() == name; });
    QVERIFY(entry != methods.end());
    QCOMPARE(entry->toArray().at(1).toInt(), meta->methodOffset() + index);
}

void tst_Bridge::metaObjectHasOnlyTheSlots()
{
    const QMetaObject *meta = m_bridge->metaObject();
    QCOMPARE(meta->className(), "Object");
    QCOMPARE(meta->superClass(), &QObject::staticMetaObject);
    QCOMPARE(meta->methodCount() - meta->methodOffset(), 15);
    QCOMPARE(meta->propertyCount(), meta->propertyOffset());
    QCOMPARE(meta->classInfoCount(), 0);
    QCOMPARE(meta->constructorCount(), 0);
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i)
        QCOMPARE(meta->method(i).methodType(), QMetaMethod::Slot);
    QCOMPARE(m_bridge->qt_metacast("Object"), static_cast<void *>(m_bridge));
}

void tst_Bridge::callsThroughChannel_data()
{
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QJsonArray>("arguments");
    QTest::addColumn<QJsonValue>("answer");

    QTest::newRow("isConnected") << QByteArray("isConnected") << QJsonArray() << QJsonValue(true);
    QTest::newRow("Connected") << QByteArray("Connected") << QJsonArray() << QJsonValue(true);
    QTest::newRow("Disconnect") << QByteArray("Disconnect") << QJsonArray() << QJsonValue(true);
    QTest::newRow("getDeviceID") << QByteArray("getDeviceID") << QJsonArray() << QJsonValue("SN-7");
    QTest::newRow("getOption") << QByteArray("getOption") << QJsonArray {"MeasurementMode"}
                               << QJsonValue("ReflectanceSpot");
    QTest::newRow("getOption UTF-8 answer")
            << QByteArray("getOption") << QJsonArray {"Note"} << QJsonValue("Gr\u00fcn \u20ac");
    QTest::newRow("getOption unknown key")
            << QByteArray("getOption") << QJsonArray {"Nope"} << QJsonValue("");
    QTest::newRow("getIni absent")
            << QByteArray("getIni") << QJsonArray {"Absent"} << QJsonValue("KO");
    QTest::newRow("setIni") << QByteArray("setIni") << QJsonArray {"Key", "Value"}
                            << QJsonValue("ok");
    // qwebchannel.js passes JSON numbers and booleans as they are; the channel
    // converts them to the slot's text parameters.
    QTest::newRow("setIni number")
            << QByteArray("setIni") << QJsonArray {"Key", 42} << QJsonValue("ok");
    QTest::newRow("getIni number key")
            << QByteArray("getIni") << QJsonArray {7} << QJsonValue("KO");
    QTest::newRow("doOneScanNow") << QByteArray("doOneScanNow") << QJsonArray()
                                  << QJsonValue("1.420000|1.380000|1.050000|0.910000");
}

void tst_Bridge::callsThroughChannel()
{
    QFETCH(QByteArray, slot);
    QFETCH(QJsonArray, arguments);
    QFETCH(QJsonValue, answer);

    I1Sim_Configure("I1SIM_SERIAL", "SN-7");
    I1Sim_Configure("I1SIM_OPTIONS", "Note=Gr\xc3\xbcn \xe2\x82\xac");
    QVERIFY(answerOf<bool>(m_bridge->Connected()));

    QCOMPARE(m_transport.invoke(bridgeName, methodIndex(slot.constData()), arguments), answer);
}

void tst_Bridge::noInstrumentAnswersInBand()
{
    I1Sim_Configure("I1SIM_DEVICES", "0");
    const auto call = [this](const char *slot, const QJsonArray &arguments = {}) {
        return m_transport.invoke(bridgeName, methodIndex(slot), arguments);
    };
    QCOMPARE(call("isConnected"), QJsonValue(false));
    QCOMPARE(call("Connected"), QJsonValue(false));
    QCOMPARE(call("getDeviceID"), QJsonValue(""));
    QCOMPARE(call("getOption", {"SerialNumber"}), QJsonValue(""));
    QCOMPARE(call("Disconnect"), QJsonValue(true));
}

void tst_Bridge::deviceInfoIsLoggedAndReturned()
{
    I1Sim_Configure("I1SIM_OPTIONS",
            "SerialNumber=1234567;MeasurementMode=;LastError=;"
            "AvailableMeasurementModes=");
    QVERIFY(answerOf<bool>(m_bridge->Connected()));
    SdkTrace trace;
    DebugLog debugLog;

    const QString info = answerOf<QString>(m_bridge->getDeviceInfo());
    QCOMPARE(info.size(), 127);
    QVERIFY(info.startsWith("\nSERIAL_NUMBER:               1234567\n"));
    QVERIFY(info.endsWith("\nAVAILABLE_MEASUREMENT_MODES: "));
    QCOMPARE(debugLog.lines(), QStringList {"OK: " + info});
    QCOMPARE(trace.lines().size(), 8); // built once for the log, once for the page
}

void tst_Bridge::faultyOptionTexts_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QByteArray>("slot");
    QTest::addColumn<QJsonArray>("arguments");
    // The answer without its replacement characters, and whether it has any.
    QTest::addColumn<QString>("readable");
    QTest::addColumn<bool>("replaced");

    const auto huge
            = [](const QString &text) { return text.leftJustified(1 << 20, QLatin1Char('.')); };
    const QString info = QStringLiteral("\nSERIAL_NUMBER:               %1"
                                        "\nMEASUREMENT_MODE:            %2"
                                        "\nLAST_ERROR:                  %3"
                                        "\nAVAILABLE_MEASUREMENT_MODES: %4");
    const QString modes = "EmissionSpot;ReflectanceSpot;ReflectanceScan;AmbientLightSpot";

    QTest::newRow("serial, not UTF-8") << QByteArray("invalid-utf8") << QByteArray("getDeviceID")
                                       << QJsonArray() << "SN-7" << true;
    QTest::newRow("option, not UTF-8")
            << QByteArray("invalid-utf8") << QByteArray("getOption")
            << QJsonArray {"MeasurementMode"} << "ReflectanceSpot" << true;
    QTest::newRow("device info, not UTF-8")
            << QByteArray("invalid-utf8") << QByteArray("getDeviceInfo") << QJsonArray()
            << info.arg("SN-7", "ReflectanceSpot", "", modes) << true;
    QTest::newRow("serial, 1 MiB") << QByteArray("huge-text") << QByteArray("getDeviceID")
                                   << QJsonArray() << huge("SN-7") << false;
    QTest::newRow("option, 1 MiB, not UTF-8")
            << QByteArray("huge-text,invalid-utf8") << QByteArray("getOption")
            << QJsonArray {"LastError"} << huge("") << true;
    QTest::newRow("device info, 1 MiB")
            << QByteArray("huge-text") << QByteArray("getDeviceInfo") << QJsonArray()
            << info.arg(huge("SN-7"), huge("ReflectanceSpot"), huge(""), huge(modes)) << false;
}

void tst_Bridge::faultyOptionTexts()
{
    QFETCH(QByteArray, fault);
    QFETCH(QByteArray, slot);
    QFETCH(QJsonArray, arguments);
    QFETCH(QString, readable);
    QFETCH(bool, replaced);

    I1Sim_Configure("I1SIM_SERIAL", "SN-7");
    I1Sim_Configure("I1SIM_FAULT", fault.constData());
    QVERIFY(answerOf<bool>(m_bridge->Connected()));
    DebugLog debugLog; // keeps the device info's megabytes off the console

    const QJsonValue answer
            = m_transport.invoke(bridgeName, methodIndex(slot.constData()), arguments);
    QVERIFY(answer.isString());
    QString text = answer.toString();
    QVERIFY(text.isValidUtf16());
    const int replacements = text.count(QChar::ReplacementCharacter);
    QCOMPARE(replacements > 0, replaced);
    QCOMPARE(text.remove(QChar::ReplacementCharacter), readable);
}

void tst_Bridge::pageCannotDeleteTheObject_data()
{
    QTest::addColumn<QJsonValue>("method");

    const int deleteLater = QObject::staticMetaObject.indexOfMethod("deleteLater()");
    QTest::newRow("deleteLater by name") << QJsonValue("deleteLater");
    QTest::newRow("deleteLater by index") << QJsonValue(deleteLater);
}

void tst_Bridge::pageCannotDeleteTheObject()
{
    QFETCH(QJsonValue, method);

    const QPointer<Object> bridge = m_bridge;
    m_transport.request({{"type", 6}, {"object", bridgeName}, {"method", method},
            {"args", QJsonArray()}});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(bridge);
    QCOMPARE(m_transport.invoke(bridgeName, methodIndex("getIni"), {"Absent"}), QJsonValue("KO"));
}

// Whatever JSON the page passes for a text, the slot gets a text: a number or
// a boolean spelt out, anything else empty. (QtWebChannel 6.5 and later pass
// an argument they cannot convert as it is, which a text parameter would read
// as a string.)
void tst_Bridge::anyValueAsText_data()
{
    QTest::addColumn<QJsonArray>("arguments");
    QTest::addColumn<QString>("stored");

    const QJsonObject reference {{"__QObject*__", true}, {"id", bridgeName}};
    QTest::newRow("text") << QJsonArray {"Kind", "text"} << "text";
    QTest::newRow("integer") << QJsonArray {"Kind", 12} << "12";
    QTest::newRow("fraction") << QJsonArray {"Kind", 1.5} << "1.5";
    QTest::newRow("boolean") << QJsonArray {"Kind", true} << "true";
    QTest::newRow("null") << QJsonArray {"Kind", QJsonValue::Null} << "";
    QTest::newRow("array") << QJsonArray {"Kind", QJsonArray {1, 2}} << "";
    QTest::newRow("object") << QJsonArray {"Kind", QJsonObject {{"a", 1}}} << "";
    QTest::newRow("the object itself") << QJsonArray {"Kind", reference} << "";
}

void tst_Bridge::anyValueAsText()
{
    QFETCH(QJsonArray, arguments);
    QFETCH(QString, stored);

    QCOMPARE(m_transport.invoke(bridgeName, methodIndex("setIni"), arguments), QJsonValue("ok"));
    QCOMPARE(m_transport.invoke(bridgeName, methodIndex("getIni"), {"Kind"}), QJsonValue(stored));
}

void tst_Bridge::settingsRoundTrip_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("plain") << "Server"
                           << "http://127.0.0.1:8080/";
    QTest::newRow("group key") << "Group/Name"
                               << "grouped";
    QTest::newRow("non-ASCII") << QStringLiteral("Stra\u00dfe")
                               << QStringLiteral("\u00c4rger \u20ac");
    QTest::newRow("empty value") << "Empty"
                                 << "";
    QTest::newRow("spaces and separators") << "Spaced key"
                                           << " a;b=c, d ";
}

void tst_Bridge::settingsRoundTrip()
{
    QFETCH(QString, key);
    QFETCH(QString, value);

    QCOMPARE(m_bridge->setIni(key, value), QStringLiteral("ok"));
    QCOMPARE(m_bridge->getIni(key), value);
    QVERIFY(QFile::exists(SettingsStore()->fileName()));
    QVERIFY(SettingsStore()->fileName().startsWith(m_settingsFolder.path()));
}

void tst_Bridge::absentSettingIsKO()
{
    QCOMPARE(m_bridge->getIni(QStringLiteral("NeverWritten")), QStringLiteral("KO"));
    QTest::ignoreMessage(QtWarningMsg, "QSettings::setValue: Empty key passed");
    QCOMPARE(m_bridge->setIni(QString(), QStringLiteral("ignored")), QStringLiteral("ok"));
    QVERIFY(!QFile::exists(SettingsStore()->fileName()));
}

void tst_Bridge::setIniIsSeenByFreshStore()
{
    m_bridge->setIni(QStringLiteral("Hello"), QStringLiteral("Again"));
    QCOMPARE(SettingsStore()->value(QStringLiteral("Hello")).toString(), QStringLiteral("Again"));
    SettingsStore()->setValue(QStringLiteral("Hello"), QStringLiteral("World"));
    QCOMPARE(m_bridge->getIni(QStringLiteral("Hello")), QStringLiteral("World"));
}

void tst_Bridge::handWrittenCommasReadAsWritten_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("value");

    QTest::newRow("address with commas")
            << QByteArray("Server=https://host/app?a=1,2") << "https://host/app?a=1,2";
    QTest::newRow("as QSettings writes it back")
            << QByteArray("Server=\"https://host/app?a=1\", 2") << "https://host/app?a=1,2";
    QTest::newRow("trailing comma") << QByteArray("Server=a,") << "a,";
    QTest::newRow("quoted") << QByteArray("Server=\"a, b\"") << "a, b";
}

// A person edits the file by hand and does not quote values with commas.
void tst_Bridge::handWrittenCommasReadAsWritten()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, value);

    QFile file(SettingsStore()->fileName());
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[General]\n" + line + "\n");
    file.close();
    QCOMPARE(m_bridge->getIni(QStringLiteral("Server")), value);
}

void tst_Bridge::damagedStoreGivesDefaults_data()
{
    QTest::addColumn<QString>("damage");

    // Root reads any file whatever its mode, so what cannot be read here is
    // what is not a file, or a name that leads nowhere.
    QTest::newRow("binary garbage") << "garbage";
    QTest::newRow("folder") << "folder";
    QTest::newRow("pipe") << "pipe";
    QTest::newRow("link to itself") << "loop";
}

void tst_Bridge::damagedStoreGivesDefaults()
{
    QFETCH(QString, damage);
    const QString fileName = SettingsStore()->fileName();
    QVERIFY(QDir().mkpath(QFileInfo(fileName).path()));
    const auto repair = qScopeGuard([&] {
        QDir(fileName).removeRecursively();
        QFile::remove(fileName);
    });
    if (damage == "garbage") {
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::WriteOnly));
        for (int byte = 0; byte < 4096; ++byte)
            file.putChar(char(byte * 37 % 256));
    } else if (damage == "folder") {
        QVERIFY(QDir().mkdir(fileName));
    } else if (damage == "pipe") {
        QCOMPARE(mkfifo(QFile::encodeName(fileName).constData(), 0600), 0);
    } else {
        QVERIFY(QFile::link(fileName, fileName));
    }

    QCOMPARE(m_bridge->getIni(QStringLiteral("Hello")), QStringLiteral("KO"));
    QCOMPARE(m_bridge->getIni(QStringLiteral("Server")), QStringLiteral("KO"));
    QCOMPARE(m_bridge->setIni(QStringLiteral("Hello"), QStringLiteral("World")),
            QStringLiteral("ok"));
}

// A store that the Qt 5 build wrote (non-ASCII as escapes) reads the same in
// every build, also after a start has written it back (Qt 6 writes UTF-8).
void tst_Bridge::settingsWrittenByQt5_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("Latin-1 key and value")
            << QStringLiteral("Gr\u00fc\u00dfe") << QStringLiteral("Gr\u00f6\u00dfe \u00bd \u20ac");
    QTest::newRow("CJK key and value")
            << QStringLiteral("\u540d\u524d") << QStringLiteral("\u5024");
    QTest::newRow("grouped key") << QStringLiteral("Labor/K\u00f6ln")
                                 << QStringLiteral("\u00c4rger");
    QTest::newRow("beyond the BMP") << "Face" << QStringLiteral("\U0001F600");
    QTest::newRow("start-up key") << "appName" << QStringLiteral("Mird L\u00e4bor");
    QTest::newRow("quoted value")
            << "Server"
            << QStringLiteral("https://mird.vantrel.example/vantrelmird/login?lab=K\u00f6ln");
}

void tst_Bridge::settingsWrittenByQt5()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    const QString fileName = SettingsStore()->fileName();
    QDir().mkpath(QFileInfo(fileName).path());
    QVERIFY(QFile::copy(QFINDTESTDATA("data/written-by-qt5.ini"), fileName));

    QCOMPARE(m_bridge->getIni(key), value);
    m_bridge->setIni(QStringLiteral("Hello"), QStringLiteral("World")); // as every start does
    QCOMPARE(m_bridge->getIni(key), value);
}

// As the page passes them, the download slots take the address as text,
// parsed tolerantly.
void tst_Bridge::downloadSlotsTakeUrlTextTolerantly()
{
    HttpTestServer server;
    QTemporaryDir folder;
    QTemporaryDir temporaryLocation;
    const QByteArray earlierTemporary = qgetenv("TMPDIR");
    const auto restore = qScopeGuard([&] { qputenv("TMPDIR", earlierTemporary); });
    qputenv("TMPDIR", QFile::encodeName(temporaryLocation.path()));
    const QByteArray serverAddress = server.url(QString()).toEncoded();
    const QString given = folder.filePath("given.pdf");
    // Spaces are not allowed in a URL; tolerant parsing escapes them.
    const QString urlText = serverAddress + "/annual report.pdf?size=100";
    const QByteArray encodedUrl = serverAddress + "/annual%20report.pdf?size=100";
    const QString temporary = temporaryLocation.path() + "/annual report.pdf";
    UrlOpenRecorder opener;
    DebugLog debugLog;
    CapturedOutput out(stdout);
    CapturedOutput err(stderr);
    QTimer driver;
    FileDialogs::answerNext(driver, [](QFileDialog *dialog) { dialog->reject(); });

    Object bridge;
    QString opened;
    QString saved;
    QString picked = "not answered";
    // As the page passes them: a text, a text and a boolean.
    const QVariant url = urlText;
    QVERIFY(QMetaObject::invokeMethod(
            &bridge, "doOpen", Q_RETURN_ARG(QString, opened), Q_ARG(QVariant, url)));
    QVERIFY(QMetaObject::invokeMethod(&bridge, "doDownloadSaveReport", Q_RETURN_ARG(QString, saved),
            Q_ARG(QVariant, url), Q_ARG(QVariant, QVariant(given)), Q_ARG(QVariant, QVariant(false))));
    QVERIFY(QMetaObject::invokeMethod(&bridge, "doDownloadReport", Q_RETURN_ARG(QString, picked),
            Q_ARG(QVariant, url), Q_ARG(QVariant, QVariant(true))));
    QCOMPARE(opened, temporary);
    QCOMPARE(saved, given);
    QCOMPARE(picked, QString());

    QVERIFY(CapturedOutput::waitForLines(out, err, 2));
    QCOMPARE(err.text(), QByteArray());
    const QByteArrayList lines = out.text().split('\n');
    QVERIFY(lines.contains(
            "Download of " + encodedUrl + " succeeded (saved to " + temporary.toLocal8Bit() + ")"));
    QVERIFY(lines.contains(
            "Download of " + encodedUrl + " succeeded (saved to " + given.toLocal8Bit() + ")"));
    QCOMPARE(opener.urls(), QList<QUrl> {QUrl::fromLocalFile(temporary)});
}

int main(int argc, char *argv[])
{
    // The save dialog has to be Qt's own to be driven, also where a
    // desktop's platform theme would offer a native one.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    tst_Bridge test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_bridge.moc"
