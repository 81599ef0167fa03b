#ifndef OBJECT_H
#define OBJECT_H

#include "devicelink.h"
#include "downloadmanager.h"

#include <QObject>
#include <QString>

// The native object the page sees as "vizEveDivuzaviz". Its slots are the
// page's whole interface; their order is their index on the web channel, so
// new slots go at the end. Parameters stay unnamed, as the page sees them.
class Object : public QObject
{
    Q_OBJECT

public:
    // Connects to the instrument at once.
    Object();

    // The page loaded when the settings name no other.
    QString defaultServerAddress() const { return m_defaultServerAddress; }
    QString settingsFileName() const { return m_settingsFileName; }

public slots:
    // Called from the page: connects afresh; true when an instrument was found.
    bool isConnected();
    // Called from the page: connects afresh; true when an instrument is held.
    bool Connected();
    // Called from the page and on quit: closes the instrument, resets the SDK.
    bool Disconnect();
    // Called from the page: the instrument's serial number.
    QString getDeviceID();
    // Called from the page: the four-line summary of the instrument.
    QString getDeviceInfo();
    // Called from the page: any instrument option by its key.
    QString getOption(const QString &);
    // Called from the page: the stored setting, or "KO" when there is none.
    QString getIni(const QString &);
    // Called from the page: stores a setting; always "ok".
    QString setIni(const QString &, const QString &);
    // Called from the page: connects, waits for the button, calibrates; a status word.
    QString doCalibrate();
    // Called from the page: calibrates at once; "DONE" or "ERROR".
    QString doCalibrateNow();
    // Called from the page: waits for the button, measures; the density line.
    QString doOneScan();
    // Called from the page: measures at once; the density line.
    QString doOneScanNow();
    // Called from the page: fetches the report into the temporary folder and opens it.
    QString doOpen(const QString &);
    // Called from the page: asks where to save the report, fetches it there, opens it if asked.
    QString doDownloadReport(const QString &, bool);
    // Called from the page: fetches the report into the given file, opens it if asked.
    QString doDownloadSaveReport(const QString &, const QString &, bool);

private:
    const QString m_defaultServerAddress;
    const QString m_settingsFileName;
    DeviceLink m_deviceLink;
    DownloadManager m_downloadManager;
};

#endif // OBJECT_H
