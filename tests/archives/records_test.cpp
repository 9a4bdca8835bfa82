#include "archives/archive_records.h"
#include "archives/current_values.h"
#include "archives/flag_markers.h"
#include "archives/record_bytes.h"
#include "meter/archive_descriptors.h"
#include "meter/event_record.h"
#include "support/record_bytes.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

// Multi-byte fields of packed records are compared as values (unary +): the assertion macros bind
// references, which must not point at unaligned fields.

TEST(ArchiveRecords, WireSizesFollowTheVersionWord)
{
    EXPECT_EQ(ArchiveRecordSize(0), 206u);
    EXPECT_EQ(ArchiveRecordSize(511), 206u);
    EXPECT_EQ(ArchiveRecordSize(512), 208u);
    EXPECT_EQ(ArchiveRecordSize(514), 208u);
    EXPECT_EQ(ArchiveRecordSize(515), 218u);
    EXPECT_EQ(ArchiveRecordSize(0xFFFF), 218u);
    EXPECT_EQ(TotalsRecordSize(514), 220u);
    EXPECT_EQ(TotalsRecordSize(515), 232u);

    // Only the bytes the meter sends reach the record; the rest stays 0.
    std::vector<std::uint8_t> area(256, 0xAB);
    const auto record = RecordFromBytes<ArchiveRecord>(std::span(area).first(ArchiveRecordSize(511)));
    EXPECT_EQ(record.schemes[1].frt, 0xAB);          // byte 205, the last one sent
    EXPECT_EQ(record.schemes[1].notInterpreted, 0);  // byte 206
    const auto* raw = reinterpret_cast<const std::uint8_t*>(&record);
    for (std::size_t i = 206; i < sizeof record; ++i)
        EXPECT_EQ(raw[i], 0) << i;
    // An empty buffer gives a zeroed record, and a round trip keeps every byte.
    const auto empty = RecordFromBytes<ArchiveRecord>(std::span<const std::uint8_t>());
    EXPECT_EQ(empty.date.year, 0);
    const QByteArray image = RecordToBytes(RecordFromBytes<ArchiveRecord>(area));
    EXPECT_EQ(image, QByteArray(218, char(0xAB)));
    EXPECT_EQ(RecordToBytes(record, 206).size(), 206);
}

TEST(ArchiveRecords, FieldsSitAtTheirOffsets)
{
    std::vector<std::uint8_t> bytes(218, 0);
    Put<std::uint8_t>(bytes, 0, 17);
    Put<float>(bytes, 8 + 16 * 4, 0.6f);         // pipe 5 P
    Put<float>(bytes, 116 + 36, -3.5f);          // input 2 dM
    Put<std::uint16_t>(bytes, 134 + 36, 40000);  // input 2 ВОС
    Put<float>(bytes, 172, 12.25f);              // ДП
    Put<std::uint8_t>(bytes, 176 + 5, 0x81);     // pipe 6 flags
    Put<std::uint16_t>(bytes, 184, 0x0141);      // input 2 flags
    Put<std::uint16_t>(bytes, 196, 77);          // minutes power off
    Put<std::uint8_t>(bytes, 204, 3);            // input 2 КТ3
    const auto record = RecordFromBytes<ArchiveRecord>(bytes);
    EXPECT_EQ(record.date.day, 17);
    EXPECT_FLOAT_EQ(+record.pipes[4].P, 0.6f);
    EXPECT_FLOAT_EQ(+record.inputs[1].dM, -3.5f);
    EXPECT_EQ(+record.inputs[1].VOS, 40000);
    EXPECT_FLOAT_EQ(+record.dp, 12.25f);
    EXPECT_EQ(record.pipeFlags[5], 0x81);
    EXPECT_EQ(+record.inputFlags[1], 0x0141);
    EXPECT_EQ(+record.minutesPowerOff, 77);
    EXPECT_EQ(record.schemes[1].kt3, 3);

    std::vector<std::uint8_t> current(222, 0);
    Put<float>(current, 54 + 4 * 2, 1.5f);  // Gо of pipe 3
    Put<float>(current, 210 + 4, 21.0f);    // tнв of input 2
    Put<std::uint8_t>(current, 218, 0xFE);  // only bit 0 names the set
    const auto values = RecordFromBytes<CurrentValues>(current);
    EXPECT_FLOAT_EQ(+values.Go[2], 1.5f);
    EXPECT_FLOAT_EQ(+values.tnv[1], 21.0f);
    EXPECT_EQ(values.ActiveSetIndex(), 0);
}

