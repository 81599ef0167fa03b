#include "base/logcategories.h"

Q_LOGGING_CATEGORY(lcAccessibility, "vantrelnut.accessibility", QtInfoMsg)
Q_LOGGING_CATEGORY(lcLanguage, "vantrelnut.language", QtInfoMsg)
Q_LOGGING_CATEGORY(lcNavigation, "vantrelnut.navigation", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSupportLog, "vantrelnut.log", QtInfoMsg)

namespace LogCategories {

QString filterRules(bool verbose)
{
    QStringList rules;
    // Qt 6.4 reports the browser engine's set-up at every start, which Qt 5
    // did not (it has no such category); QT_LOGGING_RULES still shows it.
    rules.append(QStringLiteral("qt.webenginecontext.info=false"));
    if (verbose)
        rules.append(QStringLiteral("vantrelnut.*.debug=true"));
    return rules.join(QLatin1Char('\n'));
}

} // namespace LogCategories
