#ifndef OBJECT_H
#define OBJECT_H

#include "devicelink.h"

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

private:
    const QString m_defaultServerAddress;
    const QString m_settingsFileName;
    DeviceLink m_deviceLink;
};

#endif // OBJECT_H
