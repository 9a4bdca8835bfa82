// HayesModem: the AT command line. The text after "AT" is a run of commands, each a letter (or "&"
// and a letter) with an optional number; "S" reads or sets a register, "D" takes the rest of the line
// as the number to dial, extended commands ("+...") are taken as they are.

#include "hayes_modem.h"

#include <cctype>

namespace {

// The text an "I" command shows.
constexpr const char* kIdentification = "ZT5 MODEM SIMULATOR";

bool IsDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

bool IsLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

// Commands that only change settings this modem does not model; any number is accepted.
bool IsIgnoredSetting(char c)
{
    switch (c) {
        case 'B':
        case 'C':
        case 'L':
        case 'M':
        case 'N':
        case 'P':
        case 'T':
        case 'W':
        case 'X':
        case 'Y':
            return true;
        default:
            return false;
    }
}

}  // namespace

void HayesModem::ResetSettings()
{
    m_echo = true;
    m_verbose = true;
    m_quiet = false;
    m_registers.clear();
}

void HayesModem::ExecuteLine(const QByteArray& line, Output& out, Clock::time_point now)
{
    // A line without "AT" is not for the modem: no answer, as with a real one.
    const qsizetype at = line.toUpper().indexOf("AT");
    if (at < 0)
        return;
    const int result = ExecuteCommands(line.mid(at + 2).toUpper(), out, now) ? kOk : kError;
    // Dialling and going back online answer later or have answered already.
    if (m_state == State::Dialling || m_state == State::Online)
        return;
    AppendResult(static_cast<Result>(result), out);
}

bool HayesModem::ExecuteCommands(const QByteArray& commands, Output& out, Clock::time_point now)
{
    qsizetype i = 0;
    const qsizetype n = commands.size();
    auto number = [&]() {
        int value = 0;
        while (i < n && IsDigit(commands[i]) && value < 100000)
            value = value * 10 + (commands[i++] - '0');
        return value;
    };
    while (i < n) {
        const char c = commands[i++];
        if (c == ' ')
            continue;
        if (IsIgnoredSetting(c)) {
            number();
            continue;
        }
        switch (c) {
            case 'E':
            case 'V':
            case 'Q': {
                const int value = number();
                if (value > 1)
                    return false;
                (c == 'E' ? m_echo : c == 'V' ? m_verbose : m_quiet) = value == 1;
                break;
            }
            case 'Z':
                number();
                ResetSettings();
                if (m_state == State::OnlineCommand)
                    m_state = State::Command;
                break;
            case 'H':
                number();
                if (m_state == State::OnlineCommand)
                    m_state = State::Command;
                break;
            case 'D': {
                const QByteArray dialled = commands.mid(i).trimmed();
                i = n;
                if (m_state != State::Command || dialled.isEmpty())
                    return false;
                m_dialled = dialled;
                m_state = State::Dialling;
                m_dialDue = now + std::chrono::milliseconds(m_settings.dialMs);
                return true;
            }
            case 'O':
                number();
                if (m_state != State::OnlineCommand)
                    return false;
                GoOnline(out, now);
                return true;
            case 'S': {
                const int reg = number();
                if (i < n && commands[i] == '=') {
                    ++i;
                    m_registers[reg] = number();
                } else if (i < n && commands[i] == '?') {
                    ++i;
                    AppendText(QByteArray::number(m_registers.value(reg)).rightJustified(3, '0'), out);
                } else {
                    return false;
                }
                break;
            }
            case '&':
                if (i >= n || !IsLetter(commands[i]))
                    return false;
                if (commands[i++] == 'F')
                    ResetSettings();
                number();
                break;
            case 'I':
                number();
                AppendText(kIdentification, out);
                break;
            case '+':
                // Extended commands of mobile modems (+CBST, +IFC ...) are accepted whole.
                i = n;
                break;
            default:
                return false;
        }
    }
    return true;
}
