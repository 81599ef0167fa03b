#include "app/page/pagescript.h"

#include <QFile>

namespace PageScript {

QWebEngineScript fromResource(const QString &name, quint32 world, bool subFrames)
{
    QFile file(QStringLiteral(":/") + name);
    const bool opened = file.open(QIODevice::ReadOnly);
    Q_ASSERT(opened); // a resource of the executable
    Q_UNUSED(opened)
    QWebEngineScript script;
    script.setName(QStringLiteral("vantrelnut-") + name);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setWorldId(world);
    script.setRunsOnSubFrames(subFrames);
    script.setSourceCode(QString::fromUtf8(file.readAll()));
    return script;
}

} // namespace PageScript
