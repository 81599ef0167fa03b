#ifndef PAGESCRIPT_H
#define PAGESCRIPT_H

#include <QWebEngineScript>

namespace PageScript {

// A script of the executable's resources (web/, ":/" + name) that the page's
// renderer runs as each document is made, before the document's own
// scripts: in the main frame only unless subFrames.
QWebEngineScript fromResource(const QString &name, quint32 world, bool subFrames);

} // namespace PageScript

#endif // PAGESCRIPT_H
