#include "devicelink.h"

#include <QDebug>

#include <string>

DeviceLink::DeviceLink()
{
    connect();
}

I1_DeviceHandle DeviceLink::connect()
{
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
