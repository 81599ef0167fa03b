#include "tests/support/sdktrace.h"

#include "instrument/simulator/i1sim.h"

#include <QFile>

SdkTrace::SdkTrace()
    : m_fileName(m_folder.filePath(QStringLiteral("trace")))
{
    I1Sim_Configure("I1SIM_TRACE", QFile::encodeName(m_fileName).constData());
}

SdkTrace::~SdkTrace()
{
    I1Sim_Configure("I1SIM_TRACE", "");
}

QByteArrayList SdkTrace::lines() const
{
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArrayList lines = file.readAll().split('\n');
    lines.removeLast(); // after the last line feed
    return lines;
}
