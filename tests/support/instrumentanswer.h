#ifndef INSTRUMENTANSWER_H
#define INSTRUMENTANSWER_H

#include <QCoreApplication>
#include <QDeadlineTimer>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QFuture>
#include <QVariant>

// An instrument slot's answer in a test. Qt 6's slots return the answer, or
// a future of it, which is waited for here with the event loop running; a
// dropped call, and one not answered within the time, give the type's empty
// value.
template<typename T>
T answerOf(const QVariant &answer, int timeoutMs = 30000)
{
    if (answer.metaType() != QMetaType::fromType<QFuture<T>>())
        return answer.value<T>();
    const QFuture<T> future = answer.value<QFuture<T>>();
    const QDeadlineTimer deadline(timeoutMs);
    while (!future.isFinished() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return future.isFinished() && future.resultCount() > 0 ? future.result() : T();
}

// Calls back with the answer once it has come, as the page's callback is
// called; a dropped call's answer is the type's empty value.
template<typename T, typename Callback>
void whenAnswered(const QVariant &answer, QObject *context, Callback callback)
{
    if (answer.metaType() != QMetaType::fromType<QFuture<T>>()) {
        callback(answer.value<T>());
        return;
    }
    answer.value<QFuture<T>>()
            .then(context, [callback](const T &value) { callback(value); })
            .onCanceled(context, [callback] { callback(T()); });
}
#else
// Qt 5's slots have answered by the time they return.
template<typename T>
T answerOf(const T &answer)
{
    return answer;
}

template<typename T, typename Callback>
void whenAnswered(const T &answer, QObject *, Callback callback)
{
    callback(answer);
}
#endif

#endif // INSTRUMENTANSWER_H
