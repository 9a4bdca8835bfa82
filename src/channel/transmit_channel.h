#pragma once
// CTransmitChanel: the one object through which a link exchanges bytes with a device. It holds the
// settings of the link and one link object of each sort, drives them through the transport of its
// kind, puts an outgoing Modbus RTU unit into the selected wire framing and gathers incoming bytes until
// a complete, valid answer frame is there. Every call blocks the calling thread; only the owner's stop
// request crosses threads.

#include "channel/channel_links.h"
#include "channel/channel_types.h"

#include <QString>

#include <cstdint>
#include <memory>

class ChannelTransport;

class CTransmitChanel {
public:
    CTransmitChanel();
    ~CTransmitChanel();
    CTransmitChanel(const CTransmitChanel&) = delete;
    CTransmitChanel& operator=(const CTransmitChanel&) = delete;

    // Stores the owner here and in every link; null silences all reports.
    void SetOwner(ChannelOwner* owner);
    ChannelOwner* Owner() const { return m_links.owner; }

    ChannelSettings& Settings() { return m_links.settings; }
    const ChannelSettings& Settings() const { return m_links.settings; }

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

    // The exchange monitor's head for a block of `count` bytes, "(0008) COM1 Out" ("In " when
    // received); empty for a kind nobody knows.
    QString MonitorHead(bool transmitted, int count);
    // Whether a modem connection stands (it is worth keeping while the meter behind it is not answering).
    bool ModemLineUp();

    const std::uint8_t* TransmitBuffer() const { return m_transmit; }
    std::uint16_t TransmitLength() const { return m_transmitLength; }
    const std::uint8_t* ReceiveBuffer() const { return m_receive; }
    std::uint16_t ReceiveLength() const { return m_receiveLength; }
    std::uint16_t MbapTransaction() const { return m_mbapTransaction; }

    // The serial port serves the direct line and the modem.
    CCommPortClass& SerialPort() { return m_links.serialPort; }
    IpSocketLink& IpSocket() { return m_links.ipSocket; }
    CMapFile& MapFile() { return m_links.mapFile; }
    UsbTransport* Usb() { return m_links.usb.get(); }
    void SetUsbTransport(std::unique_ptr<UsbTransport> usb);
    ModemControl* Modem() { return m_links.modem.get(); }
    void SetModemControl(std::unique_ptr<ModemControl> modem);

private:
    // The transport of the current kind, built when the kind is first used; null for an unknown kind.
    ChannelTransport* Transport();
    // One transport read into the free part of the receive buffer: -1 to go on, else a ReadResult.
    int ReadMore(ChannelTransport& transport, int timeoutMs);
    // 1 when nothing but (part of) the request's echo came, else 2.
    int TimeoutResult() const;
    // Line message, overflow and frame checks after a read: -1 to go on, else a ReadResult.
    int ExamineReceived(ChannelTransport& transport, std::uint8_t* dest, int capacity, std::uint16_t& outLength);
    // ExamineReceived, and when a whole answer's length is there but no answer: one short listen for the
    // line to fall quiet, then 2 (damaged) at once instead of at the end of the time-out.
    int ExamineSettled(ChannelTransport& transport, std::uint8_t* dest, int capacity, std::uint16_t& outLength,
                       int leftMs);
    void ReportSendLimit(bool tooLong);
    void Report(const char* text);

    ChannelLinks m_links;
    std::unique_ptr<ChannelTransport> m_transport;
    std::int32_t m_transportKind = 0;

    std::uint8_t m_transmit[kExchangeBufferSize] = {};
    std::uint16_t m_transmitLength = 0;
    std::uint8_t m_receive[kExchangeBufferSize] = {};
    std::uint16_t m_receiveLength = 0;
    std::uint16_t m_mbapTransaction = 0;
};
