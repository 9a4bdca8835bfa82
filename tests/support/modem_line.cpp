#include "support/modem_line.h"

#include "channel/port_table.h"

#include <QElapsedTimer>

#include <thread>

namespace {

SimOptions ModemOptions(const HayesModemSettings& modem)
{
    SimOptions options;
    options.endpoint = SimOptions::Endpoint::Pty;
    options.modem = modem;
    options.modem.enabled = true;
    return options;
}

}  // namespace

HayesModemSettings ModemLine::FastModem(int speed, ModemCallOutcome outcome)
{
    HayesModemSettings modem;
    modem.enabled = true;
    modem.speed = speed;
    modem.outcome = outcome;
    modem.guardMs = 100;
    modem.dialMs = 50;
    return modem;
}

ModemLine::ModemLine(const HayesModemSettings& modem, int comNumber)
    : m_meter(ModemOptions(modem)), m_server(m_meter), m_comNumber(comNumber)
{
    m_started = m_server.Start(&m_error);
    if (m_started)
        PortTable::Global().Assign(m_comNumber, m_server.PtyPath());
}

ModemLine::~ModemLine()
{
    m_server.Stop();
}

bool ModemLine::WaitForState(HayesModem::State state, int timeoutMs) const
{
    QElapsedTimer clock;
    clock.start();
    while (m_server.ModemState() != state) {
        if (clock.elapsed() > timeoutMs)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}
