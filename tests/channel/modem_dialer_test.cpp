// The modem dialogue over a pseudo-terminal with the simulated modem (and the meter behind it) on the
// far side: the speed search, the scripts of the modem types, dialling with each outcome, leaving the
// call, and the stop request.

#include "base/utf8_text.h"
#include "channel/channel_settings.h"
#include "channel/modem_answer_wait.h"
#include "channel/modem_dialer.h"
#include "channel/serial_port.h"
#include "support/modem_line.h"
#include "support/recording_owner.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>

#include <memory>
#include <thread>

namespace {

constexpr int kDialerCom = 27;      // the COM number the modem's pty is put under
constexpr double kTimeScale = 0.3;  // the dialogue's fixed pauses and time-outs, shortened

class DialerOverModem : public ::testing::Test {
protected:
    void Open(const HayesModemSettings& modem, int baudRate = 115200)
    {
        port.Close();
        line.reset();
        line = std::make_unique<ModemLine>(modem, kDialerCom);
        ASSERT_TRUE(line->Started()) << line->Error().toStdString();
        linePort = &port;
        settings.baudRate = baudRate;
        settings.phoneNumber = QStringLiteral("5551234");
        port.SetOwner(&owner);
        port.SetModemMode(1);
        ASSERT_EQ(port.Open(kDialerCom), 0);
        ASSERT_EQ(port.ApplyLineSettings(baudRate, 8, 0, 0), 0);
        owner.Clear();
    }
    void TearDown() override { port.Close(); }

    QStringList SpeedsTried() const
    {
        QStringList speeds;
        for (const QString& line : owner.Log()) {
            if (line.startsWith(Utf8("Поиск модема на скорости ")))
                speeds << line.section(QLatin1Char(' '), 4, 4);
        }
        return speeds;
    }
    QStringList BoxTexts() const
    {
        QStringList texts;
        for (const RecordedBox& box : owner.Boxes())
            texts << box.text;
        return texts;
    }

    // What the dialogue works with: the port (null to take it away), the channel's settings, the owner.
    ModemContext Line() { return ModemContext{linePort, &settings, &owner}; }

