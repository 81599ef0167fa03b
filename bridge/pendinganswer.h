#ifndef PENDINGANSWER_H
#define PENDINGANSWER_H

#include <QtGlobal>

#include <memory>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QFuture>
#include <QPromise>
#include <QVariant>

// Qt 6's web channel answers a slot at once with what it returned, or, when
// that is a future, once the future has finished (it tells by the returned
// value's type). An instrument slot returns its answer itself when the call
// ran at once, the common case, which spares the channel a future's
// machinery on every call; else a future, and the page has its answer when
// the call has had its turn.
#define INSTRUMENT_ANSWER(Type) QVariant

template<typename T>
QVariant readyAnswer(const T &value)
{
    return QVariant::fromValue(value);
}

// The answer to one of the page's instrument calls: given once the call has
// run, or dropped when its turn does not come. A dropped answer is a
// cancelled future, which the channel answers with null (it must not finish
// without a result otherwise: the channel would read the missing result).
template<typename T>
class PendingAnswer
{
public:
    PendingAnswer()
        : m_promise(std::make_shared<QPromise<T>>())
    {
        // So that the channel sees the future as one (a QFuture<void>).
        static const int registered = qRegisterMetaType<QFuture<T>>();
        Q_UNUSED(registered)
        m_promise->start();
    }

    void give(const T &value) const
    {
        m_promise->addResult(value);
        m_promise->finish();
    }
    void drop() const
    {
        m_promise->future().cancel();
        m_promise->finish();
    }

    // What the slot returns: the future, at once.
    QVariant answer() const { return QVariant::fromValue(m_promise->future()); }

private:
    std::shared_ptr<QPromise<T>> m_promise;
};

#else
#include <QEventLoop>

#include <optional>

// Qt 5's web channel answers when the slot returns: an instrument slot waits
// for its answer with Qt's events running. The engine goes on only once the
// slot has returned.
#define INSTRUMENT_ANSWER(Type) Type

template<typename T>
T readyAnswer(const T &value)
{
    return value;
}

// The answer to one of the page's instrument calls: given once the call has
// run, or dropped when its turn does not come (the page gets the type's
// empty value).
template<typename T>
class PendingAnswer
{
public:
    void give(const T &value) const
    {
        m_state->value = value;
        end();
    }
    void drop() const { end(); }

    // What the slot returns, once given or dropped: meanwhile Qt's events
    // run. When the thread's event loops are told to end first (the
    // application quits), applicationQuits() ends the call.
    template<typename Quitting>
    T answer(Quitting applicationQuits) const
    {
        if (!m_state->ended) {
            QEventLoop loop;
            m_state->loop = &loop;
            loop.exec();
            m_state->loop = nullptr;
        }
        if (!m_state->ended)
            applicationQuits();
        return m_state->value.value_or(T());
    }

private:
    struct State
    {
        std::optional<T> value;
        bool ended = false;
        QEventLoop *loop = nullptr;
    };

    void end() const
    {
        m_state->ended = true;
        if (m_state->loop)
            m_state->loop->quit();
    }

    std::shared_ptr<State> m_state = std::make_shared<State>();
};
#endif

#endif // PENDINGANSWER_H
