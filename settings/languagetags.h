#ifndef LANGUAGETAGS_H
#define LANGUAGETAGS_H

#include <QStringList>

// The languages the web application is asked for, most wanted first, as
// language tags ("de-CH", "de").
namespace LanguageTags {

// The deployer's list (tags separated by commas or spaces) when one is
// set, else the desktop's UI languages without the forms that only add
// the script of a tag already listed ("de-Latn-DE" beside "de-DE"). Empty
// for the C locale, which names no language.
QStringList chosen(const QString &setting, const QStringList &uiLanguages);

// The Accept-Language header's value, in decreasing weights as browsers
// send it: "de-CH,de;q=0.9,en;q=0.8".
QString acceptLanguage(const QStringList &languages);

} // namespace LanguageTags

#endif // LANGUAGETAGS_H
