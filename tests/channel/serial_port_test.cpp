// CCommPortClass over a pseudo-terminal: the test plays the device on the master side.

#include "channel/channel_settings.h"
#include "channel/port_table.h"
#include "channel/serial_custom_baud.h"
#include "channel/serial_port.h"
#include "support/pty_pair.h"
#include "support/qt_printers.h"
#include "support/recording_owner.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPort = 7;
const QString kInformation = QStringLiteral("Информация");

qint64 MsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

QByteArray Bytes(const std::uint8_t* data, int count)
{
    return QByteArray(reinterpret_cast<const char*>(data), count);
}

class SerialPortTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.IsOpen());
        PortTable::Global().Assign(kPort, pty.SlavePath());
        port.SetOwner(&owner);
        port.SetSettings(&settings);
    }

    void OpenPort()
    {
        ASSERT_EQ(port.Open(kPort), kTransportOk);
        owner.Clear();
    }

    // The report of a failure: one log line and one information box with the same text.
    void ExpectSingleReport(const QString& text)
    {
        EXPECT_EQ(owner.Log(), QStringList{text});
        const QList<RecordedBox> boxes = owner.Boxes();
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].caption, kInformation);
        EXPECT_EQ(boxes[0].style, MessageStyle::kIconInformation);
    }

    tcflag_t SlaveControlFlags() const
    {
        termios state{};
        tcgetattr(pty.SlaveFd(), &state);
        return state.c_cflag;
    }

    PtyPair pty;
    RecordingOwner owner;
    ChannelSettings settings;
    CCommPortClass port;
};

TEST_F(SerialPortTest, OpenWriteReadCloseThroughThePty)
{
    ASSERT_EQ(port.Open(kPort), kTransportOk);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(owner.Log(), (QStringList{QStringLiteral("Попытка открытия СОМ7!"), QStringLiteral("Успешно!")}));
    ASSERT_EQ(port.ApplyLineSettings(9600, 8, 0, 0), kTransportOk);
    ASSERT_EQ(port.ApplyTimeouts(), kTransportOk);

    // Control characters a cooked terminal would eat or translate must pass untouched. Raising DTR and
    // RTS before the write is not possible on a pseudo-terminal and must not fail it.
    const std::uint8_t request[] = {0x01, 0x03, 0x00, 0x0D, 0x0A, 0x11, 0x13, 0x7F, 0xFF, 0x04, 0x1C};
    ASSERT_EQ(port.Write(request, sizeof request), kTransportOk);
    EXPECT_EQ(pty.ReadMaster(sizeof request, 2000), Bytes(request, sizeof request));
    EXPECT_EQ(port.SetDtr(false), kTransportOk);
    EXPECT_EQ(port.SetRts(false), kTransportOk);

    const QByteArray answer = QByteArray::fromHex("0103020A0D0A0011139B");
    ASSERT_TRUE(pty.WriteMaster(answer));
    std::uint8_t buffer[64] = {0xEE, 0xEE};
    int received = 2;  // the caller passes the end of what it already holds
    QByteArray gathered;
    while (gathered.size() < answer.size()) {
        const int before = received;
        ASSERT_EQ(port.Read(buffer + received, static_cast<int>(sizeof buffer) - received, received, 3000),
                  kTransportOk);
        gathered.append(Bytes(buffer + before, received - before));
    }
    EXPECT_EQ(gathered, answer);
    EXPECT_EQ(buffer[0], 0xEE);

    const QList<MonitorBlock> blocks = owner.Blocks();
    ASSERT_GE(blocks.size(), 2);
    EXPECT_TRUE(blocks[0].transmitted);
    EXPECT_EQ(blocks[0].bytes, Bytes(request, sizeof request));
    EXPECT_EQ(owner.Received(), answer);
    EXPECT_TRUE(owner.Boxes().isEmpty());

    owner.Clear();
    port.Close();
    EXPECT_FALSE(port.IsOpen());
    port.Close();
    EXPECT_EQ(owner.Log(), QStringList{QStringLiteral("Закрытие СОМ-порта!")});
}

