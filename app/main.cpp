#include "heapslack.h"
#include "networkpolling.h"
#include "object.h"
#include "rendererrecovery.h"
#include "pagedownloads.h"
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
#include <QWebChannel>
#include <QWebEnginePage>
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

int main(int argc, char *argv[])
{
    keepHeapSlackForDownloads();
    switchOffNetworkPolling();

    // One application per desktop session: a later start only brings the
    // running window forward, before it could open the instrument.
    SingleInstance instance(QStringLiteral("vantrelnut"));
    if (!instance.isFirst())
        return instance.bringFirstForward() ? 0 : 1;

    // Lives until the process ends; connecting to the instrument starts here.
    auto *bridge = new Object;

    if (StartupSettings::enableHighDpi(*SettingsStore()))
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);

    QApplication application(argc, argv);
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
    const TrustedOrigins trustedOrigins(startup.server, startup.trustedOrigins);
    view.setPage(new WebPage(trustedOrigins, &view));

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
