#include "bridge/object.h"

#include "settings/settingsstore.h"

#include <QDebug>
#include <QEvent>
#include <QUrl>

namespace {

QUrl reportUrl(const QVariant &url)
{
    return QUrl(url.toString(), QUrl::TolerantMode);
}

} // namespace

Object::Object()
    : m_defaultServerAddress(QStringLiteral(DEFAULT_SERVER_URL))
    , m_settingsFileName(QStringLiteral("settings.ini"))
{
}

void Object::abandonInstrumentCalls()
{
    m_instrumentQueue.abandon();
}

void Object::setButtonWaitTiming(std::chrono::milliseconds interval, int pollLimit)
{
    m_instrumentQueue.setButtonWaitTiming(interval, pollLimit);
}

// What a slot returns for a call that has to wait its turn. With Qt 5 the
// slot waits in a local event loop, which also ends when the application
// quits: the waiting calls end then.
template<typename T>
INSTRUMENT_ANSWER(T) Object::answerInTurn(const PendingAnswer<T> &pending)
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
    return pending.answer();
#else
    return pending.answer([this] { abandonInstrumentCalls(); });
#endif
}

// An instrument operation that answers at once, when its turn comes: now,
// unless a call runs or waits.
template<typename T, typename Operation>
INSTRUMENT_ANSWER(T) Object::inTurn(Operation operation)
{
    if (m_instrumentQueue.isIdle())
        return readyAnswer<T>(operation());
    const PendingAnswer<T> pending;
    m_instrumentQueue.enqueue({[pending, operation] {
                                   pending.give(operation());
                                   return false;
                               },
            {}, [pending] { pending.drop(); }});
    return answerInTurn(pending);
}

// A procedure around the button wait: start answers early (no instrument)
// or lets the wait come; finish answers after it, or nothing for a page
// that has gone.
template<typename Start, typename Finish>
INSTRUMENT_ANSWER(QString) Object::afterButtonWait(Start start, Finish finish)
{
    const PendingAnswer<QString> pending;
    m_instrumentQueue.enqueue({[pending, start] {
                                   const std::optional<QByteArray> early = start();
                                   if (early)
                                       pending.give(QString::fromUtf8(*early));
                                   return !early;
                               },
            [pending, finish](InstrumentQueue::WaitEnd end) {
                const std::optional<QByteArray> answer = finish(end);
                if (answer)
                    pending.give(QString::fromUtf8(*answer));
                else
                    pending.drop();
            },
            [pending] { pending.drop(); }});
    return answerInTurn(pending);
}

INSTRUMENT_ANSWER(bool) Object::isConnected()
{
    return inTurn<bool>([this] { return m_deviceLink.isConnected(); });
}

INSTRUMENT_ANSWER(bool) Object::Connected()
{
    return inTurn<bool>([this] { return m_deviceLink.Connected(); });
}

INSTRUMENT_ANSWER(bool) Object::Disconnect()
{
    return inTurn<bool>([this] { return m_deviceLink.Disconnect(); });
}

INSTRUMENT_ANSWER(QString) Object::getDeviceID()
{
    return inTurn<QString>([this] { return QString::fromUtf8(m_deviceLink.getDeviceID()); });
}

INSTRUMENT_ANSWER(QString) Object::getDeviceInfo()
{
    return inTurn<QString>([this] {
        // Built twice on purpose, as it always was: the instrument answers
        // the four option queries again for the page's copy, and the SDK's
        // call trace, which tests and support read, shows both rounds.
        qDebug() << "OK:" << m_deviceLink.getDeviceInfo().constData();
        return QString::fromUtf8(m_deviceLink.getDeviceInfo());
    });
}

INSTRUMENT_ANSWER(QString) Object::getOption(const QVariant &keyArgument)
{
    const QString key = keyArgument.toString();
    return inTurn<QString>([this, key] { return QString::fromUtf8(m_deviceLink.getOption(key)); });
}

QString Object::getIni(const QVariant &key)
{
    return SettingsStore::text(*SettingsStore(), key.toString(), QStringLiteral("KO"));
}

QString Object::setIni(const QVariant &key, const QVariant &value)
{
    SettingsStore()->setValue(key.toString(), value.toString());
    return QStringLiteral("ok");
}

INSTRUMENT_ANSWER(QString) Object::doCalibrate()
{
    return afterButtonWait([this] { return m_deviceLink.startCalibration(); },
            [this](InstrumentQueue::WaitEnd end) -> std::optional<QByteArray> {
                return m_deviceLink.finishCalibration(end == InstrumentQueue::WaitEnd::Pressed);
            });
}

INSTRUMENT_ANSWER(QString) Object::doCalibrateNow()
{
    return inTurn<QString>([this] { return QString::fromUtf8(m_deviceLink.doCalibrateNow()); });
}

// After a time-out the scan measures all the same; for a page that has gone
// it measures nothing.
INSTRUMENT_ANSWER(QString) Object::doOneScan()
{
    return afterButtonWait([] { return std::optional<QByteArray>(); },
            [this](InstrumentQueue::WaitEnd end) -> std::optional<QByteArray> {
                if (end == InstrumentQueue::WaitEnd::Abandoned)
                    return std::nullopt;
                return m_deviceLink.doOneScanNow();
            });
}

INSTRUMENT_ANSWER(QString) Object::doOneScanNow()
{
    return inTurn<QString>([this] { return QString::fromUtf8(m_deviceLink.doOneScanNow()); });
}

QString Object::doOpen(const QVariant &url)
{
    return m_downloadManager.openReport(reportUrl(url));
}

QString Object::doDownloadReport(const QVariant &url, const QVariant &openWhenDone)
{
    return m_downloadManager.saveReportAs(reportUrl(url), openWhenDone.toBool());
}

QString Object::doDownloadSaveReport(
        const QVariant &url, const QVariant &fileName, const QVariant &openWhenDone)
{
    return m_downloadManager.downloadToGivenFile(
            reportUrl(url), fileName.toString(), openWhenDone.toBool());
}

bool Object::event(QEvent *event)
{
    if (event->type() == QEvent::DeferredDelete)
        return true;
    return QObject::event(event);
}
