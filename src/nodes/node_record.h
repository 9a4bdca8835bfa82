#pragma once
// One metering node of the node base: the meter's network address and serial number and everything
// needed to reach it. 632 bytes, byte-packed, integers little-endian; texts are NUL-terminated
// windows-1251 (the file is exchanged between machines).
//
//   0 address  1 type code(4)  5 kind  6 framing  7 functions  8 time-out  9 attempts
//  10 name[64]   74 address[64]   138 note[64]   202 serial number(4)
// 206 schedule on  207 start h m s  210 -  211 end h m s  214 -
// 215 IP protocol(4)  219 IP port(4)  223 IP address[64]
// 287 COM(4)  291 baud(4)  295 byte size(4)  299 parity(4)  303 stop bits(4)
// 307 read-interval override flag(4)  311 read-interval override ms(4)  315 phone[317]

#include "channel/free_ports.h"

#include <QString>

#include <cstdint>

#pragma pack(push, 1)

struct NodeTime {
    std::uint8_t hour;
    std::uint8_t minute;
    std::uint8_t second;
};

class NodeRecord {
public:
    static constexpr std::int32_t kDeviceTypeCode = 0x1702;  // the meter family this program speaks to
    static constexpr int kMaxTextLength = 63;                // name, address, note, IP address
    static constexpr int kIpProtocolUdp = 0;
    static constexpr int kIpProtocolTcp = 1;

    // A zeroed record; see New for a usable one.
    NodeRecord() = default;
    // A new node of `connectionType` with the defaults: name "---", the first free port, 115200 baud,
    // 192.168.1.1:5001, extended functions, 5 attempts with a 3 s time-out (7 s over a modem).
    static NodeRecord New(int connectionType, const FreePortTable& freePorts);

    std::uint8_t NetworkAddress() const { return m_networkAddress; }
    // Refused (false, nothing changed) outside 0..255.
    bool SetNetworkAddress(int address);
    std::int32_t DeviceTypeCode() const { return m_deviceTypeCode; }
    void SetDeviceTypeCode(std::int32_t code) { m_deviceTypeCode = code; }
    int ConnectionType() const { return m_connectionType; }
    void SetConnectionType(int type) { m_connectionType = static_cast<std::uint8_t>(type); }
    int TransportProtocol() const { return m_transportProtocol; }
    void SetTransportProtocol(int protocol) { m_transportProtocol = static_cast<std::uint8_t>(protocol); }
    // 0 standard functions 3 and 16, non-zero the meter's own function.
    int FunctionSet() const { return m_functionSet; }
    void SetFunctionSet(int set) { m_functionSet = static_cast<std::uint8_t>(set); }
    int RepeatTimeoutSec() const { return m_repeatTimeoutSec; }
    void SetRepeatTimeoutSec(int seconds) { m_repeatTimeoutSec = static_cast<std::uint8_t>(seconds); }
    int RepeatCount() const { return m_repeatCount; }
    void SetRepeatCount(int count) { m_repeatCount = static_cast<std::uint8_t>(count); }

    // Texts longer than their field allows are cut; characters windows-1251 lacks become '?'.
    QString Name() const;
    void SetName(const QString& name);
    QString Address() const;
    void SetAddress(const QString& address);
    QString Note() const;
    void SetNote(const QString& note);
    QString IpAddress() const;
    void SetIpAddress(const QString& address);
    // "HOST:PORT" of an IP node ("[::1]:502" for an IPv6 literal), as a user types it elsewhere.
    QString IpEndpoint() const;
    QString PhoneNumber() const;
    void SetPhoneNumber(const QString& number);

    std::int32_t SerialNumber() const { return m_serialNumber; }
    void SetSerialNumber(std::int32_t number) { m_serialNumber = number; }

    int ScheduleEnabled() const { return m_scheduleEnabled; }
    void SetScheduleEnabled(int enabled) { m_scheduleEnabled = static_cast<std::uint8_t>(enabled); }
    NodeTime ScheduleStart() const { return m_scheduleStart; }
    void SetScheduleStart(NodeTime time) { m_scheduleStart = time; }
    NodeTime ScheduleEnd() const { return m_scheduleEnd; }
    void SetScheduleEnd(NodeTime time) { m_scheduleEnd = time; }
    // What the properties dialog does before showing a record: the flag becomes 0/1, an hour above
    // 23 and a minute or second of 60 or more become 0.
    void NormaliseSchedule();

    // 0 UDP, 1 TCP; the base stores every node as TCP.
    std::int32_t IpProtocol() const { return m_ipProtocol; }
    void SetIpProtocol(std::int32_t protocol) { m_ipProtocol = protocol; }
    std::int32_t IpPort() const { return m_ipPort; }
    void SetIpPort(std::int32_t port) { m_ipPort = port; }

    // 1-based, -1 when no port was free.
    std::int32_t ComPort() const { return m_comPort; }
    void SetComPort(std::int32_t port) { m_comPort = port; }
    std::int32_t BaudRate() const { return m_baudRate; }
    void SetBaudRate(std::int32_t rate) { m_baudRate = rate; }
    std::int32_t ByteSize() const { return m_byteSize; }
    void SetByteSize(std::int32_t size) { m_byteSize = size; }
    std::int32_t Parity() const { return m_parity; }
    void SetParity(std::int32_t parity) { m_parity = parity; }
    std::int32_t StopBits() const { return m_stopBits; }
    void SetStopBits(std::int32_t stopBits) { m_stopBits = stopBits; }
    std::int32_t ReadIntervalOverrideFlag() const { return m_readIntervalOverrideFlag; }
    void SetReadIntervalOverrideFlag(std::int32_t flag) { m_readIntervalOverrideFlag = flag; }
    std::int32_t ReadIntervalOverrideMs() const { return m_readIntervalOverrideMs; }
    void SetReadIntervalOverrideMs(std::int32_t ms) { m_readIntervalOverrideMs = ms; }

private:
    static void CheckLayout();

    std::uint8_t m_networkAddress = 0;
    std::int32_t m_deviceTypeCode = 0;
    std::uint8_t m_connectionType = 0;
    std::uint8_t m_transportProtocol = 0;
    std::uint8_t m_functionSet = 0;
    std::uint8_t m_repeatTimeoutSec = 0;
    std::uint8_t m_repeatCount = 0;
    char m_name[64] = {};
    char m_address[64] = {};
    char m_note[64] = {};
    std::int32_t m_serialNumber = 0;
    std::uint8_t m_scheduleEnabled = 0;
    NodeTime m_scheduleStart = {};
    // Reserved bytes: never read by name, kept as they came through every copy of the record.
    [[maybe_unused]] std::uint8_t m_reserved210 = 0;
    NodeTime m_scheduleEnd = {};
    [[maybe_unused]] std::uint8_t m_reserved214 = 0;
    std::int32_t m_ipProtocol = 0;
    std::int32_t m_ipPort = 0;
    char m_ipAddress[64] = {};
    std::int32_t m_comPort = 0;
    std::int32_t m_baudRate = 0;
    std::int32_t m_byteSize = 0;
    std::int32_t m_parity = 0;
    std::int32_t m_stopBits = 0;
    std::int32_t m_readIntervalOverrideFlag = 0;  // channel word A
    std::int32_t m_readIntervalOverrideMs = 0;    // channel word B
    char m_phoneNumber[317] = {};
};

#pragma pack(pop)

static_assert(sizeof(NodeTime) == 3);
static_assert(sizeof(NodeRecord) == 632);
static_assert(alignof(NodeRecord) == 1);
