#include "download/reportfile.h"

#ifdef Q_OS_LINUX
#include <fcntl.h>

namespace {

// The commit waits until the whole report is on disk. Handing the disk what
// has arrived in steps of this size lets it write while the rest arrives, so
// the commit has little left to wait for.
constexpr qint64 writeBackStep = 8 * 1024 * 1024;

} // namespace
#endif

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
    startWriteBack();
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

void ReportFile::startWriteBack()
{
#ifdef Q_OS_LINUX
    // Unbuffered: the position is what has been written.
    const qint64 written = m_file.pos();
    if (written - m_writtenBack < writeBackStep)
        return;
    // Only starts the writing, without waiting for it; the commit's sync
    // still makes sure. A refusal costs nothing but that head start.
    sync_file_range(m_file.handle(), m_writtenBack, written - m_writtenBack, SYNC_FILE_RANGE_WRITE);
    m_writtenBack = written;
#endif
}

bool ReportFile::fail(Failure failure, const QString &errorString)
{
    m_failure = failure;
    m_errorString = errorString;
    m_fileError = m_file.error();
    return false;
}
