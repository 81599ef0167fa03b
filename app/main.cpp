#include "heapslack.h"
#include "object.h"
#include "settingsstore.h"
#include "startupsettings.h"

#include <QApplication>
#include <QDebug>
#include <QWebChannel>
#include <QWebEnginePage>
#include <QWebEngineView>

int main(int argc, char *argv[])
{
    keepHeapSlackForDownloads();

    // Lives until the process ends; connecting to the instrument starts here.
    auto *bridge = new Object;

    if (StartupSettings::enableHighDpi(SettingsStore()))
        QCoreApplication::setAttribute(Qt::AA_EnableHighDpiScaling, true);

    QApplication application(argc, argv);
    QWebEngineView view;
    qDebug() << bridge->settingsFileName();

    SettingsStore settings;
    settings.setValue(QStringLiteral("Hello"), QStringLiteral("World"));

    const StartupSettings startup = StartupSettings::read(settings, bridge->defaultServerAddress());
    if (startup.noContextMenu)
        view.setContextMenuPolicy(Qt::NoContextMenu);
    QCoreApplication::setApplicationName(startup.applicationName);

    // Attached before the page loads, so the page's script finds the object.
    auto *channel = new QWebChannel;
    channel->registerObject(QStringLiteral("vizEveDivuzaviz"), bridge);
    view.page()->setWebChannel(channel);

    view.setUrl(startup.server);
    // Shown only now, maximised or not: a view shown (or even given a window
    // state) before its page is set up may never be mapped on screen.
    if (startup.showMaximized)
        view.showMaximized();
    else
        view.show();

    QObject::connect(&application, SIGNAL(aboutToQuit()), bridge, SLOT(Disconnect()));
    return application.exec();
}
