#include "app/desktop/logfile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

LogFile::LogFile(const QString &fileName, qint64 size)
    : m_file(fileName)
    , m_size(size)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    open();
}

void LogFile::open()
{
    if (m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        m_file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void LogFile::write(const QByteArray &output)
{
    m_unfinished += output;
    int start = 0;
    for (int end = m_unfinished.indexOf('\n'); end >= 0; end = m_unfinished.indexOf('\n', start)) {
        writeLine(m_unfinished.mid(start, end + 1 - start));
        start = end + 1;
    }
    m_unfinished.remove(0, start);
}

void LogFile::finish()
{
    if (!m_unfinished.isEmpty())
        writeLine(m_unfinished + '\n');
    m_unfinished.clear();
}

void LogFile::writeLine(const QByteArray &line)
{
    if (!isOpen())
        return;
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray entry
            = now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODateWithMs).toUtf8() + ' '
            + line;
    if (m_file.size() > 0 && m_file.size() + entry.size() > m_size) {
        const QString older = m_file.fileName() + QStringLiteral(".1");
        m_file.close();
        QFile::remove(older);
        QFile::rename(m_file.fileName(), older);
        open();
    }
    m_file.write(entry);
}
