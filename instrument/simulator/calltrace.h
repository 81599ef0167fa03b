#ifndef SIMULATOR_CALLTRACE_H
#define SIMULATOR_CALLTRACE_H

#include <cstdio>
#include <deque>
#include <string>

namespace i1sim {

// The SDK calls as they arrive, one line each: appended to the trace file
// when one is configured, and the last ones kept for i1simctl status whether
// or not they are traced. The simulator's state lock guards it.
class CallTrace
{
public:
    explicit CallTrace(const std::string &fileName);
    ~CallTrace();

    CallTrace(const CallTrace &) = delete;
    CallTrace &operator=(const CallTrace &) = delete;

    // Appends to this file from now on, to none when the name is empty: false,
    // with errno set, when it cannot be opened.
    bool open(const std::string &fileName);
    void add(const std::string &line);
    const std::deque<std::string> &lastCalls() const { return m_lastCalls; }
    void forgetLastCalls() { m_lastCalls.clear(); }

private:
    void close();

    FILE *m_file = nullptr;
    std::deque<std::string> m_lastCalls;
};

} // namespace i1sim

#endif
