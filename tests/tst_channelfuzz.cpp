#include "bridge/object.h"
#include "instrument/simulator/i1sim.h"
#include "tests/support/capturedoutput.h"
#include "tests/support/httptestserver.h"
#include "tests/support/messagegenerator.h"
#include "tests/support/recordingtransport.h"
#include "tests/support/urlopenrecorder.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QJsonArray>
#include <QMetaMethod>
#include <QRandomGenerator>
#include <QSettings>
#include <QTimer>
#include <QWebChannel>
#include <QtTest>

#include <atomic>
#include <cstdio>

namespace {

const QString bridgeName = QStringLiteral("vizEveDivuzaviz");

// Counts what the channel and the bridge log while the messages run, and keeps
// none of it: a hundred thousand bad messages make as many warnings.
class QuietLog
{
public:
    QuietLog() { s_previous = qInstallMessageHandler(&QuietLog::count); }
    ~QuietLog() { qInstallMessageHandler(s_previous); }

    static int warnings() { return s_warnings; }

private:
    static void count(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (type == QtWarningMsg || type == QtCriticalMsg)
            ++s_warnings;
        if (type == QtFatalMsg)
            s_previous(type, context, message);
    }

    static inline QtMessageHandler s_previous = nullptr;
    static inline std::atomic<int> s_warnings {0};
};

// Messages on standard output and standard error by which a report's request
// ends. Calibration progress ends without a line feed, so they may start mid-line.
int outcomeCount(const QByteArray &output)
{
    return output.count("Download of ") + output.count("Request was redirected.\n")
            + output.count("Could not open ") + output.count("Could not write ");
}

// In memory where the system offers it: every setIni and every save dialog
// flushes a settings file to disk, which would set the pace otherwise.
QString scratchTemplate()
{
    const QFileInfo memory(QStringLiteral("/dev/shm"));
    const QString folder
            = memory.isDir() && memory.isWritable() ? memory.filePath() : QDir::tempPath();
    return folder + QStringLiteral("/tst_channelfuzz-XXXXXX");
}

} // namespace

// The bridge on a real web channel, fed with a flood of generated messages
// that a broken or hostile page could send; the seed is printed and
// CHANNELFUZZ_SEED repeats a run. Downloads go to a local server that
// answers 404, and every file the page names lies in a scratch folder.
class tst_ChannelFuzz : public QObject
{
    Q_OBJECT

public:
    explicit tst_ChannelFuzz(Object *bridge)
        : m_bridge(bridge)
        , m_scratch(scratchTemplate())
    {
    }

private slots:
    void initTestCase();
    void cleanupTestCase();

    void badMessagesLeaveTheBridgeWorking();

private:
    MessageGenerator::Target target() const;
    void answerDialog(MessageGenerator &generator);
    void checkWellFormedCalls();

    Object *m_bridge;
    QTemporaryDir m_scratch;
    QString m_workingFolder;
    QString m_originalTemp;
    QString m_originalFolder;
    QWebChannel m_channel;
    RecordingTransport m_transport;
    HttpTestServer m_server;
    int m_answeredDialogs = 0;
};

void tst_ChannelFuzz::initTestCase()
{
    QVERIFY(m_scratch.isValid());
    QVERIFY(m_server.isListening());
    // Run as root: everything the page can name or have written stays in here.
    m_originalTemp = QDir::tempPath();
    m_originalFolder = QDir::currentPath();
    QVERIFY(QDir(m_scratch.path()).mkpath(QStringLiteral("work")));
    QVERIFY(QDir(m_scratch.path()).mkpath(QStringLiteral("temp")));
    QVERIFY(QDir(m_scratch.path()).mkpath(QStringLiteral("settings")));
    m_workingFolder = m_scratch.filePath(QStringLiteral("work"));
    QVERIFY(QDir::setCurrent(m_workingFolder));
    qputenv("TMPDIR", m_scratch.filePath(QStringLiteral("temp")).toLocal8Bit());
    QCOMPARE(QDir::tempPath(), m_scratch.filePath(QStringLiteral("temp")));
    // The bridge's store, and the one in which the save dialog keeps its state.
    for (const auto format : {QSettings::IniFormat, QSettings::NativeFormat})
        QSettings::setPath(
                format, QSettings::UserScope, m_scratch.filePath(QStringLiteral("settings")));

    I1Sim_Reset();
    I1Sim_Configure("I1SIM_PRESS_MS", "0"); // waits end at once
    I1Sim_Configure("I1SIM_SERIAL", "FUZZ-1");
    m_channel.registerObject(bridgeName, m_bridge);
    m_channel.connectTo(&m_transport);
}

