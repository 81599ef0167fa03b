#ifndef SETTINGSSTORE_H
#define SETTINGSSTORE_H

#include <QSettings>

// The per-user INI settings of the application. Each object reads the file
// afresh and writes its changes when destroyed.
class SettingsStore : public QSettings
{
public:
    SettingsStore()
        : QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vantrel"),
                QStringLiteral("Mird"))
    {
    }
};

#endif // SETTINGSSTORE_H
