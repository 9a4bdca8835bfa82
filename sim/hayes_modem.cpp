// HayesModem: the modem's states, its timers and the escape from the data connection. The AT commands
// themselves are in hayes_commands.cpp.

#include "hayes_modem.h"

namespace {

using std::chrono::milliseconds;

}  // namespace

bool ParseModemCallOutcome(const QString& text, ModemCallOutcome& outcome)
{
    static const struct {
        const char* name;
        ModemCallOutcome outcome;
    } kNames[] = {
        {"connect", ModemCallOutcome::Connect},
        {"busy", ModemCallOutcome::Busy},
        {"no-dialtone", ModemCallOutcome::NoDialtone},
        {"no-carrier", ModemCallOutcome::NoCarrier},
    };
    for (const auto& name : kNames) {
        if (text == QLatin1String(name.name)) {
            outcome = name.outcome;
            return true;
        }
    }
    return false;
}

HayesModem::HayesModem(const HayesModemSettings& settings) : m_settings(settings) {}

HayesModem::Output HayesModem::Feed(const QByteArray& bytes, int lineSpeed, Clock::time_point now)
{
    Output out;
    for (const char c : bytes) {
        if (m_state == State::Online) {
            FeedOnline(c, out, now);
            continue;
        }
        // At a foreign speed the characters arrive garbled: nothing to echo, nothing to obey.
        if (lineSpeed != m_settings.speed) {
            m_line.clear();
            continue;
        }
        if (m_state == State::Dialling) {
            // A key pressed while the modem dials abandons the call (a line feed after the CR excepted).
            if (c != '\n') {
                m_state = State::Command;
                AppendResult(kNoCarrier, out);
            }
            continue;
        }
        FeedCommandMode(c, out, now);
    }
    return out;
}

void HayesModem::FeedCommandMode(char c, Output& out, Clock::time_point now)
{
    if (m_echo)
        out.toTerminal.append(c);
    switch (c) {
        case '\r': {
            const QByteArray line = m_line;
            m_line.clear();
            ExecuteLine(line, out, now);
            break;
        }
        case '\n':
            break;
        case '\b':
        case 0x7F:
            m_line.chop(1);
            break;
        default:
            // A command line has a limited length; what runs over is lost, as on a real modem.
            if (m_line.size() < 255)
                m_line.append(c);
            break;
    }
}

void HayesModem::FeedOnline(char c, Output& out, Clock::time_point now)
{
    const bool quietBefore = now - m_lastFromTerminal >= milliseconds(m_settings.guardMs);
    // "+++" counts only after a guard time of silence and with the pluses close together; anything else
    // is data, the pluses held back included.
    if (c == '+' && m_pluses.size() < 3 && (m_pluses.isEmpty() ? quietBefore : !quietBefore)) {
        m_pluses.append(c);
    } else {
        out.toRemote.append(m_pluses);
        out.toRemote.append(c);
        m_pluses.clear();
    }
    m_lastFromTerminal = now;
}

HayesModem::Output HayesModem::Tick(Clock::time_point now)
{
    Output out;
    if (m_state == State::Dialling && now >= m_dialDue) {
        if (m_settings.outcome == ModemCallOutcome::Connect) {
            GoOnline(out, now);
        } else {
            m_state = State::Command;
            AppendResult(m_settings.outcome == ModemCallOutcome::Busy             ? kBusy
                             : m_settings.outcome == ModemCallOutcome::NoDialtone ? kNoDialtone
                                                                                  : kNoCarrier,
                         out);
        }
    }
    if (m_state == State::Online && m_pluses.size() == 3
        && now - m_lastFromTerminal >= milliseconds(m_settings.guardMs)) {
        m_pluses.clear();
        m_state = State::OnlineCommand;
        AppendResult(kOk, out);
    }
    return out;
}

HayesModem::Output HayesModem::DropCarrier()
{
    Output out;
    if (m_state == State::Command)
        return out;
    m_state = State::Command;
    m_pluses.clear();
    AppendResult(kNoCarrier, out);
    return out;
}

std::optional<HayesModem::Clock::time_point> HayesModem::NextDeadline() const
{
    if (m_state == State::Dialling)
        return m_dialDue;
    if (m_state == State::Online && m_pluses.size() == 3)
        return m_lastFromTerminal + milliseconds(m_settings.guardMs);
    return std::nullopt;
}

void HayesModem::GoOnline(Output& out, Clock::time_point now)
{
    m_state = State::Online;
    m_lastFromTerminal = now;
    m_pluses.clear();
    AppendResult(kConnect, out);
}

void HayesModem::AppendResult(Result result, Output& out) const
{
    if (m_quiet)
        return;
    if (!m_verbose) {
        out.toTerminal.append(QByteArray::number(result) + '\r');
        return;
    }
    QByteArray text;
    switch (result) {
        case kOk:
            text = "OK";
            break;
        case kConnect:
            text = "CONNECT " + QByteArray::number(m_settings.speed);
            break;
        case kNoCarrier:
            text = "NO CARRIER";
            break;
        case kError:
            text = "ERROR";
            break;
        case kNoDialtone:
            text = "NO DIALTONE";
            break;
        case kBusy:
            text = "BUSY";
            break;
    }
    AppendText(text, out);
}

void HayesModem::AppendText(const QByteArray& text, Output& out) const
{
    out.toTerminal.append("\r\n" + text + "\r\n");
}
