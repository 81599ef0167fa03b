#include "instrument/instrumentqueue.h"

InstrumentQueue::InstrumentQueue()
{
    connect(&m_buttonWait, &ButtonWait::finished, this, &InstrumentQueue::waitFinished);
}

void InstrumentQueue::enqueue(Call call)
{
    m_queued.push_back(std::move(call));
    runQueued();
}

void InstrumentQueue::abandon()
{
    std::deque<Call> dropped;
    dropped.swap(m_queued);
    if (m_buttonWait.isRunning()) {
        m_abandoning = true;
        m_buttonWait.end();
        m_abandoning = false;
    }
    for (const Call &call : dropped)
        call.drop();
}

void InstrumentQueue::setButtonWaitTiming(std::chrono::milliseconds interval, int pollLimit)
{
    m_buttonWait.setTiming(interval, pollLimit);
}

// A wait that ends before start() returns (a press signalled already) comes
// back here through waitFinished(); the loop further up then goes on.
void InstrumentQueue::runQueued()
{
    if (m_running)
        return;
    m_running = true;
    while (!m_buttonWait.isRunning() && !m_queued.empty()) {
        const Call call = std::move(m_queued.front());
        m_queued.pop_front();
        if (call.start()) {
            m_afterWait = call.afterWait;
            m_buttonWait.start();
        }
    }
    m_running = false;
}

void InstrumentQueue::waitFinished(bool pressed)
{
    const auto afterWait = std::move(m_afterWait);
    m_afterWait = nullptr;
    afterWait(m_abandoning ? WaitEnd::Abandoned : pressed ? WaitEnd::Pressed : WaitEnd::NotPressed);
    runQueued();
}