void tst_ChannelFuzz::cleanupTestCase()
{
    QDir::setCurrent(m_originalFolder);
    qputenv("TMPDIR", m_originalTemp.toLocal8Bit());
}

MessageGenerator::Target tst_ChannelFuzz::target() const
{
    using Parameter = MessageGenerator::Parameter;
    MessageGenerator::Target target;
    target.objectName = bridgeName;
    const QMetaObject *meta = m_bridge->metaObject();
    target.methodOffset = meta->methodOffset();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        const QMetaMethod method = meta->method(i);
        MessageGenerator::Slot slot {QString::fromLatin1(method.name()), {}};
        const bool download
                = method.name().startsWith("doOpen") || method.name().startsWith("doDownload");
        // A download slot's last parameter (but the address) is openWhenDone.
        const int flag = download && method.parameterCount() > 1 ? method.parameterCount() - 1 : -1;
        for (int p = 0; p < method.parameterCount(); ++p) {
            if (p == flag)
                slot.parameters.append(Parameter::Flag);
            else if (download && p == 0)
                slot.parameters.append(Parameter::Url);
            else if (download && p == 1)
                slot.parameters.append(Parameter::FileName);
            else
                slot.parameters.append(Parameter::Text);
        }
        // Each save dialog takes a while to show and answer.
        if (method.name() == "doDownloadReport")
            slot.weight = 1;
        target.methods.append(slot);
    }
    const HttpTestServer &server = m_server;
    target.reportUrl = [&server](const QString &name) {
        // The name is all path: a "?" or "#" in it must not reach the server's query.
        QUrl url = server.url(QStringLiteral("/report.pdf?status=404"));
        url.setPath(QLatin1Char('/') + name + QStringLiteral(".pdf"), QUrl::DecodedMode);
        return url.toString(QUrl::FullyEncoded);
    };
    target.fileFolder = m_workingFolder;
    return target;
}

// Save dialogs are answered as soon as they show, most of them cancelled,
// the others with a name in the scratch folder.
void tst_ChannelFuzz::answerDialog(MessageGenerator &generator)
{
    auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!dialog)
        return;
    ++m_answeredDialogs;
    auto *fileDialog = qobject_cast<QFileDialog *>(dialog);
    if (fileDialog && generator.uniform(0, 3) == 0) {
        fileDialog->selectFile(generator.fileName());
        dialog->accept(); // the file dialog's own accept, as its Save button does
    } else {
        dialog->reject();
    }
}

void tst_ChannelFuzz::checkWellFormedCalls()
{
    const QMetaObject *meta = m_bridge->metaObject();
    const auto call = [&](const char *slot, const QJsonArray &arguments = {}) {
        const int index = meta->indexOfMethod(QMetaObject::normalizedSignature(slot));
        return m_transport.invoke(bridgeName, index, arguments);
    };
    QVERIFY(m_transport.initialize().contains(bridgeName));
    QCOMPARE(call("isConnected()"), QJsonValue(true));
    QCOMPARE(call("getDeviceID()"), QJsonValue("FUZZ-1"));
    QCOMPARE(call("getOption(QVariant)", {"MeasurementMode"}), QJsonValue("ReflectanceSpot"));
    QCOMPARE(call("setIni(QVariant,QVariant)", {"After", "fuzz"}), QJsonValue("ok"));
    QCOMPARE(call("getIni(QVariant)", {"After"}), QJsonValue("fuzz"));
    QCOMPARE(call("doCalibrate()"), QJsonValue("DONE"));
    QCOMPARE(call("doOneScan()"), QJsonValue("1.420000|1.380000|1.050000|0.910000"));
    m_transport.forgetSent();

    // A report still arrives and is saved where the page asked.
    CapturedOutput out(stdout);
    const QString fileName = m_scratch.filePath(QStringLiteral("after-fuzz.pdf"));
    const QUrl url = m_server.url(QStringLiteral("/after-fuzz.pdf?size=1000"));
    QCOMPARE(call("doDownloadSaveReport(QVariant,QVariant,QVariant)", {url.toString(), fileName, false}),
            QJsonValue(fileName));
    const QByteArray saved = "Download of " + url.toEncoded() + " succeeded (saved to "
            + fileName.toLocal8Bit() + ")\n";
    const bool arrived = QTest::qWaitFor([&] { return out.text().contains(saved); }, 30000);
    QVERIFY2(arrived, out.text().constData());
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), HttpTestServer::body(1000));
}

