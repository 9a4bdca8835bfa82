// The simulated modem as a state machine: what it answers, at which speed, and how a call goes from
// dialling to data and back.

#include "sim/hayes_modem.h"
#include "sim/sim_options.h"
#include "support/modem_line.h"

#include <gtest/gtest.h>

namespace {

using Clock = HayesModem::Clock;
using std::chrono::milliseconds;

constexpr int kSpeed = 19200;

HayesModemSettings Settings(ModemCallOutcome outcome = ModemCallOutcome::Connect)
{
    return ModemLine::FastModem(kSpeed, outcome);  // guard time 100 ms, dial time 50 ms
}

// Feeds at the modem's speed and gives what goes back to the terminal.
QByteArray Say(HayesModem& modem, const QByteArray& bytes, Clock::time_point now = Clock::now())
{
    return modem.Feed(bytes, kSpeed, now).toTerminal;
}

// Dials and lets the dial time pass: what the modem answered to the call.
QByteArray Call(HayesModem& modem, Clock::time_point& now)
{
    QByteArray answer = Say(modem, "ATDT5551234\r", now);
    EXPECT_EQ(modem.CurrentState(), HayesModem::State::Dialling);
    EXPECT_FALSE(modem.Tick(now + milliseconds(49)).toTerminal.size());
    now += milliseconds(50);
    answer += modem.Tick(now).toTerminal;
    return answer;
}

TEST(HayesModem, AnswersInBothFormsOnlyAtItsSpeed)
{
    HayesModem modem(Settings());
    // Echo on and verbose answers out of the box; the echo comes before the answer.
    EXPECT_EQ(Say(modem, "AT\r"), QByteArray("AT\r\r\nOK\r\n"));
    EXPECT_EQ(Say(modem, "at&f e0\r"), QByteArray("at&f e0\r\r\nOK\r\n"));
    EXPECT_FALSE(modem.Echo());
    EXPECT_EQ(Say(modem, "ATV0\r"), QByteArray("0\r"));
    EXPECT_EQ(Say(modem, "ATE5\r"), QByteArray("4\r"));
    EXPECT_EQ(Say(modem, "ATK9\r"), QByteArray("4\r"));
    EXPECT_EQ(Say(modem, "ATS7=60S7?\r"), QByteArray("\r\n060\r\n0\r"));
    EXPECT_EQ(Say(modem, "AT+CBST=7,0,1\r"), QByteArray("0\r"));
    // A line without AT gets no answer at all.
    EXPECT_EQ(Say(modem, "hello\r"), QByteArray());
    // ATZ brings back echo and verbose answers.
    EXPECT_EQ(Say(modem, "ATZ\r"), QByteArray("\r\nOK\r\n"));
    EXPECT_TRUE(modem.Echo());
    EXPECT_TRUE(modem.Verbose());

    // At another speed the modem hears noise: no echo, no answer, and nothing of it is kept.
    EXPECT_TRUE(modem.Feed("AT\r", 115200, Clock::now()).toTerminal.isEmpty());
    EXPECT_TRUE(modem.Feed("AT", 9600, Clock::now()).toTerminal.isEmpty());
    EXPECT_EQ(Say(modem, "\r"), QByteArray("\r"));
}

TEST(HayesModem, CallOutcomes)
{
    const struct {
        ModemCallOutcome outcome;
        const char* verbose;
        const char* numeric;
    } cases[] = {
        {ModemCallOutcome::Busy, "\r\nBUSY\r\n", "7\r"},
        {ModemCallOutcome::NoDialtone, "\r\nNO DIALTONE\r\n", "6\r"},
        {ModemCallOutcome::NoCarrier, "\r\nNO CARRIER\r\n", "3\r"},
        {ModemCallOutcome::Connect, "\r\nCONNECT 19200\r\n", "1\r"},
    };
    for (const auto& c : cases) {
        HayesModem modem(Settings(c.outcome));
        Clock::time_point now = Clock::now();
        EXPECT_EQ(Call(modem, now), "ATDT5551234\r" + QByteArray(c.verbose));
        EXPECT_EQ(modem.DialledNumber(), QByteArray("T5551234"));
        EXPECT_EQ(modem.CarriesData(), c.outcome == ModemCallOutcome::Connect);

        HayesModem numeric(Settings(c.outcome));
        Say(numeric, "ATE0V0\r", now);
        EXPECT_EQ(Call(numeric, now), QByteArray(c.numeric));
    }

    // A key pressed while the modem dials abandons the call.
    HayesModem modem(Settings());
    Say(modem, "ATDP12\r");
    EXPECT_EQ(Say(modem, "A"), QByteArray("\r\nNO CARRIER\r\n"));
    EXPECT_EQ(modem.CurrentState(), HayesModem::State::Command);
    // A dial command without a number, or while a call stands, is an error.
    EXPECT_EQ(Say(modem, "ATD\r"), QByteArray("ATD\r\r\nERROR\r\n"));
}

TEST(HayesModem, EscapeNeedsTheGuardTimeOnBothSides)
{
    HayesModem modem(Settings());
    Clock::time_point now = Clock::now();
    Call(modem, now);
    ASSERT_TRUE(modem.CarriesData());

    // Data passes through untouched, pluses in the middle of it included.
    EXPECT_EQ(modem.Feed("\x01\x03+++", kSpeed, now).toRemote, QByteArray("\x01\x03+++"));
    // "+++" after the guard time is held back; more bytes inside the guard time make it data after all.
    now += milliseconds(100);
    HayesModem::Output out = modem.Feed("+++", kSpeed, now);
    EXPECT_TRUE(out.toRemote.isEmpty());
    ASSERT_TRUE(modem.NextDeadline().has_value());
    EXPECT_EQ(modem.Feed("x", kSpeed, now + milliseconds(50)).toRemote, QByteArray("+++x"));
    EXPECT_TRUE(modem.CarriesData());

    // "+++" between two guard times: back to command mode with the call standing.
    now += milliseconds(200);
    EXPECT_TRUE(modem.Feed("+++", kSpeed, now).toRemote.isEmpty());
    EXPECT_TRUE(modem.Tick(now + milliseconds(99)).toTerminal.isEmpty());
    EXPECT_EQ(modem.Tick(now + milliseconds(100)).toTerminal, QByteArray("\r\nOK\r\n"));
    EXPECT_EQ(modem.CurrentState(), HayesModem::State::OnlineCommand);
    EXPECT_FALSE(modem.CarriesData());

    // ATO goes back online, and a second escape and ATH end the call.
    EXPECT_EQ(Say(modem, "ATO\r", now), QByteArray("ATO\r\r\nCONNECT 19200\r\n"));
    EXPECT_TRUE(modem.CarriesData());
    now += milliseconds(300);
    modem.Feed("+++", kSpeed, now);
    modem.Tick(now + milliseconds(100));
    EXPECT_EQ(Say(modem, "ATH\r", now), QByteArray("ATH\r\r\nOK\r\n"));
    EXPECT_EQ(modem.CurrentState(), HayesModem::State::Command);
    EXPECT_EQ(Say(modem, "ATO\r", now), QByteArray("ATO\r\r\nERROR\r\n"));
}

TEST(HayesModem, FarEndHangingUp)
{
    HayesModem modem(Settings());
    EXPECT_TRUE(modem.DropCarrier().toTerminal.isEmpty());  // no call: nothing to drop
    Clock::time_point now = Clock::now();
    Call(modem, now);
    EXPECT_EQ(modem.DropCarrier().toTerminal, QByteArray("\r\nNO CARRIER\r\n"));
    EXPECT_EQ(modem.CurrentState(), HayesModem::State::Command);
    // The modem takes commands again at once.
    EXPECT_EQ(Say(modem, "AT\r", now), QByteArray("AT\r\r\nOK\r\n"));
}

TEST(HayesModem, Options)
{
    bool help = false;
    SimOptions options;
    EXPECT_EQ(ParseSimOptions({"--modem-pty", "--modem-answer", "busy"}, options, &help), QString());
    EXPECT_TRUE(options.endpoint == SimOptions::Endpoint::Pty && options.modem.enabled);
    EXPECT_EQ(options.modem.outcome, ModemCallOutcome::Busy);
    SimOptions fast;
    EXPECT_EQ(ParseSimOptions({"--modem-pty", "--modem-speed", "fast"}, fast, &help),
              QStringLiteral("--modem-speed ждет скорость в бодах"));
    SimOptions missing;
    EXPECT_EQ(ParseSimOptions({"--modem-pty", "--modem-speed"}, missing, &help),
              QStringLiteral("--modem-speed ждет скорость в бодах"));
    // A plain pseudo-terminal has no modem in front of the meter.
    SimOptions plain;
    EXPECT_EQ(ParseSimOptions({"--pty"}, plain, &help), QString());
    EXPECT_FALSE(plain.modem.enabled);
}

}  // namespace
