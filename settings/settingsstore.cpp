#include "settings/settingsstore.h"

#include <QFileInfo>

namespace {

const QString organization = QStringLiteral("Vantrel");

// Where the per-user file lies, found without reading it: the organisation's
// own file lies in the same folder as the organisation's subfolder.
QString userFileName(const QString &application)
{
    const QSettings organizationStore(QSettings::IniFormat, QSettings::UserScope, organization);
    const QFileInfo organizationFile(organizationStore.fileName());
    return organizationFile.path() + QLatin1Char('/') + organization + QLatin1Char('/')
            + application + QLatin1String(".ini");
}

} // namespace

SettingsStore::SettingsStore(const QString &application)
{
    const QFileInfo file(userFileName(application));
    // Opening a pipe blocks until someone writes to it and a device may never
    // end, so the store opens the file's folder: it reads as empty, refuses
    // every write and never blocks.
    if (file.exists() && !file.isFile() && !file.isDir())
        m_settings = std::make_unique<QSettings>(file.path(), QSettings::IniFormat);
    else
        m_settings = std::make_unique<QSettings>(
                QSettings::IniFormat, QSettings::UserScope, organization, application);
}

QString SettingsStore::text(
        const QSettings &settings, const QString &key, const QString &defaultValue)
{
    const QVariant value = settings.value(key, defaultValue);
    if (value.userType() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}