TEST_F(SerialPortTest, ReadReturnsAsSoonAsBytesArrive)
{
    OpenPort();
    port.SetModemMode(1);
    std::thread peer([this] {
        std::this_thread::sleep_for(std::chrono::milliseconds(150));
        pty.WriteMaster("\r\nOK\r\n");
    });
    std::uint8_t buffer[32] = {};
    int received = 0;
    const Clock::time_point start = Clock::now();
    const int result = port.Read(buffer, sizeof buffer, received, 20000);
    const qint64 elapsed = MsSince(start);
    peer.join();
    EXPECT_EQ(result, kTransportOk);
    EXPECT_GT(received, 0);
    EXPECT_LT(elapsed, 10000);  // the bytes ended the wait, not the time-out
}

TEST_F(SerialPortTest, ReadTimesOutStopsAndGuardsTheBuffer)
{
    OpenPort();
    std::uint8_t buffer[16] = {};
    int received = 0;

    Clock::time_point start = Clock::now();
    EXPECT_EQ(port.Read(buffer, sizeof buffer, received, 120), kTransportTimeout);
    EXPECT_GE(MsSince(start), 120);
    EXPECT_EQ(received, 0);

    Clock::time_point stopAt{};
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        stopAt = Clock::now();
        owner.SetStop(true);
    });
    EXPECT_EQ(port.Read(buffer, sizeof buffer, received, 30000), kTransportStopped);
    const Clock::time_point returned = Clock::now();
    stopper.join();
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(returned - stopAt).count(), 1000);
    owner.SetStop(false);

    EXPECT_TRUE(owner.Log().isEmpty());
    EXPECT_EQ(port.Read(buffer, 0, received, 1000), kTransportFailed);
    ExpectSingleReport(QStringLiteral("Переполнение буфера в CCommPortClass::ReadData!"));
    EXPECT_TRUE(owner.Blocks().isEmpty());
}

TEST_F(SerialPortTest, ReadIntervalFollowsModemModeAndTheOverride)
{
    OpenPort();
    std::uint8_t buffer[16] = {};
    int received = 0;

    // One wait for input lasts the whole total read time-out even when the caller's time-out is shorter.
    port.SetModemMode(1);
    Clock::time_point start = Clock::now();
    EXPECT_EQ(port.Read(buffer, sizeof buffer, received, 1), kTransportTimeout);
    EXPECT_GE(MsSince(start), 51);

    port.SetModemMode(0);
    settings.framing = kFramingTransparent;
    settings.readIntervalOverrideFlag = 1;
    settings.readIntervalOverrideMs = 300;
    start = Clock::now();
    EXPECT_EQ(port.Read(buffer, sizeof buffer, received, 1), kTransportTimeout);
    EXPECT_GE(MsSince(start), 301);
}

TEST_F(SerialPortTest, TimeoutsPurgeOnlyWhenTheyChange)
{
    OpenPort();
    std::uint8_t buffer[16] = {};
    int received = 0;

    // The first apply after opening purges what was waiting.
    ASSERT_TRUE(pty.WriteMaster("stale"));
    ASSERT_TRUE(pty.WaitSlaveReadable(2000));
    ASSERT_EQ(port.ApplyTimeouts(), kTransportOk);
    EXPECT_EQ(port.Read(buffer, sizeof buffer, received, 100), kTransportTimeout);

    // Unchanged time-outs leave the input alone.
    ASSERT_TRUE(pty.WriteMaster("kept"));
    ASSERT_TRUE(pty.WaitSlaveReadable(2000));
    ASSERT_EQ(port.ApplyTimeouts(), kTransportOk);
    ASSERT_EQ(port.Read(buffer, sizeof buffer, received, 2000), kTransportOk);
    EXPECT_TRUE(owner.Received().startsWith("k"));

    // Modem mode changes them: applied again, input purged.
    std::uint8_t rest[16] = {};
    int restCount = 0;
    port.Read(rest, sizeof rest, restCount, 200);  // whatever of "kept" is left
    ASSERT_TRUE(pty.WriteMaster("gone"));
    ASSERT_TRUE(pty.WaitSlaveReadable(2000));
    port.SetModemMode(1);
    owner.Clear();
    EXPECT_EQ(port.Read(buffer, sizeof buffer, received, 200), kTransportTimeout);
    EXPECT_TRUE(owner.Received().isEmpty());
}

