#include "instrument/simulator/calltrace.h"

namespace i1sim {

namespace {

constexpr std::size_t LastCallsKept = 20;

} // namespace

CallTrace::CallTrace(const std::string &fileName)
{
    open(fileName);
}

CallTrace::~CallTrace()
{
    close();
}

bool CallTrace::open(const std::string &fileName)
{
    close();
    m_file = fileName.empty() ? nullptr : std::fopen(fileName.c_str(), "a");
    return fileName.empty() || m_file;
}

void CallTrace::add(const std::string &line)
{
    m_lastCalls.push_back(line);
    if (m_lastCalls.size() > LastCallsKept)
        m_lastCalls.pop_front();
    if (!m_file)
        return;
    std::fputs(line.c_str(), m_file);
    std::fputc('\n', m_file);
    std::fflush(m_file);
}

void CallTrace::close()
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
}

} // namespace i1sim