TEST(ArchiveRecords, TotalsMoveBehindASixByteStampForDisplay)
{
    std::vector<std::uint8_t> bytes(232);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    const auto archive = RecordFromBytes<TotalsRecord>(bytes);
    const CurrentTotalsRecord current = ToCurrentTotalsForm(archive);
    const QByteArray image = RecordToBytes(current);
    ASSERT_EQ(image.size(), 234);
    EXPECT_EQ(image.left(6), QByteArray::fromHex("0108") + QByteArray::fromHex("0f16") + QByteArray(2, '\0'));
    EXPECT_EQ(image.mid(6), QByteArray(reinterpret_cast<const char*>(bytes.data()) + 4, 228));
    // Fields named at their current-form offsets: pipe 1 V at 6, ДП at 194, active set at 214.
    double v1 = 0;
    std::memcpy(&v1, bytes.data() + 4, sizeof v1);
    EXPECT_EQ(+current.body.pipes[0].V, v1);
    EXPECT_EQ(static_cast<std::uint8_t>(image[214]), bytes[212]);
    EXPECT_EQ(current.body.activeSet, bytes[212]);
}

TEST(ArchiveRecords, EventDescriptorAndValueKinds)
{
    EventRecord entry{};
    entry.descriptor = 0xC611;
    EXPECT_EQ(entry.QuantityType(), 17);
    EXPECT_EQ(entry.Context(), 3);
    EXPECT_EQ(entry.ValueKind(), kEventValueFloat);
    EXPECT_EQ(entry.ParameterSet(), 1);
    entry.descriptor = 0x7FFF;
    EXPECT_EQ(entry.QuantityType(), 511);
    EXPECT_EQ(entry.Context(), 7);
    EXPECT_EQ(entry.ValueKind(), kEventValueTime);
    EXPECT_EQ(entry.ParameterSet(), 0);

    const std::uint8_t value[4] = {0x01, 0x02, 0x03, 0x84};
    EXPECT_EQ(EventValueInteger(kEventValueU8, value), 0x01u);
    EXPECT_EQ(EventValueInteger(kEventValueU16, value), 0x0201u);
    EXPECT_EQ(EventValueInteger(kEventValueU32, value), 0x84030201u);
    EXPECT_EQ(EventValueInteger(kEventValueFloat, value), 0u);
    const std::uint8_t one[4] = {0x00, 0x00, 0x80, 0x3F};
    EXPECT_EQ(EventValueFloat(one), 1.0f);

    EXPECT_EQ(EventValueKindName(kEventValueNone), QStringLiteral("нет"));
    EXPECT_EQ(EventValueKindName(kEventValueU32), QStringLiteral("unsigned long"));
    EXPECT_EQ(EventValueKindName(kEventValueChrono2), QStringLiteral("TChronoArch"));
    EXPECT_EQ(EventValueKindName(kEventValueTime), QStringLiteral("TChrono"));
}