TEST_F(SerialPortTest, LineSettingsAreAppliedOnceUntilReopened)
{
    OpenPort();
    ASSERT_EQ(port.ApplyLineSettings(9600, 8, 0, 0), kTransportOk);
    EXPECT_EQ(CurrentBaudRate(pty.SlaveFd()), 9600);

    // Changed behind the port's back: the same settings again do not reach the system.
    termios state{};
    ASSERT_EQ(tcgetattr(pty.SlaveFd(), &state), 0);
    cfsetspeed(&state, B19200);
    ASSERT_EQ(tcsetattr(pty.SlaveFd(), TCSANOW, &state), 0);
    ASSERT_EQ(port.ApplyLineSettings(9600, 8, 0, 0), kTransportOk);
    EXPECT_EQ(CurrentBaudRate(pty.SlaveFd()), 19200);

    // Opening again forgets what was applied (the handle held is given up first).
    ASSERT_EQ(port.Open(kPort), kTransportOk);
    ASSERT_EQ(port.ApplyLineSettings(9600, 8, 0, 0), kTransportOk);
    EXPECT_EQ(CurrentBaudRate(pty.SlaveFd()), 9600);
    EXPECT_TRUE(owner.Boxes().isEmpty());

    // So does closing: the same settings on a closed port reach the system and fail there.
    port.Close();
    owner.Clear();
    EXPECT_EQ(port.ApplyLineSettings(9600, 8, 0, 0), kTransportFailed);
    ExpectSingleReport(SerialDevice::ErrorText(EBADF));
}

TEST_F(SerialPortTest, ParityStopBitsAndOddSpeedsReachTheTerminal)
{
    OpenPort();
    // A pseudo-terminal forces 8 data bits and drops the parity enable bit; the parity kind and the stop
    // bits stay as set.
    ASSERT_EQ(port.ApplyLineSettings(9600, 8, 2, 3), kTransportOk);  // mark, two stop bits
    EXPECT_EQ(SlaveControlFlags() & (CMSPAR | PARODD | CSTOPB), tcflag_t(CMSPAR | PARODD | CSTOPB));
    ASSERT_EQ(port.ApplyLineSettings(9600, 8, 0, 4), kTransportOk);  // space, one stop bit
    EXPECT_EQ(SlaveControlFlags() & (CMSPAR | PARODD | CSTOPB), tcflag_t(CMSPAR));
    ASSERT_EQ(port.ApplyLineSettings(9600, 5, 1, 0), kTransportOk);  // 1.5 stop bits exist with 5 data bits
    EXPECT_EQ(SlaveControlFlags() & CSTOPB, tcflag_t(CSTOPB));

    ASSERT_EQ(port.ApplyLineSettings(250000, 8, 0, 0), kTransportOk);
    EXPECT_EQ(CurrentBaudRate(pty.SlaveFd()), 250000);
    ASSERT_EQ(port.ApplyLineSettings(115200, 8, 0, 0), kTransportOk);
    EXPECT_EQ(CurrentBaudRate(pty.SlaveFd()), 115200);
    EXPECT_TRUE(owner.Boxes().isEmpty());
}

TEST_F(SerialPortTest, SettingsTheLineCannotRunAreReportedAndNotCached)
{
    OpenPort();
    EXPECT_EQ(port.ApplyLineSettings(9600, 8, 1, 0), kTransportFailed);  // 1.5 stop bits need 5 data bits
    ExpectSingleReport(SerialDevice::ErrorText(EINVAL));

    // The failed values were not remembered: asking again reaches the system and fails again.
    owner.Clear();
    EXPECT_EQ(port.ApplyLineSettings(9600, 8, 1, 0), kTransportFailed);
    EXPECT_EQ(owner.Boxes().size(), 1);
    EXPECT_EQ(port.ApplyLineSettings(9600, 5, 1, 0), kTransportOk);
}

