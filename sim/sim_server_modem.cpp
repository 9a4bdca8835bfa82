// SimServer with a modem in front of the meter: the terminal's bytes go to the modem, the data it
// passes on goes to the meter's session, and the modem's own answers go straight back to the line.

#include "sim_server.h"

#include "channel/serial_custom_baud.h"

#include <unistd.h>

void SimServer::DropCarrier()
{
    m_dropCarrier = true;
    if (m_wakeFd >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = ::write(m_wakeFd, &one, sizeof one);
    }
}

void SimServer::ReadModem()
{
    std::uint8_t buffer[4096];
    const ssize_t length = ::read(m_line->Fd(), buffer, sizeof buffer);
    if (length <= 0)
        return;
    const QByteArray received(reinterpret_cast<const char*>(buffer), static_cast<int>(length));
    Log(QStringLiteral("модем <- %1").arg(MeterSession::Hex(received)));
    // The terminal sets the speed on its side of the pseudo-terminal; the modem hears it from ours.
    const int speed = CurrentBaudRate(m_line->Fd());
    ApplyModemOutput(m_modem->Feed(received, speed, Clock::now()));
}

void SimServer::ModemTick()
{
    if (m_dropCarrier.exchange(false)) {
        Log(QStringLiteral("модем: несущая пропала"));
        ApplyModemOutput(m_modem->DropCarrier());
    }
    ApplyModemOutput(m_modem->Tick(Clock::now()));
}

void SimServer::ApplyModemOutput(const HayesModem::Output& output)
{
    m_modemState = static_cast<int>(m_modem->CurrentState());
    if (!m_modem->CarriesData()) {
        // Whatever the meter still had to say is lost with the data connection.
        m_line->DropPending();
    }
    if (!output.toTerminal.isEmpty()) {
        Log(QStringLiteral("модем -> %1").arg(MeterSession::Hex(output.toTerminal)));
        m_line->Write(output.toTerminal);
    }
    if (!output.toRemote.isEmpty()) {
        const int before = m_line->Requests();
        const auto* data = reinterpret_cast<const std::uint8_t*>(output.toRemote.constData());
        m_line->Receive(data, static_cast<int>(output.toRemote.size()), m_meter.Lock(), m_log);
        m_requests += m_line->Requests() - before;
    }
}