TEST(ArchiveRecords, DescriptorsAndRequests)
{
    std::vector<std::uint8_t> bytes(116, 0);
    const std::uint8_t dailyFirst[6] = {2, 1, 24, 9, 10, 11};
    std::memcpy(bytes.data() + 6, dailyFirst, 6);        // area 1, daily first record
    bytes[2] = kEmptyYear;                               // hourly archive empty
    Put<std::uint16_t>(bytes, 54 + 6 + 8 * 2, 1200);     // area 2, monthly maximum
    Put<std::uint16_t>(bytes, 54 + 6 + 8 * 2 + 2, 37);   // its write index
    bytes[54 + 6 + 8 * 2 + 6] = 0x03;                    // overwrite bit and a stray bit
    Put<std::uint16_t>(bytes, 54 + 38 + 8 * 2 + 4, 16);  // area 3, diagnostics record size
    const auto descriptors = RecordFromBytes<ArchiveDescriptors>(bytes);
    EXPECT_TRUE(descriptors.IsEmpty(kArchiveHourly));
    EXPECT_FALSE(descriptors.IsEmpty(kArchiveDaily));
    EXPECT_EQ(StampText(descriptors.FirstRecord(kArchiveDaily)), QStringLiteral("02.01.2024 09:10:11"));
    EXPECT_EQ(+descriptors.Capacity(kArchiveMonthly).maxRecords, 1200);
    EXPECT_EQ(+descriptors.Capacity(kArchiveMonthly).writeIndex, 37);
    EXPECT_TRUE(descriptors.Capacity(kArchiveMonthly).Overwrites());
    EXPECT_FALSE(descriptors.Capacity(kArchiveDaily).Overwrites());
    EXPECT_EQ(+descriptors.LogCapacity(kEventLogDiagnostics).recordSize, 16);
    // Kinds without descriptors read as empty archives, never past the block.
    EXPECT_TRUE(descriptors.IsEmpty(kArchiveCurrentValues));
    EXPECT_EQ(+descriptors.Capacity(7).maxRecords, 0);
    EXPECT_EQ(+descriptors.LogCapacity(3).maxRecords, 0);

    const ArchiveRequest value = ValueArchiveRequest(kArchiveTotals, DateTimeStamp{2, 1, 24, 9, 10, 11});
    EXPECT_EQ(RecordToBytes(value), QByteArray::fromHex("020118090a0b030000000000"));
    EXPECT_EQ(RecordToBytes(EventLogRequest(kEventLogAdministrative, 300, 40)),
              QByteArray::fromHex("0000000000000100"
                                  "2c011000"));
    EXPECT_EQ(+EventLogRequest(kEventLogDbChanges, 0, 0xFFFFFFFFu).count, 16);  // "-1" typed
    EXPECT_EQ(+EventLogRequest(kEventLogDbChanges, 0, 5).count, 5);
    EXPECT_EQ(RecordToBytes(FlashPageRequest(2)), QByteArray::fromHex("000000000000000002000000"));
}

TEST(FlagMarkers, BitsPerQuantity)
{
    EXPECT_EQ(Markers(FlaggedQuantity::PipeT, 0x07), QStringLiteral("<>!"));
    EXPECT_EQ(Markers(FlaggedQuantity::PipeP, 0xFF), QStringLiteral("<> "));
    EXPECT_EQ(Markers(FlaggedQuantity::PipeV, 0xA0), QStringLiteral("< !"));
    EXPECT_EQ(Markers(FlaggedQuantity::PipeT, 0xF8), QStringLiteral("   "));
    // Input word 0x0141: "<" for dt, "<" and "!" for tнв, nothing elsewhere.
    EXPECT_EQ(Markers(FlaggedQuantity::InputDt, 0x0141), QStringLiteral("<  "));
    EXPECT_EQ(Markers(FlaggedQuantity::InputTnv, 0x0141), QStringLiteral("< !"));
    EXPECT_EQ(Markers(FlaggedQuantity::InputTx, 0x0141), QStringLiteral("   "));
    EXPECT_EQ(Markers(FlaggedQuantity::InputQ12, 0x0200), QStringLiteral("<  "));
    EXPECT_EQ(Markers(FlaggedQuantity::InputQg, 0x0400), QStringLiteral("<  "));
    EXPECT_EQ(Markers(FlaggedQuantity::InputDm, 0x0002), QStringLiteral("<  "));
    EXPECT_EQ(Markers(FlaggedQuantity::InputQtv, 0x0004), QStringLiteral("<  "));
    EXPECT_EQ(Markers(FlaggedQuantity::Dp, 0x03, 2), QStringLiteral("<>"));
    EXPECT_EQ(Markers(FlaggedQuantity::Unflagged, 0xFFFF), QStringLiteral("   "));
}
