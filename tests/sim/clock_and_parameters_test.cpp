#include "support/slave_client.h"

#include "sim/configuration_area.h"
#include "sim/event_logs.h"
#include "sim/meter_areas.h"
#include "sim/parameter_area.h"

#include "base/checksums.h"
#include "config/tunes_record.h"
#include "meter/archive_descriptors.h"

#include <gtest/gtest.h>

namespace {

// 10.03.2024 12:30:00 on the host, moved on by the tests.
struct FakeHost {
    MeterSeconds now = SecondsOf(DateTimeStamp{10, 3, 24, 12, 30, 0});
    void Drive(MeterSimulator& meter)
    {
        meter.Clock().SetSource([this] { return now; });
    }
};

DateTimeStamp ClockOf(SlaveClient& client)
{
    return client.Read(MeterArea::kCurrentValues, 6).As<DateTimeStamp>();
}

QByteArray StampBytes(const DateTimeStamp& stamp)
{
    return SlaveClient::Bytes(stamp);
}

QByteArray PasswordBlock(const char* text)
{
    QByteArray block(12, '\0');
    block.replace(0, static_cast<qsizetype>(std::strlen(text)), text);
    return block;
}

QByteArray ParameterBlock(std::uint16_t code, float value)
{
    QByteArray block(10, '\0');
    std::memcpy(block.data(), &code, 2);
    std::memcpy(block.data() + 2, &value, 4);
    return block;
}

float ColdWater(MeterSimulator& meter, int set, int input)
{
    return meter.Configuration().Tunes(meter.Image()).db[set].inputs[input].contractColdTemperature;
}

}  // namespace

TEST(SimClock, CalendarConversionsRoundTrip)
{
    // The meter's leap rule (every fourth year byte) and the year byte that never wraps.
    const DateTimeStamp leapDay{29, 2, 24, 23, 59, 58};
    EXPECT_EQ(SecondsOf(StampAt(SecondsOf(leapDay))), SecondsOf(leapDay));
    EXPECT_EQ(StampBytes(StampAt(SecondsOf(leapDay) + 2)), StampBytes(DateTimeStamp{1, 3, 24, 0, 0, 0}));
    EXPECT_EQ(StampBytes(StampAt(SecondsOf(DateTimeStamp{31, 12, 99, 23, 0, 0}) + kSecondsPerHour)),
              StampBytes(DateTimeStamp{1, 1, 100, 0, 0, 0}));
    EXPECT_EQ(SecondsOf(DateTimeStamp{1, 1, 0, 0, 0, 0}), 0);
    EXPECT_FALSE(IsValidStamp(DateTimeStamp{29, 2, 23, 0, 0, 0}));
    EXPECT_FALSE(IsValidStamp(DateTimeStamp{1, 13, 23, 0, 0, 0}));
    EXPECT_TRUE(IsValidStamp(DateTimeStamp{29, 2, 24, 23, 59, 59}));
}

TEST(SimClock, RunsWithTheHostAndIsSetByTheLevelsServiceCode)
{
    for (const std::uint16_t level : {520, 521}) {
        SCOPED_TRACE(level);
        MeterSimulator meter(AtLevel(level));
        FakeHost host;
        host.Drive(meter);
        SlaveClient client(meter);
        EXPECT_EQ(StampBytes(ClockOf(client)), StampBytes(DateTimeStamp{10, 3, 24, 12, 30, 0}));
        host.now += 61;
        EXPECT_EQ(StampBytes(ClockOf(client)), StampBytes(DateTimeStamp{10, 3, 24, 12, 31, 1}));

        const DateTimeStamp wanted{1, 2, 25, 8, 0, 5};
        const std::uint16_t own = level < 521 ? 6 : 9;
        const std::uint16_t other = level < 521 ? 9 : 6;
        EXPECT_EQ(client.ServiceCommand(other, StampBytes(wanted)), SlaveException::kIllegalValue);
        EXPECT_EQ(client.ServiceCommand(own, StampBytes(DateTimeStamp{30, 2, 25, 8, 0, 0})),
                  SlaveException::kIllegalValue);
        EXPECT_EQ(StampBytes(ClockOf(client)), StampBytes(DateTimeStamp{10, 3, 24, 12, 31, 1}));
        ASSERT_EQ(client.ServiceCommand(own, StampBytes(wanted)), 0);
        host.now += 10;
        EXPECT_EQ(StampBytes(ClockOf(client)), StampBytes(DateTimeStamp{1, 2, 25, 8, 0, 15}));
        // Setting the clock starts the archives afresh: reset now, nothing recorded yet.
        const auto dates = client.Read(MeterArea::kDescriptorDates, 54).As<DescriptorDatesArea>();
        EXPECT_EQ(StampBytes(dates.resetDate), StampBytes(wanted));
        EXPECT_TRUE(IsEmptyDate(dates.firstRecord[kArchiveHourly]));
    }
}

