#include "app/page/pagelanguages.h"

#include "base/logcategories.h"
#include "settings/languagetags.h"

#include <QWebEngineProfile>

void PageLanguages::askIn(QWebEngineProfile *profile, const QStringList &languages)
{
    if (languages.isEmpty())
        return;
    const QString header = LanguageTags::acceptLanguage(languages);
    qCDebug(lcLanguage) << "Pages asked for in" << header;
    profile->setHttpAcceptLanguage(header);
}
