#include "commandline.h"
#include "desktopaccessibility.h"
#include "enginecompat.h"
#include "heapslack.h"
#include "logcategories.h"
#include "networkpolling.h"
#include "object.h"
#ifndef Q_OS_WIN
#include "quitonsignal.h"
#endif
#include "settingsstore.h"
#include "shellwindow.h"
#include "singleinstance.h"
#include "startupsettings.h"
#include "supportlog.h"
#include "translations.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QIcon>
#include <QTextStream>

// The window's icon from every size bundled with the executable; on Windows
// the executable carries the same images as its resource icon.
static QIcon applicationIcon()
{
    QIcon icon;
    const QDir images(QStringLiteral(":/icon"));
    for (const QString &name : images.entryList(QDir::Files))
        icon.addFile(images.filePath(name));
    return icon;
}

// Help, the version or a refusal, instead of starting. Qt 6 names the program
// in the usage from the application object; a core one opens no window.
static int answer(const CommandLine &commandLine, int argc, char *argv[])
{
    const QCoreApplication application(argc, argv);
    const Translations translations;
    QTextStream out(stdout);
    QTextStream errors(stderr);
    return commandLine.answer(out, errors);
}

int main(int argc, char *argv[])
{
    // Read before anything starts: answering opens no lock, settings or instrument.
    const CommandLine commandLine(CommandLine::arguments(argc, argv));
    if (!commandLine.startsApplication())
        return answer(commandLine, argc, argv);

    // Before anything writes a line or starts a thread.
    SupportLog::start();
    keepHeapSlackForDownloads();
    switchOffNetworkPolling();

    // One application per desktop session: a later start only brings the
    // running window forward, before it could open the instrument.
    SingleInstance instance(QStringLiteral("vantrelnut"));
    if (!instance.isFirst())
        return instance.bringFirstForward() ? 0 : 1;

    // Lives until the process ends; connecting to the instrument starts here.
    Object *bridge = new Object;
    QLoggingCategory::setFilterRules(loggingRules(commandLine.isVerbose()));
    qCDebug(lcSupportLog).noquote() << "Log:" << QDir::toNativeSeparators(SupportLog::fileName());
    const char *scalingVariable
            = EngineCompat::setHighDpiScaling(StartupSettings::enableHighDpi(*SettingsStore()));

    QApplication application(argc, argv);
    // Read by now; what the application starts (a report's viewer) scales as it would.
    if (scalingVariable)
        qunsetenv(scalingVariable);
    // Before the first widget, the dialogs' included.
    const Translations translations;
    QApplication::setWindowIcon(applicationIcon());
    // Lets the desktop match the window with its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vantrelnut"));

    qDebug() << bridge->settingsFileName();

    SettingsStore settings;
    settings->setValue(QStringLiteral("Hello"), QStringLiteral("World"));

    const StartupSettings startup
            = StartupSettings::read(*settings, bridge->defaultServerAddress());
    QCoreApplication::setApplicationName(startup.applicationName);
    const char *accessibilityVariable = offerPagesToAssistiveTechnology();
    ShellWindow window(startup, bridge);
    // Read once the window's page has started the engine; not handed on to
    // what the application starts.
    if (accessibilityVariable)
        qunsetenv(accessibilityVariable);
    window.present(startup.showMaximized);
    // The session's end asks nothing of the page.
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window,
            &ShellWindow::closeWithoutQuestion, Qt::DirectConnection);

    // A wait for the instrument's button ends with the window, before the
    // instrument is closed.
    QObject::connect(&application, &QCoreApplication::aboutToQuit, bridge,
            &Object::abandonInstrumentCalls);
    // By signature on purpose: Disconnect's hook to quitting is a SIGNAL/SLOT
    // connection of the automatic type.
    QObject::connect(&application, SIGNAL(aboutToQuit()), bridge, SLOT(Disconnect()));
    QObject::connect(&instance, &SingleInstance::forwardRequested, &window,
            &ShellWindow::comeForward);
    instance.listenForLaterStarts();
#ifndef Q_OS_WIN
    const QuitOnSignal quitOnSignal;
    QObject::connect(&quitOnSignal, &QuitOnSignal::ending, &window,
            &ShellWindow::closeWithoutQuestion);
#endif
    return application.exec();
}