TEST(ParameterArea, ChangesOnlyAfterTheRightPasswordAndKeepsTheChecksum)
{
    SimOptions options = AtLevel(515);
    options.password = "4321";
    MeterSimulator meter(options);
    FakeHost host;
    host.Drive(meter);
    SlaveClient client(meter);

    // Nothing written at 99 yet, then a wrong password: the configured value stays.
    const float configuredCold = ColdWater(meter, 0, 0);
    EXPECT_NE(configuredCold, 7.5f);
    EXPECT_EQ(client.Write(MeterArea::kParameterChange, ParameterBlock(2, 7.5f)), SlaveException::kAccessDenied);
    ASSERT_EQ(client.Write(MeterArea::kArchiveRequest, PasswordBlock("1234 ")), 0);
    EXPECT_EQ(client.Write(MeterArea::kParameterChange, ParameterBlock(2, 7.5f)), SlaveException::kAccessDenied);
    EXPECT_EQ(ColdWater(meter, 0, 0), configuredCold);

    // The configurator pads the password with blanks to five characters and ends it with a zero.
    ASSERT_EQ(client.Write(MeterArea::kArchiveRequest, PasswordBlock("4321 ")), 0);
    ASSERT_EQ(client.Write(MeterArea::kParameterChange, ParameterBlock(ParameterArea::kColdWaterInput2, 7.5f)), 0);
    EXPECT_EQ(ColdWater(meter, 0, 1), 7.5f);
    const QByteArray record = client.Read(MeterArea::kTunes, 510).bytes;
    EXPECT_EQ(GetLittleEndian16(
                  reinterpret_cast<const std::uint8_t*>(client.Read(MeterArea::kTunesChecksum, 2).bytes.constData())),
              Crc16Modbus(reinterpret_cast<const std::uint8_t*>(record.constData()), 510));

    // Values out of range, unknown parameters and half a block are refused and change nothing.
    EXPECT_EQ(client.Write(MeterArea::kParameterChange, ParameterBlock(2, 100.0f)), SlaveException::kIllegalValue);
    EXPECT_EQ(client.Write(MeterArea::kParameterChange, ParameterBlock(2, std::nanf(""))),
              SlaveException::kIllegalValue);
    EXPECT_EQ(client.Write(MeterArea::kParameterChange, ParameterBlock(1, 1.0f)), SlaveException::kIllegalValue);
    EXPECT_EQ(client.Write(MeterArea::kParameterChange, ParameterBlock(2, 5.0f).left(4)),
              SlaveException::kIllegalValue);
    EXPECT_EQ(ColdWater(meter, 0, 0), configuredCold);

    // Clock correction in seconds, at most an hour.
    EXPECT_EQ(client.Write(MeterArea::kParameterChange, ParameterBlock(ParameterArea::kClockCorrection, 3601.0f)),
              SlaveException::kIllegalValue);
    ASSERT_EQ(client.Write(MeterArea::kParameterChange, ParameterBlock(ParameterArea::kClockCorrection, -30.0f)), 0);
    EXPECT_EQ(StampBytes(ClockOf(client)), StampBytes(DateTimeStamp{10, 3, 24, 12, 29, 30}));
    const int last = meter.Logs().Capacity(kEventLogAdministrative).writeIndex - 1;
    EXPECT_EQ(meter.Logs().At(kEventLogAdministrative, last).QuantityType(), MeterEvent::kClockCorrected);
}

TEST(ParameterArea, ActiveSetChangesFromThePcAsTheAccessLevelAllows)
{
    MeterSimulator meter(AtLevel(515));
    SlaveClient client(meter);
    const QByteArray password("12345\0", 6);
    // The factory record does not use БД2.
    EXPECT_EQ(client.ServiceCommand(ParameterArea::kSelectSet2, password), SlaveException::kIllegalValue);
    meter.Configuration().EditTunes(meter.Image(), [](TunesRecord& tunes) { tunes.SetDb2Used(true); });
    EXPECT_EQ(client.ServiceCommand(ParameterArea::kSelectSet2, QByteArray("54321\0", 6)),
              SlaveException::kAccessDenied);
    EXPECT_EQ(meter.State().activeSet, 0);
    ASSERT_EQ(client.ServiceCommand(ParameterArea::kSelectSet2, password), 0);
    EXPECT_EQ(meter.State().activeSet, 1);
    EXPECT_EQ(client.Read(MeterArea::kCurrentValues, 222).bytes[218], 1);
    // "Запрет" and "С Доступом" keep the PC out whatever the password.
    for (const unsigned access : {0u, 2u}) {
        meter.Configuration().EditTunes(meter.Image(), [access](TunesRecord& tunes) { tunes.SetPcAccess(access); });
        EXPECT_EQ(client.ServiceCommand(ParameterArea::kSelectSet1, password), SlaveException::kAccessDenied);
    }
    EXPECT_EQ(meter.State().activeSet, 1);
}
