#include "app/desktop/commandline.h"
#include "app/desktop/version.h"

#include <QTextStream>
#include <QtTest>

// What the command line starts, answers or refuses, as a person or a desktop
// may write it.
class tst_CommandLine : public QObject
{
    Q_OBJECT

private slots:
    void starts_data();
    void starts();
    void answers_data();
    void answers();
};

namespace {
// An empty beginning stands for no text at all.
bool opensWith(const QString &text, const QString &beginning)
{
    return beginning.isEmpty() ? text.isEmpty() : text.startsWith(beginning);
}

const QString runsOn = QStringLiteral("Qt 6.8.2, QtWebEngine 6.8.2, Chromium 122.0.6261.171");

QStringList withProgram(QStringList arguments)
{
    arguments.prepend(QStringLiteral("vantrelnut"));
    return arguments;
}
} // namespace

void tst_CommandLine::starts_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("verbose");

    QTest::newRow("none") << QStringList() << false;
    QTest::newRow("Qt's options") << QStringList {"-platform", "xcb", "-style", "Fusion",
            "-reverse"} << false;
    QTest::newRow("Qt's options, two dashes and =")
            << QStringList {"--style=Fusion", "-qwindowtitle", "Mird", "-session", "1a2b_3c"}
            << false;
    QTest::newRow("X11 options") << QStringList {"-display", ":1", "-geometry", "800x600+0+0",
            "-nograb"} << false;
    QTest::newRow("engine switches") << QStringList {"-style", "Fusion", "--webEngineArgs",
            "--no-sandbox", "--remote-debugging-port=9222", "anything"}
                                     << false;
    QTest::newRow("separator in any case")
            << QStringList {"--webengineargs", "--disable-gpu"} << false;
    QTest::newRow("after the separator nothing is ours")
            << QStringList {"--webEngineArgs", "--help", "--verbose"} << false;
    QTest::newRow("verbose") << QStringList {"--verbose"} << true;
    QTest::newRow("verbose beside Qt's options") << QStringList {"-style", "Fusion", "--verbose",
            "--webEngineArgs", "--disable-gpu"} << true;
}

void tst_CommandLine::starts()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, verbose);
    const CommandLine commandLine(withProgram(arguments));
    QVERIFY(commandLine.startsApplication());
    QCOMPARE(commandLine.isVerbose(), verbose);
}

void tst_CommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("error");

    const QString usage = QStringLiteral("Usage: ");
    const QString version = QStringLiteral("vantrelnut " VANTRELNUT_VERSION "\n") + runsOn + '\n';
    const QString nothing;
    QTest::newRow("help") << QStringList {"--help"} << 0 << usage << nothing;
    QTest::newRow("help, short") << QStringList {"-h"} << 0 << usage << nothing;
    QTest::newRow("help beside Qt's options")
            << QStringList {"-style", "Fusion", "--help"} << 0 << usage << nothing;
    QTest::newRow("help beside verbose")
            << QStringList {"--verbose", "-h"} << 0 << usage << nothing;
    QTest::newRow("version") << QStringList {"--version"} << 0 << version << nothing;
    QTest::newRow("version, short") << QStringList {"-v"} << 0 << version << nothing;
    QTest::newRow("unknown option")
            << QStringList {"--frobnicate"} << 1 << nothing
            << QStringLiteral("vantrelnut: Unknown option 'frobnicate'.\n\nUsage: ");
    QTest::newRow("unknown beside help") << QStringList {"--help",
            "-x"} << 1 << nothing << QStringLiteral("vantrelnut: Unknown option 'x'.\n\nUsage: ");
    QTest::newRow("engine switch without the separator")
            << QStringList {"--no-sandbox"} << 1 << nothing
            << QStringLiteral("vantrelnut: Unknown option 'no-sandbox'.\n\nUsage: ");
    QTest::newRow("Qt's option without its value")
            << QStringList {"-platform"} << 1 << nothing
            << QStringLiteral("vantrelnut: Missing value after '-platform'.\n\nUsage: ");
    QTest::newRow("an argument")
            << QStringList {"report.pdf"} << 1 << nothing
            << QStringLiteral("vantrelnut: Unexpected argument 'report.pdf'.\n\nUsage: ");
    QTest::newRow("verbose takes no value")
            << QStringList {"--verbose=2"} << 1 << nothing
            << QStringLiteral("vantrelnut: Unexpected value after '--verbose'.\n\nUsage: ");
}

void tst_CommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, error);

    const CommandLine commandLine(withProgram(arguments));
    QVERIFY(!commandLine.startsApplication());
    QString written;
    QString errors;
    QTextStream out(&written);
    QTextStream errorStream(&errors);
    QCOMPARE(commandLine.answer(out, errorStream, runsOn), exitCode);
    out.flush();
    errorStream.flush();
    QVERIFY2(opensWith(written, output), qPrintable(written));
    QVERIFY2(opensWith(errors, error), qPrintable(errors));
    // The usage lists the program's own options; Qt's stay out of it.
    if (!output.startsWith(QStringLiteral("vantrelnut ")))
        QVERIFY((written + errors).contains("--version") && (written + errors).contains("--verbose")
                && !(written + errors).contains("--platform"));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
