#include "channel/serial_line_transport.h"

#include "channel/channel_links.h"

#include <algorithm>

bool SerialLineTransport::Connect(bool& openFailed)
{
    CCommPortClass& port = m_links.serialPort;
    port.SetModemMode(0);
    if (port.Open(m_links.settings.portNumber) != kTransportOk) {
        openFailed = true;
        return false;
    }
    const ChannelSettings& settings = m_links.settings;
    return ApplyLine(settings.byteSize, settings.stopBits, settings.parity);
}

bool SerialLineTransport::ApplyLine(int byteSize, int stopBits, int parity)
{
    CCommPortClass& port = m_links.serialPort;
    if (port.ApplyLineSettings(m_links.settings.baudRate, byteSize, stopBits, parity) != kTransportOk) {
        port.SetModemMode(0);
        port.Close();
        return false;
    }
    port.ApplyTimeouts();
    return true;
}

void SerialLineTransport::Disconnect()
{
    m_links.serialPort.Close();
}

int SerialLineTransport::QuietGapMs() const
{
    // 3.5 characters of 11 bits: 0.33 ms at 115200 baud, 4 ms at 9600; never below what a read can
    // tell apart.
    constexpr int kMinimumMs = 2;
    const int baud = std::max<int>(m_links.settings.baudRate, 1);
    return std::max(kMinimumMs, (35 * 11 * 1000 / 10 + baud - 1) / baud);
}

QString SerialLineTransport::MonitorName() const
{
    return QStringLiteral("COM%1").arg(m_links.settings.portNumber);
}
