// The device operations called directly (no driver threads) against the simulated meter over loopback
// TCP: which registers each one moves at each firmware level and in each function set, the bytes of the
// service, password and parameter-change blocks, and the refusals that send nothing.

#include "archives/record_bytes.h"
#include "base/message_style.h"
#include "base/utf8_text.h"
#include "sim/event_logs.h"
#include "support/driver_rig.h"
#include "support/qt_printers.h"
#include "support/sim_archive_expectations.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

RigOptions Direct(std::uint16_t level, std::uint8_t functionSet = CModbusMaster::kStandardFunctions)
{
    RigOptions options;
    options.firmwareLevel = level;
    options.functionSet = functionSet;
    options.threads = false;
    return options;
}

// The rig started, the channel open and the identity read.
bool Identified(DriverRig& rig)
{
    return rig.Start() && rig.driver.OpenChannel() && rig.driver.Operations().ReadVersionInfo();
}

// (function, first register, registers) of the requests sent since the last Clear.
using Step = std::tuple<int, int, int>;

QList<Step> Steps(const DriverRig& rig)
{
    QList<Step> steps;
    for (const SentUnit& unit : rig.SentRequests())
        steps << Step{unit.function, unit.start, unit.count};
    return steps;
}

QByteArray MeterBytes(DriverRig& rig, int registerNumber, int count)
{
    QByteArray bytes;
    rig.WithImage(
        [&](MeterImage& image) { bytes = QByteArray(reinterpret_cast<const char*>(image.At(registerNumber)), count); });
    return bytes;
}

QByteArray Bytes(std::span<const std::uint8_t> span)
{
    return QByteArray(reinterpret_cast<const char*>(span.data()), int(span.size()));
}

void FillMeterArea(DriverRig& rig, int registerNumber, int count, char seed)
{
    rig.WithImage([&](MeterImage& image) {
        for (int i = 0; i < count; ++i)
            image.At(registerNumber)[i] = std::uint8_t(seed + i);
    });
}

TEST(DriverOperations, ArchiveRecordsFollowTheFirmwareLevel)
{
    struct Level {
        std::uint16_t level;
        int recordBytes;
        int totalsBytes;
    };
    for (const Level level : {Level{511, 206, 220}, Level{512, 208, 220}, Level{515, 218, 232}}) {
        SCOPED_TRACE(level.level);
        DriverRig rig(Direct(level.level));
        ASSERT_TRUE(Identified(rig));
        TChronoArch date{};
        const QByteArray daily = NewestArchiveRecord(rig.meter, kArchiveDaily, date);
        ASSERT_EQ(daily.size(), level.recordBytes);
        rig.driver.Data().request = ValueArchiveRequest(kArchiveDaily, StampOf(date));
        rig.host.Clear();
        ASSERT_TRUE(rig.driver.Operations().ReadArchValues());
        EXPECT_EQ(Steps(rig), (QList<Step>{{16, 99, 6}, {3, 2740, level.recordBytes / 2}}));
        EXPECT_EQ(rig.Messages(),
                  QStringList{QString::asprintf("Чтение суточного архива за %.2d.%.2d.%d %.2d:00:00...", date.day,
                                                date.month, date.year + 2000, date.hour)});
        EXPECT_EQ(rig.host.OperationTexts(), QStringList{Utf8("Чтение архива...")});
        EXPECT_EQ(MeterBytes(rig, 99, 12), RecordToBytes(rig.driver.Data().request));
        // What the meter did not send stays clear.
        const std::uint8_t* area = rig.driver.Data().At(MeterArea::kArchiveRecord);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(area), 256), daily + QByteArray(256 - daily.size(), '\0'));

        const QByteArray totals = NewestArchiveRecord(rig.meter, kArchiveTotals, date);
        ASSERT_EQ(totals.size(), level.totalsBytes);
        rig.driver.Data().request = ValueArchiveRequest(kArchiveTotals, StampOf(date));
        rig.host.Clear();
        ASSERT_TRUE(rig.driver.Operations().ReadArchValues());
        EXPECT_EQ(Steps(rig), (QList<Step>{{16, 99, 6}, {3, 2868, level.totalsBytes / 2}}));
        EXPECT_EQ(Bytes(rig.driver.AreaBytes(MeterArea::kTotalsRecord)), totals);
    }
}

