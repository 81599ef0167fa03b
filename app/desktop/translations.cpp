#include "app/desktop/translations.h"

#include "base/logcategories.h"
#include "base/qtcompat.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>

Translations::Translations()
{
    const QString qtFolder = QtCompat::qtTranslationsFolder();
    install(m_qt, QStringLiteral("qtbase"), qtFolder);
    install(m_engine, QStringLiteral("qtwebengine"), qtFolder);
    install(m_shell, QStringLiteral("vantrelnut"), folder());
}

QString Translations::folder()
{
    return QDir(QCoreApplication::applicationDirPath())
            .absoluteFilePath(QStringLiteral("../share/vantrelnut/translations"));
}

void Translations::install(QTranslator &translator, const QString &name, const QString &folder)
{
    // The desktop's UI languages in turn, each also without its country.
    if (!translator.load(QLocale::system(), name, QStringLiteral("_"), folder)) {
        qCDebug(lcLanguage) << "No translation" << name << "for" << QLocale::system().uiLanguages();
        return;
    }
    qCDebug(lcLanguage).noquote() << "Translation"
                                  << QDir::toNativeSeparators(translator.filePath());
    QCoreApplication::installTranslator(&translator);
}
