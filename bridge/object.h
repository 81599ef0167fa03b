#ifndef OBJECT_H
#define OBJECT_H

#include "bridge/pendinganswer.h"
#include "download/downloadmanager.h"
#include "instrument/devicelink.h"
#include "instrument/instrumentqueue.h"

#include <QObject>
#include <QString>
#include <QVariant>

// The native object the page sees as "vizEveDivuzaviz". Its slots are the
// page's whole interface; their order is their index on the web channel, so
// new slots go at the end. Parameters stay unnamed, as the page sees them.
//
// The instrument slots run in turn through one queue: a slot that waits for
// the instrument's button holds the instrument calls made after it, while
// the settings and download slots answer at once.
class Object : public QObject
{
    Q_OBJECT

public:
    // Connects to the instrument at once.
    Object();

    // The page loaded when the settings name no other.
    QString defaultServerAddress() const { return m_defaultServerAddress; }
    QString settingsFileName() const { return m_settingsFileName; }

    // The page that made the instrument calls has gone, or the application
    // quits: a wait for the button ends now and the queued calls are dropped.
    void abandonInstrumentCalls();
    // An instrument call runs, waits for the button or is queued.
    bool instrumentBusy() const { return !m_instrumentQueue.isIdle(); }

    // The window shows what went wrong with a report the page asked for.
    const DownloadManager *reportDownloader() const { return &m_downloadManager; }

    void setButtonWaitTiming(std::chrono::milliseconds interval, int pollLimit);

protected:
    // Never deleted later: the page can call QObject's deleteLater slot too
    // (QtWebChannel from 6.5 on lets a call by its name through), and the
    // object lives as long as the process.
    bool event(QEvent *event) override;

public slots:
    // Called from the page, each by its name. Arguments come as the page
    // passed them and each slot converts them, as QtWebChannel does where it
    // can: from 6.5 on it hands a typed parameter a value it could not
    // convert (an array for a text) as it is, to be read as the wrong type.
    // What does not convert is an empty text or false, as with earlier Qt.

    // Connects afresh; true when an instrument was found.
    INSTRUMENT_ANSWER(bool) isConnected();
    // Connects afresh; true when an instrument is held.
    INSTRUMENT_ANSWER(bool) Connected();
    // Also on quit: closes the instrument, resets the SDK.
    INSTRUMENT_ANSWER(bool) Disconnect();
    // The instrument's serial number.
    INSTRUMENT_ANSWER(QString) getDeviceID();
    // The four-line summary of the instrument.
    INSTRUMENT_ANSWER(QString) getDeviceInfo();
    // Any instrument option by its key.
    INSTRUMENT_ANSWER(QString) getOption(const QVariant &);
    // The stored setting, or "KO" when there is none.
    QString getIni(const QVariant &);
    // Stores a setting; always "ok".
    QString setIni(const QVariant &, const QVariant &);
    // Connects, waits for the button, calibrates; a status word.
    INSTRUMENT_ANSWER(QString) doCalibrate();
    // Calibrates at once; "DONE" or "ERROR".
    INSTRUMENT_ANSWER(QString) doCalibrateNow();
    // Waits for the button, measures; the density line.
    INSTRUMENT_ANSWER(QString) doOneScan();
    // Measures at once; the density line.
    INSTRUMENT_ANSWER(QString) doOneScanNow();
    // Fetches the report into the temporary folder and opens it.
    QString doOpen(const QVariant &);
    // Asks where to save the report, fetches it there, opens it if asked.
    QString doDownloadReport(const QVariant &, const QVariant &);
    // Fetches the report into the given file, opens it if asked.
    QString doDownloadSaveReport(const QVariant &, const QVariant &, const QVariant &);

private:
    template<typename T>
    INSTRUMENT_ANSWER(T) answerInTurn(const PendingAnswer<T> &pending);
    template<typename T, typename Operation>
    INSTRUMENT_ANSWER(T) inTurn(Operation operation);
    template<typename Start, typename Finish>
    INSTRUMENT_ANSWER(QString) afterButtonWait(Start start, Finish finish);

    const QString m_defaultServerAddress;
    const QString m_settingsFileName;
    DeviceLink m_deviceLink;
    InstrumentQueue m_instrumentQueue;
    DownloadManager m_downloadManager;
};

#endif // OBJECT_H
