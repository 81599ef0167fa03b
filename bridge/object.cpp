#include "object.h"

#include "settingsstore.h"

#include <QDebug>

Object::Object()
    : m_defaultServerAddress(QStringLiteral(DEFAULT_SERVER_URL))
    , m_settingsFileName(QStringLiteral("settings.ini"))
{
}

bool Object::isConnected()
{
    return m_deviceLink.isConnected();
}

bool Object::Connected()
{
    return m_deviceLink.Connected();
}

bool Object::Disconnect()
{
    return m_deviceLink.Disconnect();
}

QString Object::getDeviceID()
{
    return QString::fromUtf8(m_deviceLink.getDeviceID());
}

QString Object::getDeviceInfo()
{
    qDebug() << "OK:" << m_deviceLink.getDeviceInfo().constData();
    return QString::fromUtf8(m_deviceLink.getDeviceInfo());
}

QString Object::getOption(const QString &key)
{
    return QString::fromUtf8(m_deviceLink.getOption(key));
}

QString Object::getIni(const QString &key)
{
    return SettingsStore().value(key, QStringLiteral("KO")).toString();
}

QString Object::setIni(const QString &key, const QString &value)
{
    SettingsStore().setValue(key, value);
    return QStringLiteral("ok");
}
