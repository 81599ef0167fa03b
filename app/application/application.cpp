#include "app/application/application.h"

#include "app/desktop/desktopaccessibility.h"
#include "app/desktop/highdpiscaling.h"
#include "app/desktop/quitonsignal.h"
#include "app/desktop/singleinstance.h"
#include "app/desktop/supportlog.h"
#include "app/desktop/translations.h"
#include "app/engine/enginecompat.h"
#include "app/window/shellwindow.h"
#include "base/logcategories.h"
#include "bridge/object.h"
#include "download/heapslack.h"
#include "download/networkpolling.h"
#include "settings/settingsstore.h"
#include "settings/startupsettings.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QIcon>
#include <QTextStream>

namespace {

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

} // namespace

// Read before anything starts: answering opens no lock, settings or instrument.
Application::Application(int &argc, char **argv)
    : m_argc(argc)
    , m_argv(argv)
    , m_commandLine(CommandLine::arguments(argc, argv))
{
}

Application::~Application() = default;

int Application::run()
{
    if (!m_commandLine.startsApplication())
        return answerCommandLine();
    prepareProcess();

    // One application per desktop session: a later start only brings the
    // running window forward, before it could open the instrument.
    m_instance = std::make_unique<SingleInstance>(QStringLiteral("vantrelnut"));
    if (!m_instance->isFirst())
        return m_instance->bringFirstForward() ? 0 : 1;

    startBridge();
    createApplicationObject();
    readSettings();
    openWindow();
    endInOrder();
    m_instance->listenForLaterStarts();
    return m_application->exec();
}

// Help, the version or a refusal, instead of starting. Qt 6 names the program
// in the usage from the application object; a core one opens no window.
int Application::answerCommandLine()
{
    const QCoreApplication application(m_argc, m_argv);
    const Translations translations;
    QTextStream out(stdout);
    QTextStream errors(stderr);
    return m_commandLine.answer(out, errors, EngineCompat::versionLine());
}

// Before anything writes a line or starts a thread.
void Application::prepareProcess()
{
    SupportLog::start(EngineCompat::versionLine());
    HeapSlack::keepForDownloads();
    NetworkPolling::switchOff();
}

// Lives until the process ends; connecting to the instrument starts here,
// before the application object exists.
void Application::startBridge()
{
    m_bridge = new Object;
    QLoggingCategory::setFilterRules(LogCategories::filterRules(m_commandLine.isVerbose()));
    qCDebug(lcSupportLog).noquote() << "Log:" << QDir::toNativeSeparators(SupportLog::fileName());
}

// With the high-DPI scaling the settings ask for, which Qt honours only when
// asked before; then the translations, before the first widget (the dialogs'
// included), and what the desktop knows the application by: its icon, and
// the name by which it matches the window with its menu entry.
void Application::createApplicationObject()
{
    const char *scalingVariable
            = HighDpiScaling::apply(StartupSettings::enableHighDpi(*SettingsStore()));
    m_application = std::make_unique<QApplication>(m_argc, m_argv);
    // Read by now; what the application starts (a report's viewer) scales as it would.
    if (scalingVariable)
        qunsetenv(scalingVariable);
    m_translations = std::make_unique<Translations>();
    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("vantrelnut"));
}

// The settings store stays open until the event loop has ended.
void Application::readSettings()
{
    // Kept as every version has had them, for whatever reads them: the log's
    // "settings.ini" line, and Hello, which the web application and a
    // workplace's scripts may read back (getIni) to tell that the shell has
    // started with its settings.
    qDebug() << m_bridge->settingsFileName();
    m_settings = std::make_unique<SettingsStore>();
    (*m_settings)->setValue(QStringLiteral("Hello"), QStringLiteral("World"));
    m_startup = std::make_unique<StartupSettings>(
            StartupSettings::read(**m_settings, m_bridge->defaultServerAddress()));
    QCoreApplication::setApplicationName(m_startup->applicationName);
}

void Application::openWindow()
{
    const char *accessibilityVariable = DesktopAccessibility::offerPages();
    m_window = std::make_unique<ShellWindow>(*m_startup, m_bridge);
    // Read once the window's page has started the engine; not handed on to
    // what the application starts.
    if (accessibilityVariable)
        qunsetenv(accessibilityVariable);
    m_window->present(m_startup->showMaximized);
}

// The window ends before the instrument is closed: a close, the session's
// end and the system's signals all end a wait for the instrument's button
// first, and the session's end and the signals ask nothing of the page. A
// later start brings the window forward.
void Application::endInOrder()
{
    m_quitOnSignal = std::make_unique<QuitOnSignal>();
    QObject::connect(m_application.get(), &QGuiApplication::commitDataRequest, m_window.get(),
            &ShellWindow::closeWithoutQuestion, Qt::DirectConnection);
    QObject::connect(m_quitOnSignal.get(), &QuitOnSignal::ending, m_window.get(),
            &ShellWindow::closeWithoutQuestion);
    QObject::connect(m_application.get(), &QCoreApplication::aboutToQuit, m_bridge,
            &Object::abandonInstrumentCalls);
    // By signature on purpose: Disconnect's hook to quitting is a SIGNAL/SLOT
    // connection of the automatic type.
    QObject::connect(m_application.get(), SIGNAL(aboutToQuit()), m_bridge, SLOT(Disconnect()));
    QObject::connect(m_instance.get(), &SingleInstance::forwardRequested, m_window.get(),
            &ShellWindow::comeForward);
}
