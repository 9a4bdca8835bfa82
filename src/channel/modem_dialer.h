#pragma once
// ModemDialer: the Hayes AT dialogue of channel kind 2 over the channel's serial port. It finds the
// modem's speed, initialises it for the modem type, dials the phone number and waits for CONNECT; on
// Disconnect it returns the modem to command mode and hangs up. Every step goes to the owner's log;
// failures are also shown in a box ("Информация", warning icon). The owner's stop request ends every
// wait and pause within one polling interval.

#include "channel/modem_control.h"
#include "channel/modem_step.h"

#include <QByteArray>
#include <QString>

#include <vector>

class CCommPortClass;

// The pauses and answer time-outs the dialogue fixes are multiplied by `timeScale`. The program keeps
// 1; tests shrink it to keep the waits short. The connection time-out comes from the channel and is not
// scaled.
struct ModemDialerSettings {
    double timeScale = 1.0;
};

class ModemDialer : public ModemControl {
public:
    // The speeds the search tries after the channel's own, in this order.
    static constexpr int kSearchSpeeds[] = {9600, 115200, 19200, 2400, 1200, 38400, 4800, 14400, 56000, 57600};
    static constexpr int kEscapePauseMs = 1000;
    static constexpr int kCommandTimeoutMs = 1500;
    static constexpr int kSearchTimeoutMs = 1000;
    static constexpr int kUserInitTimeoutMs = 2500;
    static constexpr int kSendTries = 2;

    explicit ModemDialer(const ModemDialerSettings& settings = {});

    int Initialise(const ModemContext& line) override;
    int Dial(const ModemContext& line) override;
    int ToCommandMode(const ModemContext& line) override;
    int HangUp(const ModemContext& line) override;

    // The steps of the last Initialise (the growable list of the dialogue).
    const std::vector<ModemStep>& Steps() const { return m_steps; }

private:
    // The parts of the dialogue; each returns a ModemResult.
    int SendCommand(const QByteArray& command, int pauseMs);
    int WaitForAnswer(const QByteArray& command, const char* expected1, const char* expected2, int timeoutMs,
                      QByteArray* answer);
    int SendAndWait(const QString& logText, int timeoutMs, const QByteArray& command, const char* expected1,
                    const char* expected2, int pauseMs);
    int SearchSpeed();
    int RunScript();
    int RunCommandStep(const ModemStep& step);
    int InitialiseUserModem();
    int SetPortSpeed(int speed);

    // Sleeps `ms` (already scaled) unless the stop request comes first; false when it did.
    bool Pause(int ms) const;
    int Scaled(int ms) const;
    void Log(const QString& text) const;
    void Report(const QString& text) const;
    void Bind(const ModemContext& line);

    ModemDialerSettings m_settings;
    ChannelOwner* m_owner = nullptr;
    CCommPortClass* m_port = nullptr;
    const ChannelSettings* m_line = nullptr;
    std::vector<ModemStep> m_steps;
};

// A command or answer as the log shows it: without its CR and LF.
QString ModemLogText(const QByteArray& bytes);
