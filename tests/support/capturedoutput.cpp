#include "tests/support/capturedoutput.h"

#include <QTest>

#include <QFile>

#include <unistd.h>

CapturedOutput::CapturedOutput(FILE *stream)
    : m_stream(stream)
{
    std::fflush(m_stream);
    if (!m_file.open())
        qFatal("Cannot make a file to capture output in: %s", qPrintable(m_file.errorString()));
    m_savedDescriptor = dup(fileno(m_stream));
    dup2(m_file.handle(), fileno(m_stream));
}

CapturedOutput::~CapturedOutput()
{
    std::fflush(m_stream);
    dup2(m_savedDescriptor, fileno(m_stream));
    close(m_savedDescriptor);
}

QByteArray CapturedOutput::text()
{
    std::fflush(m_stream);
    QFile reader(m_file.fileName());
    return reader.open(QIODevice::ReadOnly) ? reader.readAll() : QByteArray();
}

bool CapturedOutput::waitForLines(CapturedOutput &out, CapturedOutput &err, int count)
{
    return QTest::qWaitFor(
            [&] { return out.text().count('\n') + err.text().count('\n') >= count; }, 10000);
}
