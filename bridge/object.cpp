#include "object.h"

#include "settingsstore.h"

#include <QDebug>
#include <QUrl>

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
    return SettingsStore::text(*SettingsStore(), key, QStringLiteral("KO"));
}

QString Object::setIni(const QString &key, const QString &value)
{
    SettingsStore()->setValue(key, value);
    return QStringLiteral("ok");
}

QString Object::doCalibrate()
{
    return QString::fromUtf8(m_deviceLink.doCalibrate());
}

QString Object::doCalibrateNow()
{
    return QString::fromUtf8(m_deviceLink.doCalibrateNow());
}

QString Object::doOneScan()
{
    return QString::fromUtf8(m_deviceLink.doOneScan());
}

QString Object::doOneScanNow()
{
    return QString::fromUtf8(m_deviceLink.doOneScanNow());
}

QString Object::doOpen(const QString &url)
{
    return m_downloadManager.openReport(QUrl(url, QUrl::TolerantMode));
}

QString Object::doDownloadReport(const QString &url, bool openWhenDone)
{
    return m_downloadManager.saveReportAs(QUrl(url, QUrl::TolerantMode), openWhenDone);
}

QString Object::doDownloadSaveReport(const QString &url, const QString &fileName, bool openWhenDone)
{
    return m_downloadManager.downloadToGivenFile(
            QUrl(url, QUrl::TolerantMode), fileName, openWhenDone);
}
