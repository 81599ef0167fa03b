#ifndef PAGELANGUAGES_H
#define PAGELANGUAGES_H

#include <QStringList>

class QWebEngineProfile;

// The languages the web application is asked for: the engine's
// Accept-Language header and the page's navigator.language and
// navigator.languages follow them.
namespace PageLanguages {

// Asks every page of the profile in those languages (language tags, most
// wanted first); with none, leaves the engine's own choice.
void askIn(QWebEngineProfile *profile, const QStringList &languages);

} // namespace PageLanguages

#endif // PAGELANGUAGES_H