TEST(DriverOperations, RequestAndAnswerShareOne48Transfer)
{
    DriverRig rig(Direct(515, CModbusMaster::kNonStandardFunctions));
    ASSERT_TRUE(Identified(rig));
    TChronoArch date{};
    const QByteArray hourly = NewestArchiveRecord(rig.meter, kArchiveHourly, date);
    rig.driver.Data().request = ValueArchiveRequest(kArchiveHourly, StampOf(date));
    rig.host.Clear();
    ASSERT_TRUE(rig.driver.Operations().ReadArchValues());
    EXPECT_EQ(Bytes(rig.driver.AreaBytes(MeterArea::kArchiveRecord)), hourly);
    const QList<SentUnit> units = rig.SentRequests();
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(units[0].function, 0x48);
    EXPECT_EQ(Step(units[0].start, units[0].count, units[0].writeStart), Step(2740, 109, 99));
    EXPECT_EQ(units[0].writeCount, 6);
}

TEST(DriverOperations, EventLogsFlashPagesAndTheClock)
{
    DriverRig rig(Direct(515));
    ASSERT_TRUE(Identified(rig));
    DriverData& data = rig.driver.Data();

    // Sixteen entries are 128 registers: two standard reads. The request names the first entry only.
    data.request = EventLogRequest(kEventLogAdministrative, 100, 16);
    rig.host.Clear();
    ASSERT_TRUE(rig.driver.Operations().ReadAsyncArch());
    EXPECT_EQ(Steps(rig), (QList<Step>{{16, 99, 6}, {3, 3156, 125}, {3, 3281, 3}}));
    EXPECT_EQ(MeterBytes(rig, 99, 12), QByteArray::fromHex("000000000000000064000000"));
    EXPECT_EQ(rig.Messages(), QStringList{Utf8("Чтение архива адм. соб. (запись N0100, кол-во 16)...")});
    QByteArray entries;
    rig.WithImage([&](MeterImage&) {
        for (int i = 0; i < 16; ++i)
            entries += RecordToBytes(rig.meter.Logs().At(kEventLogAdministrative, 100 + i));
    });
    EXPECT_EQ(Bytes(rig.driver.AreaBytes(MeterArea::kEventLogAdministrative)), entries);

    // A fourth log or more entries than the slot holds are refused unsent.
    for (const auto& [log, count] : {std::pair{3, 1}, std::pair{0, 17}}) {
        data.request.kind = std::uint16_t(log);
        data.request.count = std::uint16_t(count);
        rig.host.Clear();
        EXPECT_FALSE(rig.driver.Operations().ReadAsyncArch());
        EXPECT_TRUE(rig.SentRequests().isEmpty());
        EXPECT_EQ(rig.BoxTexts(), QStringList{Utf8("Ошибка выполнения ReadAsyncArch!")});
    }

    // A flash page always travels as one 0x48 transfer.
    data.request = FlashPageRequest(5);
    rig.host.Clear();
    ASSERT_TRUE(rig.driver.Operations().ReadFlashPage());
    const QList<SentUnit> units = rig.SentRequests();
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(Step(units[0].function, units[0].start, units[0].count), Step(0x48, 3668, 128));
    EXPECT_EQ(rig.Messages(), QStringList{Utf8("Чтение страницы 5 flash...")});

    rig.host.Clear();
    ASSERT_TRUE(rig.driver.Operations().ReadCurrentDateTime());
    EXPECT_EQ(Steps(rig), (QList<Step>{{3, 3540, 3}}));
}

