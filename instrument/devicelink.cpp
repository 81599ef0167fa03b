#include "instrument/devicelink.h"

#include "instrument/densityline.h"

#include <QDebug>

#include <cstdio>
#include <string>

namespace {

// Progress is flushed at once: whoever watches the output should see the
// calibration start while it runs.
void printProgress(const char *format, const char *sdkText)
{
    std::printf(format, sdkText ? sdkText : "");
    std::fflush(stdout);
}

} // namespace

DeviceLink::DeviceLink()
{
    connect();
}

I1_DeviceHandle DeviceLink::connect()
{
    // With no device held, a close of the null handle before enumerating, as
    // the link has always made it: the SDK accepts it (i1sdk.h), and the
    // SDK's call trace that tests and support read begins each connect with it.
    if (!m_device)
        I1_CloseDevice(nullptr);

    I1_DeviceHandle *devices = nullptr;
    uint32_t count = 0;
    I1_GetDevices(&devices, &count);

    // A list that is missing although a count was given is no device either.
    if (count == 0 || !devices) {
        qDebug() << "No device connected";
        m_device = nullptr;
        return nullptr;
    }
    qDebug() << "Number of connected devices: " << count;
    m_device = devices[0];
    I1_OpenDevice(m_device);
    return m_device;
}

bool DeviceLink::isConnected()
{
    qDebug() << "test is connected";
    return connect() != nullptr;
}

bool DeviceLink::Connected()
{
    connect();
    return m_device != nullptr;
}

bool DeviceLink::Disconnect()
{
    connect();
    qDebug() << "Disconnect";
    if (m_device)
        I1_CloseDevice(m_device);
    I1_SetGlobalOption("Reset", "All");
    return true;
}

const char *DeviceLink::getDeviceID() const
{
    return I1_GetOptionD(m_device, "SerialNumber");
}

const char *DeviceLink::getOption(const QString &key) const
{
    const std::string utf8Key = key.toStdString();
    return I1_GetOptionD(m_device, utf8Key.c_str());
}

QByteArray DeviceLink::getDeviceInfo() const
{
    static const struct
    {
        const char *label;
        const char *key;
    } lines[] = {
            {"\nSERIAL_NUMBER:               ", "SerialNumber"},
            {"\nMEASUREMENT_MODE:            ", "MeasurementMode"},
            {"\nLAST_ERROR:                  ", "LastError"},
            {"\nAVAILABLE_MEASUREMENT_MODES: ", "AvailableMeasurementModes"},
    };
    QByteArray info;
    for (const auto &line : lines) {
        info += line.label;
        info += I1_GetOptionD(m_device, line.key); // a null answer appends nothing
    }
    return info;
}

std::optional<QByteArray> DeviceLink::startCalibration()
{
    if (!isConnected())
        return QByteArrayLiteral("NOT_CONNECTED");
    return std::nullopt;
}

QByteArray DeviceLink::finishCalibration(bool pressed)
{
    return pressed ? calibrate() : QByteArrayLiteral("NOT_PRESSED");
}

QByteArray DeviceLink::doCalibrateNow()
{
    qDebug() << "Calibrating";
    return calibrate();
}

QByteArray DeviceLink::calibrate()
{
    I1_SetOption(m_device, "MeasurementMode", "ReflectanceSpot");
    I1_SetOption(m_device, "Colorimetric.DensityFilterMode", "Auto");
    I1_SetOption(m_device, "Colorimetric.WhiteBase", "Absolute");
    printProgress("Calibrating '%s' ...", I1_GetOptionD(m_device, "MeasurementMode"));

    if (I1_Calibrate(m_device) == 0)
        return QByteArrayLiteral("DONE");
    printProgress("\n FAIL (last error: %s)", I1_GetOptionD(m_device, "LastError"));
    return QByteArrayLiteral("ERROR");
}

QByteArray DeviceLink::doOneScanNow()
{
    // The SDK writes nothing for a missing or closed device: zeros then.
    float densities[4] = {};
    int32_t densityIndex = 0;
    I1_TriggerMeasurement(m_device);
    I1_GetDensities(m_device, densities, &densityIndex, 0);
    return DensityLine::of(densities);
}
