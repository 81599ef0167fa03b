#ifndef SETTINGSSTORE_H
#define SETTINGSSTORE_H

#include <QSettings>

#include <memory>

// The per-user INI settings of the application (organisation "Vantrel",
// application "Mird"), or another file of the organisation's. Each object
// reads the file afresh and writes its changes when destroyed. A store whose
// file cannot be read as one (a pipe, a device) reads as empty and keeps
// nothing, so a damaged store gives the defaults instead of stalling start-up.
class SettingsStore
{
public:
    explicit SettingsStore(const QString &application = QStringLiteral("Mird"));

    QSettings *operator->() const { return m_settings.get(); }
    QSettings &operator*() const { return *m_settings; }

    // A value as the text it was written as. QSettings reads a value with
    // unquoted commas, as a person writes an address by hand, as a list of
    // its pieces (without the spaces around the commas) and writes it back
    // in that form; the pieces joined again give the text.
    static QString text(const QSettings &settings, const QString &key, const QString &defaultValue);

private:
    std::unique_ptr<QSettings> m_settings;
};

#endif // SETTINGSSTORE_H
