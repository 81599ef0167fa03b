#include "app/desktop/supportlog.h"

#include "app/desktop/version.h"

QByteArray SupportLog::firstLines(qint64 process, const QString &runsOn)
{
    return QByteArrayLiteral("vantrelnut " VANTRELNUT_VERSION " started, process ")
            + QByteArray::number(process) + '\n' + runsOn.toUtf8() + '\n';
}
