// The device operations called directly (no driver threads) against the simulated meter over loopback
// TCP: which registers each one moves at each firmware level and in each function set, the bytes of the
// service, password and parameter-change blocks, and the refusals that send nothing.

#include "archives/record_bytes.h"
#include "channel/message_style.h"
#include "support/driver_rig.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

QString Utf8(const char* text)
{
    return QString::fromUtf8(text);
}

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
    return rig.Start() && rig.driver.OpenChannel() && rig.driver.ReadVersionInfo();
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
    rig.WithImage([&](MeterImage& image) { bytes = QByteArray(reinterpret_cast<const char*>(image.At(registerNumber)), count); });
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
        FillMeterArea(rig, 2740, 256, 0x11);
        FillMeterArea(rig, 2868, 256, 0x41);
        ASSERT_TRUE(Identified(rig));
        rig.driver.Data().request = ValueArchiveRequest(kArchiveDaily, DateTimeStamp{5, 3, 16, 0, 0, 0});
        rig.host.Clear();
        ASSERT_TRUE(rig.driver.ReadArchValues());
        EXPECT_EQ(Steps(rig), (QList<Step>{{16, 99, 6}, {3, 2740, level.recordBytes / 2}}));
        EXPECT_EQ(rig.Messages(), QStringList{Utf8("Чтение суточного архива за 05.03.2016 00:00:00...")});
        EXPECT_EQ(rig.host.OperationTexts(), QStringList{Utf8("Чтение архива...")});
        EXPECT_EQ(MeterBytes(rig, 99, 12), RecordToBytes(rig.driver.Data().request));
        // What the meter did not send stays clear.
        const std::uint8_t* area = rig.driver.Data().At(MeterArea::kArchiveRecord);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(area), 256),
                  MeterBytes(rig, 2740, level.recordBytes) + QByteArray(256 - level.recordBytes, '\0'));

        rig.driver.Data().request.kind = kArchiveTotals;
        rig.host.Clear();
        ASSERT_TRUE(rig.driver.ReadArchValues());
        EXPECT_EQ(Steps(rig), (QList<Step>{{16, 99, 6}, {3, 2868, level.totalsBytes / 2}}));
        EXPECT_EQ(Bytes(rig.driver.AreaBytes(MeterArea::kTotalsRecord)), MeterBytes(rig, 2868, level.totalsBytes));
    }
}

TEST(DriverOperations, RequestAndAnswerShareOne48Transfer)
{
    DriverRig rig(Direct(515, CModbusMaster::kNonStandardFunctions));
    ASSERT_TRUE(Identified(rig));
    rig.driver.Data().request = ValueArchiveRequest(kArchiveHourly, DateTimeStamp{1, 2, 16, 10, 0, 0});
    rig.host.Clear();
    ASSERT_TRUE(rig.driver.ReadArchValues());
    const QList<SentUnit> units = rig.SentRequests();
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(units[0].function, 0x48);
    EXPECT_EQ(Step(units[0].start, units[0].count, units[0].writeStart), Step(2740, 109, 99));
    EXPECT_EQ(units[0].writeCount, 6);
}

TEST(DriverOperations, EventLogsFlashPagesAndTheClock)
{
    DriverRig rig(Direct(515));
    FillMeterArea(rig, 3156, 256, 0x21);
    ASSERT_TRUE(Identified(rig));
    DriverData& data = rig.driver.Data();

    // Sixteen entries are 128 registers: two standard reads. The request names the first entry only.
    data.request = EventLogRequest(kEventLogAdministrative, 300, 16);
    rig.host.Clear();
    ASSERT_TRUE(rig.driver.ReadAsyncArch());
    EXPECT_EQ(Steps(rig), (QList<Step>{{16, 99, 6}, {3, 3156, 125}, {3, 3281, 3}}));
    EXPECT_EQ(MeterBytes(rig, 99, 12), QByteArray::fromHex("00000000000000002C010000"));
    EXPECT_EQ(rig.Messages(), QStringList{Utf8("Чтение архива адм. соб. (запись N0300, кол-во 16)...")});
    EXPECT_EQ(Bytes(rig.driver.AreaBytes(MeterArea::kEventLogAdministrative)), MeterBytes(rig, 3156, 256));

    // A fourth log or more entries than the slot holds are refused unsent.
    for (const auto& [log, count] : {std::pair{3, 1}, std::pair{0, 17}}) {
        data.request.kind = std::uint16_t(log);
        data.request.count = std::uint16_t(count);
        rig.host.Clear();
        EXPECT_FALSE(rig.driver.ReadAsyncArch());
        EXPECT_TRUE(rig.SentRequests().isEmpty());
        EXPECT_EQ(rig.BoxTexts(), QStringList{Utf8("Ошибка выполнения ReadAsyncArch!")});
    }

    // A flash page always travels as one 0x48 transfer.
    data.request = FlashPageRequest(5);
    rig.host.Clear();
    ASSERT_TRUE(rig.driver.ReadFlashPage());
    const QList<SentUnit> units = rig.SentRequests();
    ASSERT_EQ(units.size(), 1);
    EXPECT_EQ(Step(units[0].function, units[0].start, units[0].count), Step(0x48, 3668, 128));
    EXPECT_EQ(rig.Messages(), QStringList{Utf8("Чтение страницы 5 flash...")});

    rig.host.Clear();
    ASSERT_TRUE(rig.driver.ReadCurrentDateTime());
    EXPECT_EQ(Steps(rig), (QList<Step>{{3, 3540, 3}}));
}

