#include "settings/startupsettings.h"

#include "settings/languagetags.h"
#include "settings/settingsstore.h"

#include <QLocale>
#include <QSettings>

namespace {

// A list written with commas reads as several values; they are origins all the same.
QString originsListed(const QSettings &settings, const QString &key)
{
    return settings.value(key, QString()).toStringList().join(QLatin1Char(' '));
}

} // namespace

StartupSettings StartupSettings::read(const QSettings &settings, const QString &defaultServer)
{
    StartupSettings startup;
    startup.showMaximized
            = SettingsStore::text(settings, QStringLiteral("ShowMaximized"), QStringLiteral("1"))
            == QLatin1String("1");
    startup.noContextMenu
            = SettingsStore::text(settings, QStringLiteral("ContextMenu"), QStringLiteral("0"))
            == QLatin1String("0");
    startup.applicationName = SettingsStore::text(
            settings, QStringLiteral("appName"), QStringLiteral("VantrelNut"));
    startup.server = QUrl(SettingsStore::text(settings, QStringLiteral("Server"), defaultServer),
            QUrl::TolerantMode);
    startup.trustedOrigins = originsListed(settings, QStringLiteral("TrustedOrigins"));
    startup.signInOrigins = originsListed(settings, QStringLiteral("SignInOrigins"));
    startup.pageLanguages = LanguageTags::chosen(
            SettingsStore::text(settings, QStringLiteral("Languages"), QString()),
            QLocale::system().uiLanguages());
    return startup;
}

bool StartupSettings::enableHighDpi(const QSettings &settings)
{
    return SettingsStore::text(settings, QStringLiteral("EnableHighDpi"), QStringLiteral("1"))
            == QLatin1String("1");
}
