#include "instrument/simulator/eventthread.h"

#include <algorithm>

namespace i1sim {

EventThread::EventThread(Delivery deliver)
    : m_deliver(std::move(deliver))
    , m_thread([this] { run(); })
{
}

EventThread::~EventThread()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

uint64_t EventThread::enqueue(Event event, Clock::time_point due)
{
    uint64_t sequence = 0;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        sequence = event.sequence = m_nextSequence++;
        m_pending.emplace(due, event);
    }
    m_wake.notify_all();
    return sequence;
}

void EventThread::schedule(int32_t code, std::chrono::milliseconds delay, bool automatic)
{
    enqueue(Event {code, automatic, 0, nullptr, nullptr}, Clock::now() + delay);
}

bool EventThread::isPending(uint64_t sequence) const
{
    return std::any_of(m_pending.begin(), m_pending.end(),
            [sequence](const auto &entry) { return entry.second.sequence == sequence; });
}

void EventThread::deliverAndWait(
        int32_t code, bool automatic, I1_DeviceEventHandler handler, void *context)
{
    // Due before anything else pending, so it is the next one delivered.
    const uint64_t sequence
            = enqueue(Event {code, automatic, 0, handler, context}, Clock::time_point::min());
    std::unique_lock<std::mutex> lock(m_mutex);
    m_wake.wait(
            lock, [&] { return m_stopping || (m_delivering != sequence && !isPending(sequence)); });
}

void EventThread::clearAutomatic()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_pending.begin(); it != m_pending.end();)
            it = it->second.automatic ? m_pending.erase(it) : std::next(it);
    }
    m_wake.notify_all();
}

void EventThread::clearAll()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending.clear();
    }
    m_wake.notify_all();
}

void EventThread::run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_stopping) {
        if (m_pending.empty()) {
            m_wake.wait(lock);
            continue;
        }
        const auto next = m_pending.begin();
        if (next->first > Clock::now()) {
            // A copy: while this waits, the event may be dropped and its node freed.
            const Clock::time_point due = next->first;
            m_wake.wait_until(lock, due);
            continue;
        }
        const Event event = next->second;
        m_pending.erase(next);
        m_delivering = event.sequence;
        lock.unlock();
        m_deliver(event.code, event.handler, event.context);
        lock.lock();
        m_delivering = 0;
        m_wake.notify_all();
    }
}

} // namespace i1sim
