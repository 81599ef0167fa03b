#include "reportfile.h"

ReportFile::ReportFile(const QString &fileName, bool openWhenDone)
    : m_fileName(fileName)
    , m_openWhenDone(openWhenDone)
    , m_file(fileName)
{
}

bool ReportFile::append(const QByteArray &data)
{
    if (m_failure != Failure::None || (!m_file.isOpen() && !open()))
        return false;
    // A short write is tried again for the rest, which then fails with the
    // reason (a full disk, a size limit).
    for (qint64 written = 0; written < data.size();) {
        const qint64 count = m_file.write(data.constData() + written, data.size() - written);
        if (count <= 0)
            return fail(Failure::Write, m_file.errorString());
        written += count;
    }
    return true;
}

bool ReportFile::commit()
{
    if (m_failure != Failure::None || (!m_file.isOpen() && !open()))
        return false;
    if (!m_file.commit())
        return fail(Failure::Write, m_file.errorString());
    return true;
}

bool ReportFile::open()
{
    // QSaveFile would take an empty name for a temporary file in the working
    // folder and fail only when committing.
    if (m_fileName.isEmpty())
        return fail(Failure::Open, QStringLiteral("No file name specified"));
    // Data arrives in large pieces already; a write buffer would only copy it.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(Failure::Open, m_file.errorString());
    return true;
}

bool ReportFile::fail(Failure failure, const QString &errorString)
{
    m_failure = failure;
    m_errorString = errorString;
    return false;
}
