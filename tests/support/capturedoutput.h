#ifndef CAPTUREDOUTPUT_H
#define CAPTUREDOUTPUT_H

#include <QByteArray>
#include <QTemporaryFile>

#include <cstdio>

// Captures what the process writes to standard output or standard error
// (C stdio and the file descriptor alike) while the object lives.
class CapturedOutput
{
public:
    explicit CapturedOutput(FILE *stream);
    ~CapturedOutput();

    CapturedOutput(const CapturedOutput &) = delete;
    CapturedOutput &operator=(const CapturedOutput &) = delete;

    // Everything written since the capture began.
    QByteArray text();

    // Until out and err hold count lines between them, for ten seconds at
    // most: every download ends in one line on one of them.
    static bool waitForLines(CapturedOutput &out, CapturedOutput &err, int count);

private:
    FILE *m_stream;
    int m_savedDescriptor;
    QTemporaryFile m_file;
};

#endif // CAPTUREDOUTPUT_H
