#include "base/logcategories.h"
#include "base/qtcompat.h"
#include "bridge/object.h"
#include "app/desktop/commandline.h"
#include "app/desktop/desktopaccessibility.h"
#include "app/desktop/quitonsignal.h"
#include "app/desktop/singleinstance.h"
#include "app/desktop/supportlog.h"
#include "app/desktop/translations.h"
#include "download/heapslack.h"
#include "download/networkpolling.h"
#include "app/engine/enginecompat.h"
#include "settings/settingsstore.h"
#include "settings/startupsettings.h"
#include "app/window/shellwindow.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QIcon>
#include <QTextStream>

namespace {

// Help, the version or a refusal, instead of starting. Qt 6 names the program
// in the usage from the application object; a core one opens no window.
int answer(const CommandLine &commandLine, int argc, char *argv[])
{
    const QCoreApplication application(argc, argv);
    const Translations translations;
    QTextStream out(stdout);
    QTextStream errors(stderr);
    return commandLine.answer(out, errors, EngineCompat::versionLine());
}

// Before anything writes a line or starts a thread.
void prepareProcess()
{
    SupportLog::start(EngineCompat::versionLine());
    keepHeapSlackForDownloads();
    switchOffNetworkPolling();
}

// Lives until the process ends; connecting to the instrument starts here,
// before the application object exists.
Object *startBridge(const CommandLine &commandLine)
{
    auto *bridge = new Object;
    QLoggingCategory::setFilterRules(loggingRules(commandLine.isVerbose()));
    qCDebug(lcSupportLog).noquote() << "Log:" << QDir::toNativeSeparators(SupportLog::fileName());
    return bridge;
}

// The window's icon from every size bundled with the executable; on Windows
// the executable carries the same images as its resource icon.
QIcon applicationIcon()
{
    QIcon icon;
    const QDir images(QStringLiteral(":/icon"));
    for (const QString &name : images.entryList(QDir::Files))
        icon.addFile(images.filePath(name));
    return icon;
}

// The icon, and the name by which the desktop matches the window with its
// menu entry.
void introduceToDesktop()
{
    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("vantrelnut"));
}

// The window ends before the instrument is closed: a close, the session's
// end and the system's signals all end a wait for the instrument's button
// first, and the session's end and the signals ask nothing of the page.
void endInOrder(QApplication &application, ShellWindow &window, const QuitOnSignal &quitOnSignal,
        Object *bridge)
{
    QObject::connect(&application, &QGuiApplication::commitDataRequest, &window,
            &ShellWindow::closeWithoutQuestion, Qt::DirectConnection);
    QObject::connect(
            &quitOnSignal, &QuitOnSignal::ending, &window, &ShellWindow::closeWithoutQuestion);
    QObject::connect(
            &application, &QCoreApplication::aboutToQuit, bridge, &Object::abandonInstrumentCalls);
    // By signature on purpose: Disconnect's hook to quitting is a SIGNAL/SLOT
    // connection of the automatic type.
    QObject::connect(&application, SIGNAL(aboutToQuit()), bridge, SLOT(Disconnect()));
}

} // namespace

int main(int argc, char *argv[])
{
    // Read before anything starts: answering opens no lock, settings or instrument.
    const CommandLine commandLine(CommandLine::arguments(argc, argv));
    if (!commandLine.startsApplication())
        return answer(commandLine, argc, argv);
    prepareProcess();

    // One application per desktop session: a later start only brings the
    // running window forward, before it could open the instrument.
    SingleInstance instance(QStringLiteral("vantrelnut"));
    if (!instance.isFirst())
        return instance.bringFirstForward() ? 0 : 1;

    Object *bridge = startBridge(commandLine);
    const char *scalingVariable
            = QtCompat::setHighDpiScaling(StartupSettings::enableHighDpi(*SettingsStore()));
    QApplication application(argc, argv);
    // Read by now; what the application starts (a report's viewer) scales as it would.
    if (scalingVariable)
        qunsetenv(scalingVariable);
    // Before the first widget, the dialogs' included.
    const Translations translations;
    introduceToDesktop();

    qDebug() << bridge->settingsFileName();
    SettingsStore settings; // open until the event loop has ended
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

    const QuitOnSignal quitOnSignal;
    endInOrder(application, window, quitOnSignal, bridge);
    QObject::connect(
            &instance, &SingleInstance::forwardRequested, &window, &ShellWindow::comeForward);
    instance.listenForLaterStarts();
    return application.exec();
}