TEST_F(SerialPortTest, BusyPortGivesFiveAttemptsAndTheMessage)
{
    CCommPortClass holder;  // no owner: reports nothing, works all the same
    ASSERT_EQ(holder.Open(kPort), kTransportOk);
    EXPECT_FALSE(ProbePort(kPort));

    const Clock::time_point start = Clock::now();
    EXPECT_EQ(port.Open(kPort), kTransportFailed);
    EXPECT_GE(MsSince(start), CCommPortClass::kOpenAttempts * CCommPortClass::kOpenRetryPauseMs);
    EXPECT_FALSE(port.IsOpen());
    const QString busy = QStringLiteral("Последовательный порт не готов!Возможно, он занят другим приложением!");
    // The holder's lock stops root, the terminal's exclusive mode everyone else.
    const QString held = geteuid() == 0 ? SerialDevice::ErrorText(EWOULDBLOCK) : SerialDevice::ErrorText(EBUSY);
    EXPECT_EQ(
        owner.Log(),
        (QStringList{QStringLiteral("Попытка открытия СОМ7!"), pty.SlavePath() + QStringLiteral(": ") + held, busy}));
    ASSERT_EQ(owner.Boxes().size(), 1);
    EXPECT_EQ(owner.Boxes()[0].text, busy);

    // The holder still owns a working line.
    const std::uint8_t ping[] = {0x55, 0xAA};
    EXPECT_EQ(holder.Write(ping, sizeof ping), kTransportOk);
    EXPECT_EQ(pty.ReadMaster(2, 2000), Bytes(ping, sizeof ping));
    holder.Close();
    EXPECT_EQ(port.Open(kPort), kTransportOk);
}

// Opens port `number` as the unprivileged user "nobody" in a child process and returns the message the
// port reported (as root the pseudo-terminal, mode 0620, refuses that user), or, not being root, opens
// it in this process with the device's mode taken away.
QString MessageWithoutPermission(const PtyPair& pty, int number)
{
    const QByteArray path = pty.SlavePath().toLocal8Bit();
    if (::geteuid() != 0) {
        struct stat before {};
        ::stat(path.constData(), &before);
        ::chmod(path.constData(), 0);
        RecordingOwner owner;
        CCommPortClass port;
        port.SetOwner(&owner);
        const bool opened = port.Open(number) == kTransportOk;
        ::chmod(path.constData(), before.st_mode & 07777);
        return opened || owner.Boxes().isEmpty() ? QString() : owner.Boxes()[0].text;
    }
    int channel[2];
    if (::pipe(channel) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        QByteArray text;
        if (::setgid(65534) == 0 && ::setuid(65534) == 0) {
            RecordingOwner owner;
            CCommPortClass port;
            port.SetOwner(&owner);
            if (port.Open(number) != kTransportOk && !owner.Boxes().isEmpty())
                text = owner.Boxes()[0].text.toUtf8();
        }
        [[maybe_unused]] const ssize_t written = ::write(channel[1], text.constData(),
                                                         static_cast<std::size_t>(text.size()));
        ::_exit(0);
    }
    ::close(channel[1]);
    QByteArray text;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<int>(n));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return QString::fromUtf8(text);
}

