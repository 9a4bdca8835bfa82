#pragma once
// A simulated Hayes modem in front of the simulated meter. The terminal side talks AT commands to it;
// once a call is "answered" the bytes pass through to the meter's session until "+++" (with a guard
// time of silence on both sides) brings the modem back to command mode or the far end drops the
// carrier. It answers only at its configured speed: at any other speed the terminal's bytes are noise
// to it and it stays silent. Transport and timing belong to the owner, who feeds bytes and ticks.

#include <QByteArray>
#include <QMap>
#include <QString>

#include <chrono>
#include <optional>

enum class ModemCallOutcome { Connect, Busy, NoDialtone, NoCarrier };

struct HayesModemSettings {
    bool enabled = false;
    int speed = 115200;  // the only terminal speed it understands
    ModemCallOutcome outcome = ModemCallOutcome::Connect;
    int guardMs = 1000;  // silence before and after "+++"
    int dialMs = 500;    // from the dial command to the outcome
};

class HayesModem {
public:
    using Clock = std::chrono::steady_clock;
    enum class State {
        Command,        // no call: AT commands
        Dialling,       // waiting for the call's outcome
        Online,         // data passes to and from the far end
        OnlineCommand,  // the call stands, AT commands in the meantime
    };
    // What the modem does with what it got: bytes back to the terminal, bytes on to the far end.
    struct Output {
        QByteArray toTerminal;
        QByteArray toRemote;
    };

    explicit HayesModem(const HayesModemSettings& settings);

    // Bytes from the terminal, which runs its line at `lineSpeed`.
    Output Feed(const QByteArray& bytes, int lineSpeed, Clock::time_point now);
    // Lets the timers run: the outcome of a call being dialled, the guard time after "+++".
    Output Tick(Clock::time_point now);
    // The far end hangs up.
    Output DropCarrier();
    // When the next Tick has something to do.
    std::optional<Clock::time_point> NextDeadline() const;

    State CurrentState() const { return m_state; }
    bool CarriesData() const { return m_state == State::Online; }
    bool Echo() const { return m_echo; }
    bool Verbose() const { return m_verbose; }
    QByteArray DialledNumber() const { return m_dialled; }

private:
    enum Result { kOk = 0, kConnect = 1, kNoCarrier = 3, kError = 4, kNoDialtone = 6, kBusy = 7 };

    void FeedCommandMode(char c, Output& out, Clock::time_point now);
    void FeedOnline(char c, Output& out, Clock::time_point now);
    // Runs one command line (without its CR); the text after "AT" is parsed command by command.
    void ExecuteLine(const QByteArray& line, Output& out, Clock::time_point now);
    bool ExecuteCommands(const QByteArray& commands, Output& out, Clock::time_point now);
    void ResetSettings();
    void AppendResult(Result result, Output& out) const;
    void AppendText(const QByteArray& text, Output& out) const;
    void GoOnline(Output& out, Clock::time_point now);

    HayesModemSettings m_settings;
    State m_state = State::Command;
    bool m_echo = true;
    bool m_verbose = true;
    bool m_quiet = false;
    QMap<int, int> m_registers;
    QByteArray m_line;
    QByteArray m_dialled;
    Clock::time_point m_dialDue;
    // Escape detection while online.
    Clock::time_point m_lastFromTerminal;
    QByteArray m_pluses;
};

// "connect", "busy", "no-dialtone", "no-carrier"; false for any other text.
bool ParseModemCallOutcome(const QString& text, ModemCallOutcome& outcome);
