#ifndef REPORTFILE_H
#define REPORTFILE_H

#include <QSaveFile>
#include <QString>

// The local file one request saves its report into. The report is written
// to a temporary file beside it as it arrives (an unnamed one where the
// system allows), which takes the target's place only when committed, so a
// report appears complete or not at all. Dropping the object unsaved leaves
// the target as it was and removes the temporary file.
class ReportFile
{
public:
    enum class Failure { None, Open, Write };

    ReportFile(const QString &fileName, bool openWhenDone);

    ReportFile(const ReportFile &) = delete;
    ReportFile &operator=(const ReportFile &) = delete;

    QString fileName() const { return m_fileName; }
    bool openWhenDone() const { return m_openWhenDone; }

    // The first thing that went wrong, and the system's text for it.
    Failure failure() const { return m_failure; }
    QString errorString() const { return m_errorString; }
    QFileDevice::FileError fileError() const { return m_fileError; }

    // Writes data that has arrived, opening the temporary file first.
    bool append(const QByteArray &data);
    // Puts everything appended in the target's place.
    bool commit();

private:
    bool open();
    void startWriteBack();
    bool fail(Failure failure, const QString &errorString);

    const QString m_fileName;
    const bool m_openWhenDone;
    QSaveFile m_file;
    // How much of the file has been handed to the disk before the commit.
    qint64 m_writtenBack = 0;
    Failure m_failure = Failure::None;
    QString m_errorString;
    QFileDevice::FileError m_fileError = QFileDevice::NoError;
};

#endif // REPORTFILE_H
