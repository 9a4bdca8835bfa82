// The configuration end to end through the driver's command thread and the simulated meter: connect,
// read, edit, write and read back over loopback TCP and a pseudo-terminal, in both function sets and
// the three framings, at the firmware levels whose layouts differ; the order of the writes; and what
// the driver refuses or asks before it writes anything.

#include "base/message_style.h"
#include "base/utf8_text.h"
#include "config/tunes_defaults.h"
#include "support/driver_rig.h"
#include "support/qt_printers.h"
#include "support/record_bytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint8_t kMeterModel = 3;  // "04", the simulator's default
constexpr int kFunctions48 = CModbusMaster::kNonStandardFunctions;

void ExpectSameConfiguration(const ConfigurationBlocks& actual, const ConfigurationBlocks& expected)
{
    EXPECT_EQ(BytesOf(actual.tunes), BytesOf(expected.tunes));
    EXPECT_EQ(BytesOf(actual.open), BytesOf(expected.open));
    EXPECT_EQ(BytesOf(actual.controls), BytesOf(expected.controls));
}

// A meter at `level` holding a distinct configuration and the computer's time.
RigOptions MeterAt(std::uint16_t level)
{
    RigOptions options;
    options.firmwareLevel = level;
    return options;
}

void PrepareMeter(DriverRig& rig, const ConfigurationBlocks& blocks)
{
    rig.PutMeterConfiguration(blocks);
    rig.SetMeterClock(QDateTime::currentDateTime());
}

struct RoundTripCase {
    std::uint16_t level;
    std::uint8_t functionSet;
    RigLine line;
    int framing;
};

void PrintTo(const RoundTripCase& param, std::ostream* out)
{
    static const char* const kFramings[] = {"RTU", "ASCII", "PPP"};
    *out << "level " << param.level << (param.functionSet ? ", 0x48" : ", 3/16")
         << (param.line == RigLine::kTcp ? ", TCP, " : ", pty, ") << kFramings[param.framing];
}

class ConfigurationRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(ConfigurationRoundTrip, ConnectEditWriteAndReadBack)
{
    const RoundTripCase& param = GetParam();
    RigOptions options = MeterAt(param.level);
    options.functionSet = param.functionSet;
    options.line = param.line;
    options.framing = param.framing;
    DriverRig rig(options);
    const ConfigurationBlocks inMeter = DistinctConfiguration(kMeterModel, 0);
    PrepareMeter(rig, inMeter);
    ASSERT_TRUE(rig.Start());
    RecordingRequester page;

    ASSERT_TRUE(rig.Run(kCommandConnect, &page));
    ASSERT_TRUE(rig.driver.IsDeviceConnected()) << rig.Messages().join(QLatin1Char(10)).toStdString();
    EXPECT_EQ(page.Calls(), (QStringList{QStringLiteral("R"), QStringLiteral("0")}));
    EXPECT_EQ(rig.driver.FirmwareLevel(), param.level);
    EXPECT_EQ(rig.driver.Data().versionText, Utf8("АВ 1.3 ПВ 2.5"));
    EXPECT_EQ(rig.host.DeviceInformation().last(), Utf8("Информация о приборе: АВ 1.3 ПВ 2.5"));
    EXPECT_EQ(rig.host.PageRefreshes(), 1);
    EXPECT_EQ(rig.host.ConnectionTexts().last(), Utf8("Связь установлена"));
    EXPECT_EQ(rig.LastOperationText(), Utf8("Операция успешно завершена!"));
    ExpectSameConfiguration(rig.driver.Configuration(), inMeter);

    // Edited as the pages would, then written.
    ConfigurationBlocks edited = DistinctConfiguration(kMeterModel, 1);
    edited.identity = rig.driver.Configuration().identity;
    rig.driver.Configuration() = edited;
    ASSERT_TRUE(rig.Run(kCommandWriteConfiguration, &page));
    EXPECT_EQ(page.Calls().last(), QStringLiteral("2"));
    ExpectSameConfiguration(rig.MeterConfiguration(), edited);
    if (param.level < kLevelSeparateControls) {
        // The controls went inside the record: the separate area was never addressed.
        rig.WithImage([](MeterImage& image) {
            const QByteArray controls(reinterpret_cast<const char*>(image.At(AreaRegister(MeterArea::kControls))), 64);
            EXPECT_EQ(controls, QByteArray(64, '\0'));
        });
    }

    // Read back over the open channel: the checksums written match, so nothing is asked.
    rig.driver.Configuration() = ConfigurationBlocks{};
    ASSERT_TRUE(rig.Run(kCommandReadConfiguration, &page));
    ExpectSameConfiguration(rig.driver.Configuration(), edited);
    EXPECT_TRUE(rig.host.Boxes().isEmpty()) << rig.BoxTexts().join(QLatin1Char(10)).toStdString();
}

