#ifndef SIMULATOR_EVENTTHREAD_H
#define SIMULATOR_EVENTTHREAD_H

#include "instrument/i1sdk.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace i1sim {

// The simulator's own thread, from which device events reach the application
// at their due time, as they come from a real instrument's USB thread.
class EventThread
{
public:
    // A null handler stands for the one registered when the event is due.
    using Delivery
            = std::function<void(int32_t code, I1_DeviceEventHandler handler, void *context)>;

    explicit EventThread(Delivery deliver);
    ~EventThread();

    EventThread(const EventThread &) = delete;
    EventThread &operator=(const EventThread &) = delete;

    // Automatic events are the simulated button presses that follow a
    // registration; clearAutomatic() drops those still pending.
    void schedule(int32_t code, std::chrono::milliseconds delay, bool automatic);
    // Delivers at once from the event thread and returns after delivery, or
    // after the event was cleared before it; to the given handler and context
    // instead of the registered ones if given.
    void deliverAndWait(int32_t code, bool automatic, I1_DeviceEventHandler handler = nullptr,
            void *context = nullptr);
    void clearAutomatic();
    void clearAll();

private:
    struct Event
    {
        int32_t code;
        bool automatic;
        uint64_t sequence;
        I1_DeviceEventHandler handler;
        void *context;
    };
    using Clock = std::chrono::steady_clock;

    void run();
    uint64_t enqueue(Event event, Clock::time_point due);
    bool isPending(uint64_t sequence) const;

    Delivery m_deliver;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::multimap<Clock::time_point, Event> m_pending;
    uint64_t m_nextSequence = 1;
    uint64_t m_delivering = 0;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace i1sim

#endif
