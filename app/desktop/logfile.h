#ifndef LOGFILE_H
#define LOGFILE_H

#include <QByteArray>
#include <QFile>
#include <QString>

// A log file for support: every line written to it starts with the local
// time and its offset from UTC ("2026-12-09T14:03:27.122+01:00 "). Once the
// file would grow past its size it becomes the older file (NAME.1, replacing
// the one before) and a new one begins, so at most twice the size is kept.
// Readable by its owner only.
class LogFile
{
public:
    static constexpr qint64 defaultSize = 1024 * 1024;

    explicit LogFile(const QString &fileName, qint64 size = defaultSize);

    LogFile(const LogFile &) = delete;
    LogFile &operator=(const LogFile &) = delete;

    bool isOpen() const { return m_file.isOpen(); }

    // Output as it comes: each complete line is written with its time, the
    // start of a line is held until its end arrives.
    void write(const QByteArray &output);
    // Writes a line left without its end.
    void finish();

private:
    void open();
    void writeLine(const QByteArray &line);

    QFile m_file;
    const qint64 m_size;
    QByteArray m_unfinished;
};

#endif // LOGFILE_H
