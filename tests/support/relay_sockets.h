#pragma once
// The plain socket steps the loopback relays of the tests share (support/counting_proxy.h,
// support/bus_relay.h): a listener on a free 127.0.0.1 port, a connection to a loopback port, a whole
// write, and the pipe that wakes a relay's poll loop to end it.

#include <sys/types.h>

// A TCP listener on a free port of 127.0.0.1; -1 on failure, otherwise its port in `port`.
int ListenOnLoopback(int backlog, int* port);
// A connection to `address` (network byte order) at `port`, Nagle off; -1 on failure.
int ConnectTo(unsigned address, int port);
bool WriteAll(int fd, const char* bytes, ssize_t size);

// Read end for poll; Raise() makes it readable for good. Closes both ends with the object.
class WakePipe {
public:
    WakePipe();
    ~WakePipe();
    WakePipe(const WakePipe&) = delete;
    WakePipe& operator=(const WakePipe&) = delete;
    bool IsValid() const { return m_fds[0] >= 0; }
    int Fd() const { return m_fds[0]; }
    void Raise();

private:
    int m_fds[2] = {-1, -1};
};
