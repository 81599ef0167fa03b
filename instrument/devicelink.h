#ifndef DEVICELINK_H
#define DEVICELINK_H

#include "instrument/i1sdk.h"

#include <QByteArray>
#include <QString>

#include <optional>

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

    // doCalibrate runs in two parts around the button wait. The first
    // connects: "NOT_CONNECTED" when no instrument is found, else nothing,
    // and the wait comes next. The second calibrates when the button was
    // pressed: "DONE" or "ERROR", else "NOT_PRESSED". Progress goes to
    // standard output.
    std::optional<QByteArray> startCalibration();
    QByteArray finishCalibration(bool pressed);
    // Calibrates the held instrument at once: "DONE" or "ERROR".
    QByteArray doCalibrateNow();
    // Measures the held instrument at once; the density line. doOneScan
    // measures so after its wait, whether the button was pressed or not.
    QByteArray doOneScanNow();

    I1_DeviceHandle handle() const { return m_device; }

private:
    QByteArray calibrate();

    I1_DeviceHandle m_device = nullptr;
};

#endif // DEVICELINK_H
