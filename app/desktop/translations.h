#ifndef TRANSLATIONS_H
#define TRANSLATIONS_H

#include <QTranslator>

// The texts of Qt's dialogs, the browser engine's menus and the shell's
// own, in the first of the desktop's languages that has them: Qt's
// translations (qtbase, qtwebengine) from Qt's translations folder, the
// shell's from its folder beside the executable (share/vantrelnut/
// translations, in the build tree too). Installed while the object lives,
// in the application object, which must exist; before the first widget.
// The report downloader's "DownloadManager" texts have no translation in
// any of them, so they show as written.
class Translations
{
public:
    Translations();

    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // Where the shell's own translations lie.
    static QString folder();

private:
    void install(QTranslator &translator, const QString &name, const QString &folder);

    QTranslator m_qt;
    QTranslator m_engine;
    QTranslator m_shell;
};

#endif // TRANSLATIONS_H