    RecordingOwner owner;
    ChannelSettings settings;
    CCommPortClass port;
    CCommPortClass* linePort = nullptr;
    std::unique_ptr<ModemLine> line;
    ModemDialer dialer{ModemDialerSettings{kTimeScale}};
};

TEST_F(DialerOverModem, SpeedSearchOrderAndTheGsmScript)
{
    // From 115200 the modem at 19200 is found on the fourth speed: 115200, 9600, 115200, 19200.
    Open(ModemLine::FastModem(19200));
    ASSERT_EQ(dialer.Initialise(Line()), 0);
    EXPECT_EQ(SpeedsTried(), (QStringList{"115200", "9600", "115200", "19200"}));
    // Two tries at each silent speed, then the script (a slow answer may cost one more "AT").
    const QByteArray sent = owner.Transmitted();
    EXPECT_TRUE(sent.startsWith(QByteArray("AT\r").repeated(7)));
    EXPECT_TRUE(sent.endsWith("AT\rATZ\rATE0\rATV1\r"));
    const QStringList log = owner.Log();
    EXPECT_EQ(log.first(), Utf8("Инициализация модема (GSM модем)"));
    EXPECT_TRUE(log.contains(Utf8("Команда ATZ")));
    EXPECT_TRUE(log.contains(Utf8("Посылка команды: \"ATE0\"")));
    // The modem echoes its commands; the echo is not part of the answer.
    EXPECT_TRUE(log.contains(Utf8("Ответ получен: \"OK\"")));
    EXPECT_EQ(log.last(), Utf8("Операция завершена успешно!"));
    EXPECT_TRUE(owner.Boxes().isEmpty());
    EXPECT_EQ(dialer.Steps().size(), 4u);

    // From 9600 the 9600 that follows in the list is skipped.
    Open(ModemLine::FastModem(19200), 9600);
    ASSERT_EQ(dialer.Initialise(Line()), 0);
    EXPECT_EQ(SpeedsTried(), (QStringList{"9600", "115200", "19200"}));
}

TEST_F(DialerOverModem, NumericAnswersAreAccepted)
{
    Open(ModemLine::FastModem(115200));
    // Put the modem into numeric mode first; the answer wait skips the echo of the command.
    const QByteArray command("ATV0\r");
    ASSERT_EQ(port.Write(reinterpret_cast<const std::uint8_t*>(command.constData()), 5), 0);
    QByteArray answer;
    ASSERT_EQ(WaitModemAnswer(port, &owner, command, "\r\nOK\r\n", "0\r", 2000, &answer), kModemOk);
    EXPECT_EQ(answer, QByteArray("0\r"));
    owner.Clear();

    ASSERT_EQ(dialer.Initialise(Line()), 0);
    // "AT" at the first speed is answered "0" (numeric); ATZ brings the verbose form back.
    EXPECT_TRUE(owner.Received().startsWith("AT\r0\r"));
    EXPECT_EQ(SpeedsTried(), QStringList{"115200"});
    EXPECT_EQ(owner.Log().count(Utf8("Ответ получен: \"OK\"")), 3);
}

TEST_F(DialerOverModem, UserInitialisationString)
{
    Open(ModemLine::FastModem(115200));
    settings.modemType = kModemTypeUser;
    settings.modemInitString = QStringLiteral("AT&FS0=0");
    ASSERT_EQ(dialer.Initialise(Line()), 0);
    EXPECT_EQ(owner.Log().first(), Utf8("Инициализация модема командой AT&FS0=0 (пользовательский тип модема)"));
    EXPECT_EQ(owner.Log().last(), Utf8("Операция успешно завершена!"));
    EXPECT_TRUE(owner.Transmitted().endsWith("AT\rAT&FS0=0\rAT\rATE0\rATV1\r"));

    // The modem refuses the string: its ERROR ends the initialisation.
    owner.Clear();
    settings.modemInitString = QStringLiteral("ATE7");
    EXPECT_EQ(dialer.Initialise(Line()), kModemError);
    EXPECT_TRUE(owner.Log().contains(Utf8("Модем выдал сообщение об ошибке: \"ERROR\"")));
    EXPECT_EQ(BoxTexts(),
              (QStringList{Utf8("При выполнении команды \"ATE7\" возникла ошибка! Модем выдал сообщение "
                                "\"ERROR\".\r\nОперация будет прекращена!"),
                           Utf8("Операция завершена не успешно!")}));
    EXPECT_EQ(owner.Boxes().first().caption, Utf8("Информация"));
    EXPECT_EQ(owner.Boxes().first().style, 0x30u);

    // Numeric answers from then on: "ATE0" expects the verbose OK only, and "0" is another answer.
    owner.Clear();
    settings.modemInitString = QStringLiteral("ATV0");
    EXPECT_EQ(dialer.Initialise(Line()), kModemUnexpected);
    EXPECT_EQ(BoxTexts(),
              (QStringList{Utf8("При выполнении возникла ошибка"), Utf8("Операция завершена не успешно!")}));
    EXPECT_TRUE(owner.Log().contains(Utf8("Ответ получен: \"0\"")));
}

TEST_F(DialerOverModem, OtherModemTypes)
{
    Open(ModemLine::FastModem(115200));
    settings.modemType = kModemTypeWired;
    EXPECT_EQ(dialer.Initialise(Line()), 0);
    EXPECT_TRUE(owner.Transmitted().isEmpty());
    EXPECT_EQ(owner.Log(),
              (QStringList{Utf8("Инициализация модема (проводной модем)"), Utf8("Операция завершена успешно!")}));

    owner.Clear();
    settings.modemType = 3;
    EXPECT_EQ(dialer.Initialise(Line()), kModemUnexpected);
    EXPECT_EQ(BoxTexts(), QStringList{Utf8("Ошибка выполнения при инициализации модема (неизвестный тип модема)")});
    EXPECT_TRUE(owner.Transmitted().isEmpty());

    // Without a serial port nothing can be sent.
    owner.Clear();
    linePort = nullptr;
    EXPECT_EQ(dialer.HangUp(Line()), kTransportFailed);
    EXPECT_EQ(BoxTexts(), QStringList{Utf8("Ошибка при очистке буферов СОМ порта (код 4)\r\n")});
}

TEST_F(DialerOverModem, NoModemOnTheLine)
{
    // A modem at a speed the search never tries stays silent at all eleven.
    Open(ModemLine::FastModem(300));
    ModemDialer quick(ModemDialerSettings{0.05});
    EXPECT_EQ(quick.Initialise(Line()), kModemNoAnswer);
    EXPECT_EQ(
        SpeedsTried(),
        (QStringList{"115200", "9600", "115200", "19200", "2400", "1200", "38400", "4800", "14400", "56000", "57600"}));
    EXPECT_EQ(owner.Transmitted(), QByteArray("AT\r").repeated(22));
    EXPECT_EQ(BoxTexts(),
              QStringList{Utf8("Модем не отвечает! Проверьте правильность подключения модема и номер "
                               "указанного СОМ-порта!")});
    EXPECT_EQ(owner.Log().last(), Utf8("Операция завершена НЕ успешно!"));
}

TEST_F(DialerOverModem, DialOutcomes)
{
    const struct {
        ModemCallOutcome outcome;
        const char* report;
    } failures[] = {
        {ModemCallOutcome::Busy, "Линия занята!"},
        {ModemCallOutcome::NoDialtone, "Нет гудка в линии!"},
        {ModemCallOutcome::NoCarrier, "Нет несущей!"},
    };
    for (const auto& failure : failures) {
        Open(ModemLine::FastModem(115200, failure.outcome));
        EXPECT_EQ(dialer.Dial(Line()), kModemUnexpected);
        EXPECT_EQ(BoxTexts(), (QStringList{Utf8(failure.report), Utf8("Операция завершена не успешно!")}));
        EXPECT_EQ(owner.Boxes().first().style, 0x30u);
        EXPECT_EQ(owner.Log().first(), Utf8("Набор номера: 5551234"));
        // An unexpected answer is not worth a second try.
        EXPECT_EQ(owner.Transmitted(), QByteArray("ATDT5551234\r"));
    }

    Open(ModemLine::FastModem(115200));
    settings.dialMode = 0;
    ASSERT_EQ(dialer.Dial(Line()), 0);
    EXPECT_EQ(owner.Transmitted(), QByteArray("ATDP5551234\r"));
    EXPECT_TRUE(owner.Log().contains(Utf8("Ответ получен: \"CONNECT 115200\"")));
    EXPECT_TRUE(owner.Boxes().isEmpty());
    EXPECT_TRUE(line->WaitForState(HayesModem::State::Online));
}

TEST_F(DialerOverModem, LeavingTheCall)
{
    Open(ModemLine::FastModem(115200));
    ASSERT_EQ(dialer.Dial(Line()), 0);
    owner.Clear();
    QElapsedTimer clock;
    clock.start();
    // The modem answers "+++" only after a guard time of silence: the pause before it and after it.
    EXPECT_EQ(dialer.ToCommandMode(Line()), 0);
    EXPECT_GE(clock.elapsed(), 2 * ModemDialer::kEscapePauseMs * kTimeScale);
    EXPECT_EQ(line->Server().ModemState(), HayesModem::State::OnlineCommand);
    EXPECT_EQ(dialer.HangUp(Line()), 0);
    EXPECT_EQ(line->Server().ModemState(), HayesModem::State::Command);
    EXPECT_EQ(owner.Transmitted(), QByteArray("+++ATH\r"));
    const QStringList log = owner.Log();
    EXPECT_EQ(log.first(), Utf8("Перевод модема в командный режим\r\n"));
    EXPECT_TRUE(log.contains(Utf8("Команда повесить трубку\r\n")));
    EXPECT_TRUE(owner.Boxes().isEmpty());
}

TEST_F(DialerOverModem, StopEndsTheWaitsPromptly)
{
    HayesModemSettings slowCall = ModemLine::FastModem(115200);
    slowCall.dialMs = 60000;
    Open(slowCall);
    QElapsedTimer clock;
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        clock.start();
        owner.SetStop(true);
    });
    EXPECT_EQ(dialer.Dial(Line()), kModemStopped);
    const qint64 afterStop = clock.elapsed();
    stopper.join();
    EXPECT_LT(afterStop, 1000);
    EXPECT_TRUE(owner.Log().contains(Utf8("Процесс ожидания прерван пользователем")));
    EXPECT_EQ(BoxTexts(), QStringList{Utf8("Операция завершена не успешно!")});

    // With the stop still raised, leaving the call does not even begin its pause.
    owner.Clear();
    clock.restart();
    EXPECT_EQ(dialer.ToCommandMode(Line()), kModemStopped);
    EXPECT_LT(clock.elapsed(), 200);
    EXPECT_TRUE(owner.Transmitted().isEmpty());
}

}  // namespace
