#ifndef PENDINGANSWER_H
#define PENDINGANSWER_H

#include <QtGlobal>

#include <memory>

#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
#include <QFuture>
#include <QPromise>

// Qt 6's web channel answers a slot that returns a future once the future
// has finished: an instrument slot returns at once, and the page has its
// answer when the call has had its turn.
#define INSTRUMENT_ANSWER(Type) QFuture<Type>

// The answer of a call that ran at once. Through a promise on every Qt 6:
// QtFuture::makeReadyFuture() is deprecated from Qt 6.6 on, and its
// successor came only then.
template<typename T>
QFuture<T> readyAnswer(const T &value)
{
    QPromise<T> promise;
    promise.start();
    promise.addResult(value);
    promise.finish();
    return promise.future();
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

    // What the slot returns: the future, at once. The callback for a quitting
    // application is for Qt 5's slots.
    template<typename Quitting>
    QFuture<T> answer(Quitting) const
    {
        return m_promise->future();
    }

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
