#include "startupsettings.h"

#include <QSettings>

StartupSettings StartupSettings::read(const QSettings &settings, const QString &defaultServer)
{
    StartupSettings startup;
    startup.showMaximized
            = settings.value(QStringLiteral("ShowMaximized"), QStringLiteral("1")).toString()
            == QLatin1String("1");
    startup.noContextMenu
            = settings.value(QStringLiteral("ContextMenu"), QStringLiteral("0")).toString()
            == QLatin1String("0");
    startup.applicationName
            = settings.value(QStringLiteral("appName"), QStringLiteral("VantrelNut")).toString();
    startup.server = QUrl(
            settings.value(QStringLiteral("Server"), defaultServer).toString(), QUrl::TolerantMode);
    // A list written with commas reads as several values; they are origins all the same.
    startup.trustedOrigins
            = settings.value(QStringLiteral("TrustedOrigins"), QString()).toStringList().join(' ');
    return startup;
}

bool StartupSettings::enableHighDpi(const QSettings &settings)
{
    return settings.value(QStringLiteral("EnableHighDpi"), QStringLiteral("1"))
            == QVariant(QStringLiteral("1"));
}
