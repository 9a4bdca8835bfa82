#pragma once
// CTransmitChanel: the one object through which a link exchanges bytes with a device. It holds the
// settings of the link, owns one transport of each kind, opens and closes the selected one, puts an
// outgoing Modbus RTU unit into the selected wire framing and gathers incoming bytes until a complete,
// valid answer frame is there. Every call blocks the calling thread; only the owner's stop request
// crosses threads.

#include "channel/channel_types.h"
#include "channel/ip_socket_link.h"
#include "channel/serial_port.h"
#include "channel/shared_memory_link.h"

#include <QString>

#include <cstdint>
#include <memory>

class ChannelOwner;
class ModemControl;
class UsbTransport;

// Everything a channel is configured with, at the values a new channel starts from.
struct ChannelSettings {
    std::int32_t kind = kChannelDirect;
    std::int32_t tcp = 1;  // 1 TCP, 0 UDP
    std::int32_t framing = kFramingRtu;
    QString ipAddress;
    QString modemInitString;
    QString phoneNumber;
    QString spareText;  // kept with the others, read by nothing
    std::int32_t ipPort = 0;
    std::int32_t portNumber = 1;  // COM number, 1-based
    std::int32_t baudRate = 115200;
    std::int32_t dialMode = 1;  // 0 pulse, otherwise tone
    std::int32_t readIntervalOverrideFlag = 0;
    std::int32_t readIntervalOverrideMs = 0;
    std::int32_t modemConnectTimeoutSec = 120;
    std::int32_t answerTimeoutSec = 3;
    std::int32_t connectTimeoutSec = 0;  // TCP connect wait; 0: from the answer time-out
    std::int32_t attempts = 5;
    std::int32_t byteSize = 0;
    std::int32_t parity = 0;    // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::int32_t stopBits = 0;  // 0 one, 1 one and a half, 2 two
    std::int32_t modemType = 0; // 0 GSM, 1 wired, 2 user string
    std::int32_t flagPlacement = 0;  // StuffedFlagPlacement
    std::int32_t usbDeviceIndex = 0; // 0..5
    std::int32_t modemConnected = 0;
    std::int32_t sharedMemoryLinkNumber = 0;  // zero-based
    std::uint8_t answerLengthCheck = 1;
};

class CTransmitChanel {
public:
    CTransmitChanel();
    ~CTransmitChanel();
    CTransmitChanel(const CTransmitChanel&) = delete;
    CTransmitChanel& operator=(const CTransmitChanel&) = delete;

    // Stores the owner here and in every transport; null silences all reports.
    void SetOwner(ChannelOwner* owner);
    ChannelOwner* Owner() const { return m_owner; }

    ChannelSettings& Settings() { return m_settings; }
    const ChannelSettings& Settings() const { return m_settings; }

    // Opens the transport of the kind. `openFailed` (written false first) tells a device that could
    // not be opened from a failure after it was.
    bool Connect(bool* openFailed = nullptr);
    // Closes the transport of the kind (hanging up a connected modem first). Always true.
    bool Disconnect();

    // Puts the RTU unit (its CRC in the last two bytes) into the transmit buffer in the wire framing.
    bool PrepareBufferByProtocol(const std::uint8_t* frame, int length);
    // Prepares the frame and hands it to the transport.
    bool WriteData(const std::uint8_t* frame, int length);
    // Gathers bytes until a valid answer frame is in `dest`: ReadResult.
    int ReadData(std::uint8_t* dest, int capacity, std::uint16_t& outLength, int timeoutMs);

    const std::uint8_t* TransmitBuffer() const { return m_transmit; }
    std::uint16_t TransmitLength() const { return m_transmitLength; }
    const std::uint8_t* ReceiveBuffer() const { return m_receive; }
    std::uint16_t ReceiveLength() const { return m_receiveLength; }
    std::uint16_t MbapTransaction() const { return m_mbapTransaction; }

    // The serial port is what the owner hands out as its serial port object.
    CCommPortClass& SerialPort() { return m_serialPort; }
    IpSocketLink& IpSocket() { return m_ipSocket; }
    CMapFile& MapFile() { return m_mapFile; }
    UsbTransport* Usb() { return m_usb.get(); }
    void SetUsbTransport(std::unique_ptr<UsbTransport> usb);
    ModemControl* Modem() { return m_modem.get(); }
    void SetModemControl(std::unique_ptr<ModemControl> modem);

private:
    bool ConnectSerial(bool* openFailed);
    bool ConnectModem(bool* openFailed);
    bool ApplySerialLine(int byteSize, int stopBits, int parity);
    // One transport read into the free part of the receive buffer: -1 to go on, else a ReadResult.
    int ReadMore(int timeoutMs);
    int ReadMoreUsb(int timeoutMs);
    // 1 when nothing but (part of) the request's echo came, else 2.
    int TimeoutResult() const;
    // Modem message, overflow and frame checks after a read: -1 to go on, else a ReadResult.
    int ExamineReceived(std::uint8_t* dest, int capacity, std::uint16_t& outLength);
    // ExamineReceived, and when a whole answer's length is there but no answer: one short listen for the
    // line to fall quiet, then 2 (damaged) at once instead of at the end of the time-out.
    int ExamineSettled(std::uint8_t* dest, int capacity, std::uint16_t& outLength, int leftMs);
    // How long the line must stay quiet for a frame to be over: 3.5 characters on a serial line.
    int QuietGapMs() const;
    void ReportSendLimit(bool tooLong);
    void Report(const char* text);

    ChannelOwner* m_owner = nullptr;
    ChannelSettings m_settings;
    CCommPortClass m_serialPort;
    IpSocketLink m_ipSocket;
    CMapFile m_mapFile;
    std::unique_ptr<UsbTransport> m_usb;
    std::unique_ptr<ModemControl> m_modem;

    std::uint8_t m_transmit[kExchangeBufferSize] = {};
    std::uint16_t m_transmitLength = 0;
    std::uint8_t m_receive[kExchangeBufferSize] = {};
    std::uint16_t m_receiveLength = 0;
    std::uint16_t m_mbapTransaction = 0;
};
