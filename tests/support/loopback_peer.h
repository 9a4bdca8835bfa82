#pragma once
// The far end of a loopback IP link in tests: a plain IPv4 socket that plays the meter (TCP listener or
// connection, UDP peer on any 127.x.y.z address) or a stranger. Closed when it goes out of scope.

#include <QByteArray>

class PeerSocket {
public:
    // SOCK_STREAM or SOCK_DGRAM.
    explicit PeerSocket(int type);
    ~PeerSocket();
    PeerSocket(PeerSocket&& other) noexcept;
    PeerSocket(const PeerSocket&) = delete;
    PeerSocket& operator=(const PeerSocket&) = delete;
    PeerSocket& operator=(PeerSocket&&) = delete;

    int Fd() const { return m_fd; }
    void Close();

    // Binds to address:port (port 0: any free one); answers the port, -1 on failure. `reuse` lets a
    // wildcard-bound socket share the port.
    int Bind(const char* address, int port, bool reuse);
    // A TCP listener on a free loopback port; answers the port, -1 on failure.
    int Listen(int backlog);
    // The next connection of a listener, waiting up to timeoutMs (an invalid socket when none came).
    PeerSocket Accept(int timeoutMs) const;

    bool WaitReadable(int timeoutMs) const;
    // One datagram (or what a stream has at hand), waiting up to timeoutMs; empty when nothing came.
    QByteArray Receive(int timeoutMs) const;
    // Stream bytes until `count` arrived, the stream ended or timeoutMs passed.
    QByteArray ReceiveStream(int count, int timeoutMs) const;
    bool Send(const QByteArray& bytes) const;
    bool SendTo(const QByteArray& bytes, const char* address, int port) const;

private:
    explicit PeerSocket(int fd, bool) : m_fd(fd) {}
    int m_fd;
};
