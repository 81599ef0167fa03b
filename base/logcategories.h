#ifndef LOGCATEGORIES_H
#define LOGCATEGORIES_H

#include <QLoggingCategory>

// The shell's own debug lines, off unless --verbose or QT_LOGGING_RULES
// ("vantrelnut.*.debug=true") switches them on. The traces the bridge and
// the instrument have always written stay plain debug-log lines.
Q_DECLARE_LOGGING_CATEGORY(lcAccessibility) // vantrelnut.accessibility
Q_DECLARE_LOGGING_CATEGORY(lcLanguage) // vantrelnut.language
Q_DECLARE_LOGGING_CATEGORY(lcNavigation) // vantrelnut.navigation
Q_DECLARE_LOGGING_CATEGORY(lcSupportLog) // vantrelnut.log

namespace LogCategories {

// The filter rules for Qt's logging: the engine's set-up report kept off,
// and the shell's own categories on when verbose.
QString filterRules(bool verbose);

} // namespace LogCategories

#endif // LOGCATEGORIES_H
