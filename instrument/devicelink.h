#ifndef DEVICELINK_H
#define DEVICELINK_H

#include "buttonwait.h"
#include "i1sdk.h"

#include <QByteArray>
#include <QString>

#include <chrono>

// The application's one connection to the instrument: the handle of the
// instrument in use and the operations behind the page's instrument slots.
// Closing the instrument is Disconnect()'s job, never the destructor's.
class DeviceLink
{
public:
    // Connects at once, so the instrument is open before the window exists.
    DeviceLink();

    DeviceLink(const DeviceLink &) = delete;
    DeviceLink &operator=(const DeviceLink &) = delete;

    // Lists the instruments and opens the first; null when none is listed.
    I1_DeviceHandle connect();

    bool isConnected();
    bool Connected();
    // Closes the instrument connect finds now and resets the SDK. Always true.
    bool Disconnect();

    // Texts owned by the SDK, valid until the same key is asked again; null
    // when the SDK has no answer. These use the handle as it stands, without
    // connecting: null, or the closed one after Disconnect().
    const char *getDeviceID() const;
    const char *getOption(const QString &key) const;

    // Four lines: a line feed, a label padded to 30 characters, the answer.
    QByteArray getDeviceInfo() const;

    // Connects, waits for the button and calibrates: "DONE", "ERROR",
    // "NOT_PRESSED" or "NOT_CONNECTED". Progress goes to standard output.
    QByteArray doCalibrate();
    // Calibrates the held instrument at once: "DONE" or "ERROR".
    QByteArray doCalibrateNow();
    // Waits for the button, then measures whether it was pressed or not;
    // the density line.
    QByteArray doOneScan();
    // Measures the held instrument at once; the density line.
    QByteArray doOneScanNow();

    // Tests shorten the button wait; the application keeps the defaults.
    void setButtonWaitTiming(std::chrono::milliseconds interval, int pollLimit);

    I1_DeviceHandle handle() const { return m_device; }

private:
    bool waitForButton() const;
    QByteArray calibrate();
    QByteArray measureDensities();

    I1_DeviceHandle m_device = nullptr;
    std::chrono::milliseconds m_buttonInterval = ButtonWait::DefaultInterval;
    int m_buttonPollLimit = ButtonWait::DefaultPollLimit;
};

#endif // DEVICELINK_H
