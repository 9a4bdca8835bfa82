#pragma once
// A first-in first-out queue of 32-bit codes with its own lock. The driver keeps two: the command queue,
// whose lock also guards the requester slot, and the service queue.

#include <QMutex>
#include <QWaitCondition>

#include <cstdint>
#include <deque>

class CommandRequester;

class CommandQueue {
public:
    void Push(std::uint32_t code);
    // The requester slot is overwritten by every enqueue that names one, null included.
    void Push(std::uint32_t code, CommandRequester* requester);

    // Takes the first code, waiting up to `timeoutMs` for one; false when none came.
    bool Take(std::uint32_t& code, int timeoutMs = 0);
    // Drops every code not yet taken and says how many there were.
    int DropAll();
    // Ends every wait in Take at once (the driver is shutting down).
    void Wake();

    CommandRequester* Requester() const;
    // Clears the slot if it holds `requester` (a page going away).
    void Forget(const CommandRequester* requester);

private:
    mutable QMutex m_lock;
    QWaitCondition m_arrived;
    std::deque<std::uint32_t> m_codes;
    CommandRequester* m_requester = nullptr;
};