void tst_ChannelFuzz::badMessagesLeaveTheBridgeWorking()
{
    const quint64 seed = qEnvironmentVariableIsSet("CHANNELFUZZ_SEED")
            ? qgetenv("CHANNELFUZZ_SEED").toULongLong()
            : QRandomGenerator::system()->generate64();
    const int messageCount = qEnvironmentVariableIsSet("CHANNELFUZZ_MESSAGES")
            ? qEnvironmentVariableIntValue("CHANNELFUZZ_MESSAGES")
            : 100000;
    std::printf("Channel fuzz: seed %llu (CHANNELFUZZ_SEED=%llu repeats it)\n",
            static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed));
    std::fflush(stdout);

    MessageGenerator generator(seed, target());
    QTimer dialogAnswerer;
    dialogAnswerer.setInterval(0);
    connect(&dialogAnswerer, &QTimer::timeout, this, [&] { answerDialog(generator); });
    dialogAnswerer.start();
    UrlOpenRecorder opener;
    const QString settingsFile = QSettings(QSettings::IniFormat, QSettings::UserScope,
            QStringLiteral("Vantrel"), QStringLiteral("Mird"))
                                         .fileName();
    QVERIFY(settingsFile.startsWith(m_scratch.path()));

    int dropped = 0;
    int responses = 0;
    int outcomes = 0;
    QElapsedTimer timer;
    timer.start();
    {
        CapturedOutput out(stdout);
        CapturedOutput err(stderr);
        QuietLog log;
        for (int i = 1; i <= messageCount; ++i) {
            if (!m_transport.deliverText(generator.next().text))
                ++dropped;
            for (const QJsonObject &sent : m_transport.sent())
                responses += sent.value(QStringLiteral("type")).toInt() == 10;
            m_transport.forgetSent();
            if (i % 500 == 0) {
                QCoreApplication::processEvents(); // replies finish, the server answers
                QFile::remove(settingsFile); // keeps every setIni from rewriting a growing file
            }
        }
        QCoreApplication::processEvents();
        outcomes = outcomeCount(out.text() + err.text());
    }
    const qint64 elapsed = timer.elapsed();
    dialogAnswerer.stop();
    std::printf("Channel fuzz: %d messages in %lld ms, %d not JSON objects, %d answered, "
                "%d save dialogs, %d downloads ended meanwhile, %d warnings\n",
            messageCount, static_cast<long long>(elapsed), dropped, responses, m_answeredDialogs,
            outcomes, int(QuietLog::warnings()));
    std::fflush(stdout);

    checkWellFormedCalls();

    // Every name the page gave lies in the scratch folder, and none of them
    // appeared where a name that escaped it would have landed.
    const QStringList elsewhere {
            m_originalTemp, m_originalFolder, QDir::homePath(), QDir::rootPath()};
    QStringList outside;
    for (const QString &name : generator.fileNames()) {
        // The system ends a name at its first NUL.
        const QFileInfo file(name.left(name.indexOf(QChar(0))));
        if (!file.absoluteFilePath().startsWith(m_scratch.path() + QLatin1Char('/')))
            outside.append(name);
        for (const QString &folder : elsewhere) {
            if (QFileInfo::exists(QDir(folder).filePath(file.fileName())))
                outside.append(QDir(folder).filePath(file.fileName()));
        }
    }
    QVERIFY2(outside.isEmpty(), qPrintable(outside.join(QLatin1Char('\n'))));
}

int main(int argc, char *argv[])
{
    // As in the application, the bridge is made before the application
    // object and lives until the process ends, reachable to the end.
    static Object *const bridge = new Object;
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    tst_ChannelFuzz test(bridge);
    return QTest::qExec(&test, argc, argv);
}

#include "tst_channelfuzz.moc"
