#include "protocol/command_queue.h"

#include <QMutexLocker>

void CommandQueue::Push(std::uint32_t code)
{
    QMutexLocker lock(&m_lock);
    m_codes.push_back(code);
    m_arrived.wakeAll();
}

void CommandQueue::Push(std::uint32_t code, CommandRequester* requester)
{
    QMutexLocker lock(&m_lock);
    m_codes.push_back(code);
    m_requester = requester;
    m_arrived.wakeAll();
}

bool CommandQueue::Take(std::uint32_t& code, int timeoutMs)
{
    QMutexLocker lock(&m_lock);
    if (m_codes.empty() && timeoutMs > 0)
        m_arrived.wait(&m_lock, QDeadlineTimer(timeoutMs));
    if (m_codes.empty())
        return false;
    code = m_codes.front();
    m_codes.pop_front();
    return true;
}

int CommandQueue::DropAll()
{
    QMutexLocker lock(&m_lock);
    const int dropped = int(m_codes.size());
    m_codes.clear();
    return dropped;
}

void CommandQueue::Wake()
{
    QMutexLocker lock(&m_lock);
    m_arrived.wakeAll();
}

CommandRequester* CommandQueue::Requester() const
{
    QMutexLocker lock(&m_lock);
    return m_requester;
}

void CommandQueue::Forget(const CommandRequester* requester)
{
    QMutexLocker lock(&m_lock);
    if (m_requester == requester)
        m_requester = nullptr;
}
