#include "base/standarderror.h"

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace StandardError {

void writeLine(const QString &line)
{
    const QByteArray bytes = line.toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

} // namespace StandardError
