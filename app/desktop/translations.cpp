#include "app/desktop/translations.h"

#include "base/logcategories.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>

Translations::Translations()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#else
    const QString qtFolder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
#endif
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