// Each level with both function sets, each framing over both lines.
INSTANTIATE_TEST_SUITE_P(
    LevelsLinesAndFramings, ConfigurationRoundTrip,
    testing::Values(RoundTripCase{511, CModbusMaster::kStandardFunctions, RigLine::kTcp, kFramingRtu},
                    RoundTripCase{511, kFunctions48, RigLine::kPty, kFramingAscii},
                    RoundTripCase{512, CModbusMaster::kStandardFunctions, RigLine::kPty, kFramingRtu},
                    RoundTripCase{512, kFunctions48, RigLine::kTcp, kFramingPpp},
                    RoundTripCase{515, CModbusMaster::kStandardFunctions, RigLine::kTcp, kFramingAscii},
                    RoundTripCase{515, kFunctions48, RigLine::kPty, kFramingPpp}));

// (function, first register, registers) of each request.
using Step = std::tuple<int, int, int>;

QList<Step> Steps(const QList<SentUnit>& units)
{
    QList<Step> steps;
    for (const SentUnit& unit : units)
        steps << Step{unit.function, unit.start, unit.count};
    return steps;
}

TEST(DriverConfiguration, WritesBetweenServiceCommandsInAFixedOrder)
{
    const Step identity{3, 0, 19}, clock{3, 3540, 3}, service{16, 2665, 4}, recordChecksum{16, 2669, 4},
        openChecksum{16, 2673, 3}, open{16, 2153, 11};
    const QList<Step> expected512 = {identity,       clock,        service,        {16, 105, 123},
                                     {16, 228, 123}, {16, 351, 9}, recordChecksum, service,
                                     openChecksum,   open,         {16, 3801, 32}};
    // Below 512 the record is 574 bytes and the controls are its tail.
    const QList<Step> expected511 = {identity,      clock,          service, {16, 105, 123}, {16, 228, 123},
                                     {16, 351, 41}, recordChecksum, service, openChecksum,   open};
    for (const std::uint16_t level : {512, 511}) {
        SCOPED_TRACE(level);
        DriverRig rig(MeterAt(level));
        PrepareMeter(rig, DistinctConfiguration(kMeterModel, 0));
        ASSERT_TRUE(rig.Start());
        ASSERT_TRUE(rig.Run(kCommandConnect));
        rig.host.Clear();
        ASSERT_TRUE(rig.Run(kCommandWriteConfiguration));
        EXPECT_EQ(Steps(rig.SentRequests()), level == 512 ? expected512 : expected511);
        EXPECT_EQ(rig.LastOperationText(), Utf8("Операция успешно завершена!"));
        // The last service command is 2, its parameters zero.
        rig.WithImage([](MeterImage& image) {
            EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(image.At(2665)), 8),
                      QByteArray::fromHex("0200000000000000"));
        });
    }
}

TEST(DriverConfiguration, ForeignDeviceIsRefusedAfterItsIdentity)
{
    DriverRig rig;
    PrepareMeter(rig, DistinctConfiguration(kMeterModel, 0));
    rig.WithImage([](MeterImage& image) { image.PutU16(0, 0x1701); });
    ASSERT_TRUE(rig.Start());
    RecordingRequester page;
    ASSERT_TRUE(rig.Run(kCommandConnect, &page));

    EXPECT_EQ(rig.server.Requests(), 1);
    const QList<RecordedBox> boxes = rig.host.Boxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, Utf8("Подключенное устройство не является прибором заданного типа!"));
    EXPECT_EQ(boxes[0].caption, Utf8("Информация"));
    EXPECT_TRUE(rig.Messages().contains(boxes[0].text));
    EXPECT_FALSE(rig.driver.IsDeviceConnected());
    EXPECT_EQ(page.Notices(), 0);
    EXPECT_EQ(rig.LastOperationText(), Utf8("Операция завершена НЕ успешно!"));
    EXPECT_EQ(rig.host.DeviceInformation().last(), QString());
}