TEST(DriverOperations, ServiceCommandsCarryTheirCodeAndParameters)
{
    // The clock is set with code 6 below level 521 and with 9 from it.
    for (const std::uint16_t level : {520, 521}) {
        DriverRig rig(Direct(level));
        ASSERT_TRUE(Identified(rig));
        const QDate today = QDate::currentDate();
        ASSERT_TRUE(rig.driver.Operations().SetDeviceClock());
        const QByteArray block = MeterBytes(rig, 2665, 8);
        EXPECT_EQ(block.left(2), QByteArray::fromHex(level == 520 ? "0600" : "0900"));
        const char date[] = {char(today.day()), char(today.month()), char(today.year() - 2000)};
        EXPECT_EQ(block.mid(2, 3), QByteArray(date, 3));
    }

    // Through the command thread, on a meter whose БД2 is in use and whose "С ПК" access asks for the
    // password.
    RigOptions options = Direct(515);
    options.threads = true;
    DriverRig rig(options);
    ConfigurationBlocks blocks = DistinctConfiguration(3, 1);
    blocks.tunes.SetPcAccess(1);
    rig.PutMeterConfiguration(blocks);
    ASSERT_TRUE(rig.Start());
    ASSERT_TRUE(rig.Run(kCommandConnect));
    DriverData& data = rig.driver.Data();

    data.serviceCommand = PlainServiceCommand(65436);
    rig.host.Clear();
    ASSERT_TRUE(rig.Run(kCommandServiceCommand));
    EXPECT_EQ(Steps(rig), (QList<Step>{{16, 2665, 4}}));
    EXPECT_EQ(MeterBytes(rig, 2665, 8), QByteArray::fromHex("9CFF000000000000"));

    // Codes 7 and 8 carry the password as their parameters; the password block goes first.
    PasswordBytes password{};
    EXPECT_FALSE(ParameterPasswordBytes("123456", password));
    ASSERT_TRUE(ParameterPasswordBytes("12345", password));
    data.serviceCommand = PasswordServiceCommand(8, password);
    rig.host.Clear();
    ASSERT_TRUE(rig.Run(kCommandServiceCommand));
    EXPECT_EQ(Steps(rig), (QList<Step>{{16, 99, 6}, {16, 2665, 4}}));
    EXPECT_EQ(MeterBytes(rig, 99, 12), QByteArray("12345\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(MeterBytes(rig, 2665, 8),
              QByteArray("\x08\0"
                         "12345\0",
                         8));
    rig.WithImage([&](MeterImage&) { EXPECT_EQ(rig.meter.State().activeSet, 1); });
    EXPECT_EQ(rig.LastOperationText(), Utf8("Операция успешно завершена!"));

    // A parameter change (the cold-water temperature of input 1): the password block, then the change.
    data.parameterPassword = password;
    data.parameterChange = ParameterChangeOf(2, 7.5f);
    ASSERT_TRUE(rig.Run(kCommandChangeParameter));
    EXPECT_EQ(MeterBytes(rig, 3796, 10),
              QByteArray::fromHex("02000000F0400000"
                                  "0000"));
    const float cold = rig.MeterConfiguration().tunes.db[1].inputs[0].contractColdTemperature;
    EXPECT_EQ(cold, 7.5f);
    // The typed password is padded with blanks; a wrong one is the meter's to refuse.
    ASSERT_TRUE(ParameterPasswordBytes("12", data.parameterPassword));
    EXPECT_EQ(data.parameterPassword, (PasswordBytes{'1', '2', ' ', ' ', ' ', 0}));
    RecordingRequester page;
    ASSERT_TRUE(rig.Run(kCommandChangeParameter, &page));
    EXPECT_EQ(page.Notices(), 0);
    EXPECT_EQ(rig.LastOperationText(), Utf8("Операция завершена НЕ успешно!"));
}

TEST(DriverOperations, SlowServiceCommandsWaitLongerThanTheNode)
{
    // The meter holds its first answer for 1.5 s; the node waits 1 s, once.
    for (const std::uint16_t code : {std::uint16_t(3), std::uint16_t(65436)}) {
        RigOptions options = Direct(515);
        options.attempts = 1;
        options.faultDelayMs = 1500;
        options.faults.SetRule(FaultKind::Delay, FaultRule{0.0, 1});
        DriverRig rig(options);
        ASSERT_TRUE(rig.Start() && rig.driver.OpenChannel());
        EXPECT_EQ(rig.driver.Operations().WriteServiceCmd(code, 0), code == 65436) << code;
    }
}

TEST(DriverOperations, MakerAndServiceCentreDataByLevel)
{
    for (const std::uint16_t level : {511, 512}) {
        SCOPED_TRACE(level);
        DriverRig rig(Direct(level));
        FillMeterArea(rig, 35, 14, 0x61);
        ASSERT_TRUE(Identified(rig));
        rig.host.Clear();
        ASSERT_TRUE(rig.driver.Operations().ReadManufactureData());
        const MakerData& read = rig.driver.Data().makerData;
        if (level == 511) {
            // Six bytes travel; the model is the identity's.
            EXPECT_EQ(Steps(rig), (QList<Step>{{3, 35, 3}}));
            EXPECT_EQ(read.modelIndex, rig.driver.Configuration().identity.modelIndex);
            EXPECT_EQ(read.manufactured.day, 0);
        } else {
            EXPECT_EQ(Steps(rig), (QList<Step>{{3, 35, 7}}));
            EXPECT_EQ(read.modelIndex, 0x67);
            EXPECT_EQ(read.manufactured.day, 0x6B);
        }
        EXPECT_EQ(std::uint16_t{read.makerId}, 0x6261);

        // The page keeps the uninterpreted bytes and dates the write by the computer's clock.
        MakerData& toWrite = rig.driver.Data().makerDataToWrite;
        toWrite = MakerDataForWrite(read, 0x0102, 777, 2, QDateTime(QDate(2016, 2, 10), QTime(14, 30)));
        EXPECT_EQ(RecordToBytes(toWrite).mid(6, 8),
                  QByteArray("\x02", 1) + RecordToBytes(read).mid(7, 3) + QByteArray::fromHex("0A02100E"));
        ASSERT_TRUE(rig.driver.Operations().WriteManufactureData());
        const QByteArray written = RecordToBytes(toWrite).left(level == 511 ? 6 : 14);
        EXPECT_EQ(MeterBytes(rig, 35, written.size()), written);
        EXPECT_EQ(std::uint32_t{rig.driver.Data().makerData.serialAtManufacture}, 777u);

        // The variant goes out from level 512 on; everything else but serial and battery is zero.
        rig.driver.Data().serviceCentreDataToWrite = ServiceCentreDataForWrite(123456, 5, 2, level);
        ASSERT_TRUE(rig.driver.Operations().WriteServicecenterData());
        ASSERT_TRUE(rig.driver.Operations().ReadServicecenterData());
        EXPECT_EQ(MeterBytes(rig, 67, 28),
                  QByteArray::fromHex(level == 511 ? "40E2010005" : "40E2010015") + QByteArray(23, '\0'));
        EXPECT_EQ(rig.driver.Data().serviceCentreData.Variant(), level == 511 ? 0u : 2u);
    }
}

TEST(DriverOperations, DescriptorsAndAForeignFunctionSet)
{
    DriverRig rig(Direct(515));
    ASSERT_TRUE(Identified(rig));
    ASSERT_TRUE(rig.driver.Operations().ReadArchInfo());
    const ArchiveDescriptors& descriptors = rig.driver.Data().descriptors;
    EXPECT_EQ(RecordToBytes(descriptors.dates), MeterBytes(rig, 2676, 54));
    EXPECT_EQ(RecordToBytes(descriptors.capacities), MeterBytes(rig, 2708, 38));
    EXPECT_EQ(RecordToBytes(descriptors.logs), MeterBytes(rig, 2996, 24));
    const QByteArray firstDates = RecordToBytes(descriptors.dates);

    // A function set that is neither: the operation's error, nothing sent, the copies kept.
    rig.driver.ModbusMaster().SetFunctionSet(7);
    rig.host.Clear();
    EXPECT_FALSE(rig.driver.Operations().ReadArchInfo());
    EXPECT_TRUE(rig.SentRequests().isEmpty());
    const QList<RecordedBox> boxes = rig.host.Boxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, Utf8("Ошибка выполнения ReadArchInfo!"));
    EXPECT_EQ(boxes[0].caption, Utf8("Ошибка"));
    EXPECT_EQ(boxes[0].style, MessageStyle::kIconError);
    EXPECT_EQ(RecordToBytes(descriptors.dates), firstDates);
}

}  // namespace
