#include "heapslack.h"
#include "networkpolling.h"
#include "object.h"
#include "pagedownloads.h"
#include "rendererrecovery.h"
#include "settingsstore.h"
#include "singleinstance.h"
#include "startupsettings.h"
#include "trustedorigins.h"
#include "webpage.h"
#include "windowtitle.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QIcon>
#include <QLoggingCategory>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

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

// Lives until the process ends; connecting to the instrument starts here.
static Object *createBridge()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 logs what Qt 5 did not: two warnings from its network access,
    // which cannot hook itself to the application object that does not exist
    // yet when the bridge makes its downloader, and a report of the browser
    // engine's set-up at every start. QT_LOGGING_RULES still shows them.
    QLoggingCategory::setFilterRules(QStringLiteral("qt.core.qobject.connect.warning=false"));
    auto *bridge = new Object;
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    return bridge;
#else
    return new Object;
#endif
}

// Qt honours high-DPI scaling only when it is set before the application
// object exists. Returns the environment variable set for the application
// object alone, to be removed once it exists, or null.
static const char *setHighDpiScaling(bool enabled)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6 always scales unless its environment variable says otherwise, and
    // by the screen's exact factor; Qt 5 scaled only when asked, by whole
    // factors. A person's own setting of either variable still wins.
    if (!qEnvironmentVariableIsSet("QT_SCALE_FACTOR_ROUNDING_POLICY"))
        QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
                Qt::HighDpiScaleFactorRoundingPolicy::Round);
    if (!enabled && !qEnvironmentVariableIsSet("QT_ENABLE_HIGHDPI_SCALING")) {
        qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
        return "QT_ENABLE_HIGHDPI_SCALING";
    }
#else
    if (enabled)
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);
#endif
    return nullptr;
}

int main(int argc, char *argv[])
{
    keepHeapSlackForDownloads();
    switchOffNetworkPolling();

    // One application per desktop session: a later start only brings the
    // running window forward, before it could open the instrument.
    SingleInstance instance(QStringLiteral("vantrelnut"));
    if (!instance.isFirst())
        return instance.bringFirstForward() ? 0 : 1;

    Object *bridge = createBridge();
    const char *scalingVariable
            = setHighDpiScaling(StartupSettings::enableHighDpi(*SettingsStore()));

    QApplication application(argc, argv);
    // Read by now; what the application starts (a report's viewer) scales as it would.
    if (scalingVariable)
        qunsetenv(scalingVariable);
    QApplication::setWindowIcon(applicationIcon());
    // Lets the desktop match the window with its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("vantrelnut"));
    QWebEngineView view;
    WindowTitle windowTitle(&view);
    qDebug() << bridge->settingsFileName();

    SettingsStore settings;
    settings->setValue(QStringLiteral("Hello"), QStringLiteral("World"));

    const StartupSettings startup
            = StartupSettings::read(*settings, bridge->defaultServerAddress());
    if (startup.noContextMenu)
        view.setContextMenuPolicy(Qt::NoContextMenu);
    QCoreApplication::setApplicationName(startup.applicationName);

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    // Qt 6's default profile keeps nothing on disk. A profile named as Qt 5's
    // default one keeps cookies, local storage and cache where Qt 5 kept
    // them, so the page finds what it stored across starts and upgrades.
    QWebEngineProfile persistentProfile(QStringLiteral("Default"));
    QWebEngineProfile *profile = &persistentProfile;
#else
    QWebEngineProfile *profile = QWebEngineProfile::defaultProfile();
#endif
    const TrustedOrigins trustedOrigins(startup.server, startup.trustedOrigins);
    WebPage page(trustedOrigins, profile);
    view.setPage(&page);

    // Attached before the page loads, so the page's script finds the object.
    auto *channel = new QWebChannel;
    channel->registerObject(QStringLiteral("vizEveDivuzaviz"), bridge);
    view.page()->setWebChannel(channel);

    PageDownloads pageDownloads(&view, view.page()->profile());

    view.setUrl(startup.server);
    // After a renderer crash the page shown is loaded again when it is trusted.
    const RendererRecovery recovery(view.page(), startup.server,
            [&trustedOrigins](const QUrl &shown) { return trustedOrigins.isTrusted(shown); });
    // Shown only now, maximised or not: a view shown (or even given a window
    // state) before its page is set up may never be mapped on screen.
    if (startup.showMaximized)
        view.showMaximized();
    else
        view.show();

    QObject::connect(&application, SIGNAL(aboutToQuit()), bridge, SLOT(Disconnect()));
    instance.bringForwardOnRequest(&view);
    return application.exec();
}