TEST_F(SerialPortTest, AnOpenThatFailsSaysWhyAtOnce)
{
    const QString head = QStringLiteral("Последовательный порт не готов!\n");
    // The monitor gets the attempt, the system's words (when there is a device to ask) and the message.
    const auto expectReport = [&](int number, const QString& text, const QString& systemText = {}) {
        owner.Clear();
        const Clock::time_point start = Clock::now();
        EXPECT_EQ(port.Open(number), kTransportFailed);
        // Nothing that waiting would mend: no second attempt.
        EXPECT_LT(MsSince(start), CCommPortClass::kOpenRetryPauseMs);
        QStringList log{QStringLiteral("Попытка открытия СОМ%1!").arg(number)};
        if (!systemText.isEmpty())
            log << systemText;
        EXPECT_EQ(owner.Log(), log << text);
        ASSERT_EQ(owner.Boxes().size(), 1);
        EXPECT_EQ(owner.Boxes()[0].text, text);
    };
    PortTable::Global().Assign(kPort + 1, QString());
    expectReport(kPort + 1,
                 head
                     + QStringLiteral("номер COM8 не назначен ни одному устройству: его можно назначить в "
                                      "окне \"Параметры\", вкладка \"Последовательные порты\""));
    PortTable::Global().Assign(kPort + 2, QStringLiteral("/dev/zt5-no-such-port"));
    expectReport(kPort + 2, head + QStringLiteral("порт COM9 (/dev/zt5-no-such-port) отсутствует"),
                 QStringLiteral("/dev/zt5-no-such-port: ") + SerialDevice::ErrorText(ENOENT));
    PortTable::Global().Assign(kPort + 3, QStringLiteral("/dev/null"));
    expectReport(kPort + 3, head + QStringLiteral("COM10 (/dev/null) не является последовательным портом"),
                 QStringLiteral("/dev/null: ") + SerialDevice::ErrorText(ENOTTY));

    EXPECT_EQ(MessageWithoutPermission(pty, kPort),
              head
                  + QStringLiteral("нет прав доступа к порту COM7 (%1): пользователь должен входить в группу dialout")
                        .arg(pty.SlavePath()));
    // The port itself is fine for whoever may use it.
    owner.Clear();
    EXPECT_EQ(port.Open(kPort), kTransportOk);
}

TEST_F(SerialPortTest, ProbeTellsWhetherAPortCanBeOpened)
{
    EXPECT_TRUE(ProbePort(kPort));
    EXPECT_TRUE(ProbePort(kPort));  // the probe closed it again
    PortTable::Global().Assign(kPort + 1, QStringLiteral("/dev/zt5-no-such-port"));
    EXPECT_FALSE(ProbePort(kPort + 1));
    PortTable::Global().Assign(kPort + 2, QString());
    EXPECT_FALSE(ProbePort(kPort + 2));
    PortTable::Global().Assign(kPort + 3, QStringLiteral("/dev/null"));  // exists, but no terminal
    EXPECT_FALSE(ProbePort(kPort + 3));
    EXPECT_TRUE(owner.Log().isEmpty());
}

TEST_F(SerialPortTest, LostDeviceAndClosedPortAreReported)
{
    OpenPort();
    ASSERT_EQ(port.ApplyTimeouts(), kTransportOk);  // so that the read below goes straight to the line
    pty.CloseMaster();
    std::uint8_t buffer[16] = {};
    int received = 0;
    EXPECT_EQ(port.Read(buffer, sizeof buffer, received, 2000), kTransportFailed);
    ExpectSingleReport(QStringLiteral("Ошибка выполнения ReadFile (код %1)!").arg(EIO));

    owner.Clear();
    port.Close();
    owner.Clear();
    const std::uint8_t byte = 0x01;
    EXPECT_EQ(port.Write(&byte, 1), kTransportFailed);
    ExpectSingleReport(SerialDevice::ErrorText(EBADF));
    EXPECT_TRUE(owner.Blocks().isEmpty());
}

TEST(SerialPortFind, FindsTextAmongBytes)
{
    const std::uint8_t answer[] = {'A', 'T', '\r', 0x00, '\r', '\n', 'O', 'K', '\r', '\n'};
    EXPECT_EQ(CCommPortClass::Find(answer, sizeof answer, "AT\r"), 0);
    EXPECT_EQ(CCommPortClass::Find(answer, sizeof answer, "\r\nOK\r\n"), 4);  // past the zero byte
    EXPECT_EQ(CCommPortClass::Find(answer, sizeof answer, "ERROR"), -1);
    EXPECT_EQ(CCommPortClass::Find(answer, 7, "OK"), -1);  // only the first 7 bytes count
    EXPECT_EQ(CCommPortClass::Find(answer, 2, "AT\r"), -1);
    EXPECT_EQ(CCommPortClass::Find(nullptr, 0, "OK"), -1);
}

}  // namespace