TEST(DriverOperations, ServiceCommandsCarryTheirCodeAndParameters)
{
    // The clock is set with code 6 below level 521 and with 9 from it.
    for (const std::uint16_t level : {520, 521}) {
        DriverRig rig(Direct(level));
        ASSERT_TRUE(Identified(rig));
        const QDate today = QDate::currentDate();
        ASSERT_TRUE(rig.driver.SetDeviceClock());
        const QByteArray block = MeterBytes(rig, 2665, 8);
        EXPECT_EQ(block.left(2), QByteArray::fromHex(level == 520 ? "0600" : "0900"));
        const char date[] = {char(today.day()), char(today.month()), char(today.year() - 2000)};
        EXPECT_EQ(block.mid(2, 3), QByteArray(date, 3));
    }

    DriverRig rig(Direct(515));
    ASSERT_TRUE(Identified(rig));
    ASSERT_TRUE(rig.driver.WriteServiceCmd(65436, 0));
    EXPECT_EQ(MeterBytes(rig, 2665, 8), QByteArray::fromHex("9CFF000000000000"));

    // Codes 7 and 8 send their password bytes as parameters; the command thread writes them to the
    // password block first.
    const ServiceCommand withPassword = PasswordServiceCommand(7, {'A', 'B', 'C', 'D', 'E', 0});
    EXPECT_EQ(withPassword.Code(), 7);
    EXPECT_EQ(withPassword.Parameters(), (PasswordBytes{'A', 'B', 'C', 'D', 'E', 0}));
    ASSERT_TRUE(rig.driver.WritePasswordChangeBd(withPassword.Parameters()));
    ASSERT_TRUE(rig.driver.WriteServiceCmd(withPassword.codeWord, withPassword.value));
    EXPECT_EQ(MeterBytes(rig, 99, 12), QByteArray("ABCDE\0\0\0\0\0\0\0", 12));
    EXPECT_EQ(MeterBytes(rig, 2665, 8), QByteArray("\x07\0ABCDE\0", 8));

    // A parameter change: the typed password padded to five with a zero after it, then code and value.
    PasswordBytes password{};
    EXPECT_FALSE(ParameterPasswordBytes("123456", password));
    ASSERT_TRUE(ParameterPasswordBytes("12", password));
    const ParameterChange change = ParameterChangeOf(0x0123, 2.5f);
    ASSERT_TRUE(rig.driver.WritePasswordChangeBd(password));
    ASSERT_TRUE(rig.driver.WriteChangeParCmd(change.codeWord, change.valueWord, change.extra));
    EXPECT_EQ(MeterBytes(rig, 99, 6), QByteArray("12   \0", 6));
    EXPECT_EQ(MeterBytes(rig, 3796, 10), QByteArray::fromHex("2301000020400000" "0000"));
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
        EXPECT_EQ(rig.driver.WriteServiceCmd(code, 0), code == 65436) << code;
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
        ASSERT_TRUE(rig.driver.ReadManufactureData());
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
        ASSERT_TRUE(rig.driver.WriteManufactureData());
        const QByteArray written = RecordToBytes(toWrite).left(level == 511 ? 6 : 14);
        EXPECT_EQ(MeterBytes(rig, 35, written.size()), written);
        EXPECT_EQ(std::uint32_t{rig.driver.Data().makerData.serialAtManufacture}, 777u);

        // The variant goes out from level 512 on; everything else but serial and battery is zero.
        rig.driver.Data().serviceCentreDataToWrite = ServiceCentreDataForWrite(123456, 5, 2, level);
        ASSERT_TRUE(rig.driver.WriteServicecenterData());
        ASSERT_TRUE(rig.driver.ReadServicecenterData());
        EXPECT_EQ(MeterBytes(rig, 67, 28),
                  QByteArray::fromHex(level == 511 ? "40E2010005" : "40E2010015") + QByteArray(23, '\0'));
        EXPECT_EQ(rig.driver.Data().serviceCentreData.Variant(), level == 511 ? 0u : 2u);
    }
}

TEST(DriverOperations, DescriptorsAndAForeignFunctionSet)
{
    DriverRig rig(Direct(515));
    FillMeterArea(rig, 2676, 54, 0x01);
    FillMeterArea(rig, 2708, 38, 0x41);
    FillMeterArea(rig, 2996, 24, 0x71);
    ASSERT_TRUE(Identified(rig));
    ASSERT_TRUE(rig.driver.ReadArchInfo());
    const ArchiveDescriptors& descriptors = rig.driver.Data().descriptors;
    EXPECT_EQ(RecordToBytes(descriptors.dates), MeterBytes(rig, 2676, 54));
    EXPECT_EQ(RecordToBytes(descriptors.capacities), MeterBytes(rig, 2708, 38));
    EXPECT_EQ(RecordToBytes(descriptors.logs), MeterBytes(rig, 2996, 24));
    const QByteArray firstDates = RecordToBytes(descriptors.dates);

    // A function set that is neither: the operation's error, nothing sent, the copies kept.
    rig.driver.ModbusMaster().SetFunctionSet(7);
    FillMeterArea(rig, 2676, 54, 0x55);
    rig.host.Clear();
    EXPECT_FALSE(rig.driver.ReadArchInfo());
    EXPECT_TRUE(rig.SentRequests().isEmpty());
    const QList<RecordedBox> boxes = rig.host.Boxes();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes[0].text, Utf8("Ошибка выполнения ReadArchInfo!"));
    EXPECT_EQ(boxes[0].caption, Utf8("Ошибка"));
    EXPECT_EQ(boxes[0].style, MessageStyle::kIconError);
    EXPECT_EQ(RecordToBytes(descriptors.dates), firstDates);
}

}  // namespace
