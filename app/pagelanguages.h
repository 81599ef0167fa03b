#ifndef PAGELANGUAGES_H
#define PAGELANGUAGES_H

#include <QStringList>

class QWebEngineProfile;

// The languages the web application is asked for, most wanted first, as
// language tags ("de-CH", "de"): the engine's Accept-Language header and
// the page's navigator.language and navigator.languages follow them.
namespace PageLanguages {

// The deployer's list (tags separated by commas or spaces) when one is
// set, else the desktop's UI languages without the forms that only add
// the script of a tag already listed ("de-Latn-DE" beside "de-DE"). Empty
// for the C locale, which names no language.
QStringList chosen(const QString &setting, const QStringList &uiLanguages);

// The header's value, in decreasing weights as browsers send it:
// "de-CH,de;q=0.9,en;q=0.8".
QString acceptLanguage(const QStringList &languages);

// Asks every page of the profile in those languages; with none, leaves the
// engine's own choice.
void askIn(QWebEngineProfile *profile, const QStringList &languages);

} // namespace PageLanguages

#endif // PAGELANGUAGES_H