TEST(DriverConfiguration, ChecksumMismatchAsksAndKeepsTheDefaults)
{
    TunesRecord defaultTunes{};
    OpenSettings defaultOpen{};
    MakeDefaultTunes(defaultTunes, defaultOpen);
    const ConfigurationBlocks inMeter = DistinctConfiguration(kMeterModel, 0);
    for (const int answer : {MessageAnswer::kNo, MessageAnswer::kYes}) {
        SCOPED_TRACE(answer);
        DriverRig rig;
        PrepareMeter(rig, inMeter);
        rig.WithImage([](MeterImage& image) {
            image.At(2669)[0] ^= 0x5A;
            image.At(2673)[1] ^= 0x01;
        });
        rig.host.boxAnswer = answer;
        ASSERT_TRUE(rig.Start());
        RecordingRequester page;
        ASSERT_TRUE(rig.Run(kCommandConnect, &page));

        // The reads succeeded, so the connection stands.
        EXPECT_TRUE(rig.driver.IsDeviceConnected());
        EXPECT_EQ(page.Notices(), 1);
        const QList<RecordedBox> boxes = rig.host.Boxes();
        ASSERT_EQ(boxes.size(), 2);
        EXPECT_EQ(boxes[0].text,
                  Utf8("Не сошлась прочитанная и расчитанная контрольные суммы настроек, не защищенных "
                       "кнопкой Доступ!"));
        EXPECT_EQ(boxes[0].caption, Utf8("Предупреждение"));
        EXPECT_EQ(boxes[0].style, MessageStyle::kIconWarning);
        EXPECT_EQ(boxes[1].text,
                  Utf8("Не сошлась прочитанная и расчитанная контрольные суммы настроек! Очистить "
                       "содержимое прочитанных настроек?"));
        EXPECT_EQ(boxes[1].style & MessageStyle::kButtonMask, MessageStyle::kYesNo);
        EXPECT_TRUE(rig.Messages().contains(Utf8("Не сошлась прочитанная и расчитанная контрольные суммы настроек!")));

        const ConfigurationBlocks& working = rig.driver.Configuration();
        EXPECT_EQ(BytesOf(working.tunes), BytesOf(defaultTunes));
        EXPECT_EQ(BytesOf(working.open), BytesOf(defaultOpen));
        EXPECT_EQ(BytesOf(working.controls), BytesOf(inMeter.controls));
        // "Yes" also clears what was read into the image.
        const std::span<const std::uint8_t> record = rig.driver.AreaBytes(MeterArea::kTunes);
        const QByteArray imageRecord(reinterpret_cast<const char*>(record.data()), int(record.size()));
        EXPECT_EQ(imageRecord, BytesOf(answer == MessageAnswer::kYes ? defaultTunes : inMeter.tunes));
    }
}

TEST(DriverConfiguration, ModelAndClockChecksRefuseBeforeAnythingIsWritten)
{
    DriverRig rig;
    PrepareMeter(rig, DistinctConfiguration(kMeterModel, 0));
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.Run(kCommandConnect));
    const ConfigurationBlocks before = rig.MeterConfiguration();
    ConfigurationBlocks& working = rig.driver.Configuration();
    working.tunes.reportHour = 20;

    // A configuration made for model "01".
    working.identity.modelIndex = 0;
    rig.host.Clear();
    ASSERT_TRUE(rig.Run(kCommandWriteConfiguration));
    EXPECT_EQ(rig.BoxTexts(),
              QStringList{Utf8("Записываемая конфигурация не соответствует модели прибора "
                               "(модель прибора 04, конфигурация для модели 01)!")});
    EXPECT_EQ(Steps(rig.SentRequests()), (QList<Step>{{3, 0, 19}}));
    EXPECT_EQ(rig.LastOperationText(), Utf8("Операция завершена НЕ успешно!"));

    // The right model, but the meter's clock three hours behind and the user cancels.
    working.identity.modelIndex = kMeterModel;
    const QDateTime behind = QDateTime::currentDateTime().addSecs(-3 * 3600);
    rig.SetMeterClock(behind);
    rig.host.boxAnswer = MessageAnswer::kCancel;
    rig.host.Clear();
    ASSERT_TRUE(rig.Run(kCommandWriteConfiguration));
    ASSERT_EQ(rig.host.Boxes().size(), 1);
    EXPECT_TRUE(rig.host.Boxes()[0].text.startsWith(Utf8("Дата/время в вычислителе (")));
    EXPECT_EQ(Steps(rig.SentRequests()), (QList<Step>{{3, 0, 19}, {3, 3540, 3}}));
    ExpectSameConfiguration(rig.MeterConfiguration(), before);

    // OK writes the configuration and leaves the clock alone.
    rig.host.boxAnswer = MessageAnswer::kOk;
    ASSERT_TRUE(rig.Run(kCommandWriteConfiguration));
    EXPECT_EQ(rig.MeterConfiguration().tunes.reportHour, 20);
    EXPECT_LT(std::abs(SecondsOf(rig.MeterClock()) - SecondsOf(StampOf(behind))), 60);
}

}  // namespace
