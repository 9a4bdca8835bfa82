#pragma once
// The transport of an "Ethernet/Internet" channel: one IPv4 socket, either a TCP connection to the
// meter (or a gateway in front of it) or a UDP socket exchanging datagrams with one address and port.
//
// - TCP connects without blocking and waits for the peer as long as the node's answer time-out says,
//   5 s at least (kConnectTimeoutMs) and 60 s at most: a slow gateway gets its time, a dead address
//   fails in seconds or a minute instead of the system's minutes. The wait ends early, with
//   kTransportStopped and no report, when the owner asks to stop. Requests go out at once (no
//   coalescing delay).
// - UDP binds the remote port number on every local interface (shared with a local peer that binds
//   one specific address) and sends datagrams to address:port. Where that port cannot be had (below
//   1024 for a user, or held by another program) a port of the system's choosing is bound instead and
//   the monitor says so; a gateway answers to the sender's port. Only datagrams whose source is the
//   configured address are taken; anything else is dropped unseen, so no other host can slip in an
//   answer.
// - A read waits in cycles of kReadCycleMs, returns as soon as bytes are there, and polls the owner's
//   stop request every cycle. A TCP peer that closed the connection is not a failure: the read waits
//   out its time-out.
// - Failures are reported to the owner as what was being done and with which peer, then the system's
//   own text ("Ошибка передачи данных (TCP 127.0.0.1:5001): Broken pipe"), and close the socket, so the
//   next exchange fails at once until the link is opened again.

#include "channel/channel_types.h"
#include "channel/ip_socket_calls.h"

#include <netinet/in.h>
#include <QString>

#include <chrono>
#include <cstdint>

class ChannelOwner;
struct ChannelSettings;

class IpSocketLink {
public:
    static constexpr int kConnectTimeoutMs = 5000;
    static constexpr int kLongestConnectTimeoutMs = 60000;
    static constexpr int kReadCycleMs = 5;
    static constexpr int kSendLimitMs = 3000;
    // The largest UDP payload that fits an Ethernet frame unfragmented.
    static constexpr int kDatagramPiece = 1472;

    IpSocketLink() = default;
    ~IpSocketLink();
    IpSocketLink(const IpSocketLink&) = delete;
    IpSocketLink& operator=(const IpSocketLink&) = delete;

    void SetOwner(ChannelOwner* owner) { m_owner = owner; }
    // Where the framing comes from (datagrams of ASCII and stuffed frames go in pieces); null: RTU.
    void SetSettings(const ChannelSettings* settings) { m_settings = settings; }
    // How long a TCP connect may wait for `seconds` of answer time-out: kConnectTimeoutMs at least,
    // kLongestConnectTimeoutMs at most.
    static int ConnectTimeoutMs(int seconds);
    void SetConnectTimeoutMs(int ms) { m_connectTimeoutMs = ms; }
    // The local port of the open UDP socket (the remote one, or the system's choice when that was taken).
    int LocalPort() const;

    // TransportResult: 0 open, 4 failed (reported, no socket held), 3 stopped while connecting.
    int Open(int port, const QString& address, bool tcp);
    // Always 0.
    int Close();
    bool IsOpen() const { return m_connected; }

    // 0 sent, 4 failed (reported, socket closed). A count of 0 sends nothing.
    int Send(const std::uint8_t* bytes, int count);
    int Write(const std::uint8_t* bytes, int count) { return Send(bytes, count); }
    // 0 bytes appended, 1 time-out, 3 stopped, 4 failed (reported).
    int Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs);

private:
    int Connect(bool& stopped);
    int BindUdp();
    int SendPiece(const std::uint8_t* bytes, int count, std::chrono::steady_clock::time_point deadline);
    enum class Stage { kOpening, kSending, kReceiving };
    int Fail(int error, Stage stage);
    bool StopRequested() const;

    ChannelOwner* m_owner = nullptr;
    const ChannelSettings* m_settings = nullptr;
    int m_socket = -1;
    bool m_tcp = true;
    bool m_connected = false;
    QString m_address;
    std::uint16_t m_port = 0;
    int m_connectTimeoutMs = kConnectTimeoutMs;
    IpSocketCalls::SocketAddress m_peer{};
};
