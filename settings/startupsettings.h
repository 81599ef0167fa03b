#ifndef STARTUPSETTINGS_H
#define STARTUPSETTINGS_H

#include <QString>
#include <QStringList>
#include <QUrl>

class QSettings;

// The start-up keys of the settings store, each read with its default; the
// defaults are never written back.
struct StartupSettings
{
    bool showMaximized = true;
    bool noContextMenu = true;
    QString applicationName;
    QUrl server;
    // Origins beyond the server's that the web application spans, separated
    // by spaces.
    QString trustedOrigins;
    // The origins of the company's sign-in pages, separated by spaces.
    QString signInOrigins;
    // What the web application is asked for in: the key's list of language
    // tags, else the desktop's UI languages.
    QStringList pageLanguages;

    static StartupSettings read(const QSettings &settings, const QString &defaultServer);

    // Qt honours high-DPI scaling only when it is switched on before the
    // application object exists, so this one is read on its own, first.
    static bool enableHighDpi(const QSettings &settings);
};

#endif // STARTUPSETTINGS_H
