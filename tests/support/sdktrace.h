#ifndef SDKTRACE_H
#define SDKTRACE_H

#include <QByteArrayList>
#include <QTemporaryDir>

// Points the simulated SDK's call trace at a file of its own for the
// object's lifetime and reads the calls back, one line each.
class SdkTrace
{
public:
    SdkTrace();
    ~SdkTrace();

    SdkTrace(const SdkTrace &) = delete;
    SdkTrace &operator=(const SdkTrace &) = delete;

    QByteArrayList lines() const;

private:
    QTemporaryDir m_folder;
    QString m_fileName;
};

#endif // SDKTRACE_H
