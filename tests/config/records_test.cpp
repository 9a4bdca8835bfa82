// Byte layout of the configuration blocks, their bit-field accessors and the factory defaults.

#include <gtest/gtest.h>
#include <QByteArray>
#include <cstring>
#include <functional>

#include "config/device_blocks.h"
#include "config/older_layout.h"
#include "config/open_settings_text.h"
#include "config/pressure_units.h"
#include "config/tunes_defaults.h"
#include "support/record_bytes.h"

namespace {

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// A field of a word inside TunesRecord: where the word lies, which bits the field has, how it is set.
struct BitFieldCase {
    const char* name;
    int wordOffset;
    int wordSize;
    int firstBit;
    int bitCount;
    std::function<void(TunesRecord&, unsigned)> set;
    std::function<unsigned(const TunesRecord&)> get;
};

std::uint64_t WordAt(const TunesRecord& tunes, const BitFieldCase& field)
{
    std::uint64_t word = 0;
    std::memcpy(&word, reinterpret_cast<const char*>(&tunes) + field.wordOffset, std::size_t(field.wordSize));
    return word;
}

// Input 1 of set 2 and pipe 3 of input 2 of set 1, so that the record offsets are tested too.
constexpr int kInputWord = 256 + 204 + 14;  // = 220 + 240 + 14
constexpr int kPipeFlags = 16 + 102 + 2 * 34;

// Set and get through the accessor `Field` of `part` (a member path inside the record, or the record).
#define FIELD(name, offset, size, first, count, part, Field)                                         \
    {                                                                                                \
        name, offset, size, first, count, [](TunesRecord& r, unsigned v) { part(r).Set##Field(v); }, \
            [](const TunesRecord& r) { return unsigned(part(r).Field()); }                           \
    }

auto& Record(auto& r)
{
    return r;
}
auto& Input(auto& r)
{
    return r.db[1].inputs[0];
}
auto& Pipe(auto& r)
{
    return r.db[0].pipes[1][2];
}
auto& Extra(auto& r)
{
    return r.extra;
}

const BitFieldCase kBitFields[] = {
    FIELD("Использование БД2", 10, 2, 0, 1, Record, Db2Used),
    FIELD("Способ изм.акт.БД", 10, 2, 1, 2, Record, DbChangeMethod),
    FIELD("С клав.", 10, 2, 3, 3, Record, KeyboardAccess),
    FIELD("С ПК", 10, 2, 6, 3, Record, PcAccess),
    FIELD("unit system", 12, 4, 0, 1, Record, UnitSystem),
    FIELD("sensor type", 12, 4, 1, 4, Record, SensorType),
    FIELD("daylight saving", 12, 4, 6, 1, Record, AutoDaylightSaving),
    FIELD("screen inversion", 12, 4, 7, 1, Record, ScreenInversion),
    FIELD("КТ3", kInputWord, 4, 0, 3, Input, Kt3),
    FIELD("ФРТ", kInputWord, 4, 3, 4, Input, Frt),
    FIELD("Контр.t", kInputWord, 4, 7, 2, Input, TemperatureControl),
    FIELD("Контр.dM", kInputWord, 4, 9, 3, Input, ImbalanceControl),
    FIELD("Контр.Q", kInputWord, 4, 12, 3, Input, HeatControl),
    FIELD("Контр.dt", kInputWord, 4, 15, 3, Input, DeltaTControl),
    FIELD("dt min", kInputWord, 4, 18, 3, Input, DeltaTMin),
    FIELD("Исп.tx", kInputWord, 4, 21, 4, Input, ColdWaterUse),
    FIELD("Исп.tнв", kInputWord, 4, 25, 1, Input, OutdoorAirMeasured),
    FIELD("Контр.V", kPipeFlags, 2, 0, 3, Pipe, VolumeControl),
    FIELD("Контроль ВС", kPipeFlags, 2, 3, 2, Pipe, PowerControl),
    FIELD("Датчик P", kPipeFlags, 2, 5, 1, Pipe, PressureSensor),
    FIELD("Тип ВС", kPipeFlags, 2, 6, 2, Pipe, FlowMeterType),
    FIELD("ДП use", 496, 2, 0, 3, Extra, Use),
    FIELD("ДП alarm level", 496, 2, 3, 1, Extra, AlarmLevel),
    FIELD("ДП units", 496, 2, 4, 4, Extra, Units),
};

#undef FIELD

TEST(Records, EveryBitFieldOwnsExactlyItsBitsAtItsOffset)
{
    for (const BitFieldCase& field : kBitFields) {
        SCOPED_TRACE(field.name);
        const std::uint64_t ones = (std::uint64_t(1) << field.bitCount) - 1;
        const std::uint64_t mask = ones << field.firstBit;
        const std::uint64_t wordMask = (std::uint64_t(1) << (8 * field.wordSize)) - 1;

        TunesRecord zeros{};
        field.set(zeros, unsigned(ones) | (1u << field.bitCount));  // a too-wide value must not spill over
        EXPECT_EQ(WordAt(zeros, field), mask);
        EXPECT_EQ(field.get(zeros), ones);
        TunesRecord reference{};
        std::memcpy(reinterpret_cast<char*>(&reference) + field.wordOffset,
                    reinterpret_cast<const char*>(&zeros) + field.wordOffset, std::size_t(field.wordSize));
        EXPECT_EQ(BytesOf(zeros), BytesOf(reference)) << "bytes outside the word changed";

        TunesRecord full;
        std::memset(&full, 0xFF, sizeof full);
        field.set(full, 0);
        EXPECT_EQ(WordAt(full, field), wordMask & ~mask) << "reserved or neighbouring bits lost";
        EXPECT_EQ(field.get(full), 0u);
    }
}

TEST(Records, ControlAndAlarmEntriesLieWhereTheMeterKeepsThem)
{
    ControlsBlock controls{};
    controls.controls[2].SetKind(kControlPipe);
    controls.controls[2].SetNumber(5);
    controls.controls[2].SetParameter(6);
    controls.controls[2].minimum = 1.0f;
    controls.controls[2].maximum = 2.0f;
    controls.alarms[3].word = 0x1234;
    controls.alarms[3].SetEventOn(0, true);
    controls.alarms[3].SetEventOn(24, true);
    const QByteArray bytes = BytesOf(controls);
    // kind 1 | number 5 << 3 | parameter 6 << 6 = 0x01A9
    EXPECT_EQ(bytes.mid(20, 10), Hex("a9010000803f00000040"));
    EXPECT_EQ(bytes.mid(58, 6), Hex("341201000001"));
    EXPECT_TRUE(controls.alarms[3].EventOn(24));
    EXPECT_FALSE(controls.alarms[3].EventOn(23));
    EXPECT_EQ(bytes.left(20), QByteArray(20, '\0'));
    EXPECT_EQ(bytes.mid(30, 28), QByteArray(28, '\0'));
}

TEST(Records, FactoryDefaultsByteForByte)
{
    ConfigurationBlocks blocks;
    std::memset(&blocks.tunes, 0xEE, sizeof blocks.tunes);
    std::memset(&blocks.open, 0xEE, sizeof blocks.open);
    blocks.identity.modelIndex = 1;
    MakeDefaultTunes(blocks.tunes, blocks.open);
    EXPECT_EQ(blocks.identity.modelIndex, 1) << "the model belongs to the meter that was read";

    const QByteArray tunes = BytesOf(blocks.tunes);
    EXPECT_EQ(tunes.left(16),
              Hex("17190f0a00170f03001750000100"
                  "0000"));
    EXPECT_EQ(tunes.mid(16), QByteArray(510 - 16, '\0'));
    EXPECT_EQ(BytesOf(blocks.open),
              Hex("0000"
                  "30313233343536373800"
                  "38373635343332313000"));

    ConfigurationBlocks fresh;
    MakeDefaultConfiguration(fresh);
    EXPECT_EQ(fresh.identity.modelIndex, 3);
    EXPECT_EQ(BytesOf(fresh.tunes), tunes);
    EXPECT_EQ(BytesOf(fresh.controls), QByteArray(64, '\0'));
}

TEST(Records, DefaultInputByteForByte)
{
    TunesRecord tunes{};
    DbSettings& db = tunes.db[1];
    db.inputs[1].scheme = 6;
    db.inputs[1].reserved1 = 0x5A;
    db.inputs[1].word = 0xFFFFFFFF;
    MakeDefaultInput(db, 1, 3);

    const QByteArray bytes = BytesOf(tunes);
    // input 2 of set 2 at 220 + 240 + 18: scheme 6, reserved kept, dM 1.0, txд 4.0, Pxд 0.1,
    // word: КТ3 0, ФРТ 0 (scheme 6 row 1), "Исп.tx" 1 << 21, everything else cleared.
    EXPECT_EQ(bytes.mid(478, 18),
              Hex("065a"
                  "0000803f"
                  "00008040"
                  "cdcccc3d"
                  "00002000"));
    const char* pipes[3] = {
        "4000"
        "0000b442"
        "9a99193f"
        "00000000"
        "0000803f"
        "0000803f"
        "00002041"
        "0000c842"
        "0000a041",
        "4000"
        "00007042"
        "9a99193f"
        "00000000"
        "0000803f"
        "0000803f"
        "00002041"
        "0000c842"
        "0000a041",
        "4000"
        "00005c42"
        "9a99193f"
        "00000000"
        "0000803f"
        "0000803f"
        "00002041"
        "0000c842"
        "0000a041"};
    for (int pipe = 0; pipe < 3; ++pipe)
        EXPECT_EQ(bytes.mid(256 + 102 + 34 * pipe, 34), Hex(pipes[pipe])) << pipe;
    EXPECT_EQ(bytes.left(256 + 102), QByteArray(256 + 102, '\0')) << "only input 2 of set 2 is touched";
}

TEST(Records, DefaultInputTakesTheCombinationTheModelMayUse)
{
    struct Case {
        int scheme, model, input;
        unsigned kt3, frt;
    } cases[] = {
        {1, 3, 0, 1, 1},   // first row
        {13, 0, 0, 3, 7},  // "01" may use none: the scheme's first row all the same
        {12, 0, 1, 0, 11},
        {0, 3, 0, 4, 11},  // no scheme
    };
    for (const Case& c : cases) {
        DbSettings db{};
        db.inputs[c.input].scheme = std::uint8_t(c.scheme);
        MakeDefaultInput(db, c.input, c.model);
        EXPECT_EQ(db.inputs[c.input].Kt3(), c.kt3) << c.scheme;
        EXPECT_EQ(db.inputs[c.input].Frt(), c.frt) << c.scheme;
        EXPECT_EQ(db.inputs[c.input].ColdWaterUse(), 1u);
    }
}

TEST(Records, StartDateRepair)
{
    struct Case {
        int k, day, month, wantDay, wantMonth;
    } cases[] = {
        {1, 31, 4, 15, 4}, {1, 10, 0, 10, 3},   {0, 10, 13, 10, 10}, {0, 29, 2, 15, 2},
        {0, 28, 2, 28, 2}, {1, 31, 12, 31, 12}, {1, 0, 5, 15, 5},    {0, 31, 0, 31, 10},
    };
    for (const Case& c : cases) {
        TunesRecord tunes{};
        tunes.dbStart[c.k] = {std::uint8_t(c.day), std::uint8_t(c.month), 0x77, 5};
        tunes.dbStart[1 - c.k] = {1, 1, 0, 0};
        RepairDbStartDates(tunes);
        EXPECT_EQ(tunes.dbStart[c.k].day, c.wantDay) << c.day << "." << c.month;
        EXPECT_EQ(tunes.dbStart[c.k].month, c.wantMonth) << c.day << "." << c.month;
        EXPECT_EQ(tunes.dbStart[c.k].reserved, 0x77);
        EXPECT_EQ(tunes.dbStart[c.k].hour, 5);
    }
}

TEST(Records, OlderLayoutSplitsAndJoinsWithoutLosingAByte)
{
    OlderTunesImage image;
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = std::uint8_t(i * 7 + 3);
    TunesRecord tunes;
    ControlsBlock controls;
    SplitOlderTunes(image, tunes, controls);
    const QByteArray all(reinterpret_cast<const char*>(image.data()), kOlderTunesSize);
    EXPECT_EQ(BytesOf(tunes), all.left(510));
    EXPECT_EQ(BytesOf(controls), all.mid(510));
    EXPECT_EQ(JoinOlderTunes(tunes, controls), image);
}

TEST(Records, OpenSettingsTextsAreNineWindows1251Characters)
{
    OpenSettings open{};
    open.reserved1 = 0x42;
    EXPECT_TRUE(SetOrganisationCode(open, QStringLiteral("Тепло-1")));
    EXPECT_EQ(QByteArray(open.organisationCode, 10), Hex("d2e5efebee2d31000000"));
    EXPECT_EQ(OrganisationCode(open), QStringLiteral("Тепло-1"));

    EXPECT_FALSE(SetContractText(open, QStringLiteral("Договор №12345")));
    EXPECT_EQ(ContractText(open), QStringLiteral("Договор №"));
    EXPECT_EQ(open.contract[9], '\0');
    EXPECT_EQ(open.reserved1, 0x42);

    std::memcpy(open.organisationCode, "ABCDEFGHIJ", 10);  // no terminator in the field
    EXPECT_EQ(OrganisationCode(open), QStringLiteral("ABCDEFGHI"));
}

TEST(Records, PressuresAreStoredInMegapascalWhateverIsShown)
{
    EXPECT_NEAR(PressureToDisplay(0.6f, kUnitSystemMks), 6.11832, 1e-6);
    EXPECT_FLOAT_EQ(PressureFromDisplay(6.11832, kUnitSystemMks), 0.6f);
    EXPECT_FLOAT_EQ(PressureToDisplay(0.6f, kUnitSystemSi), 0.6f);

    // The same physical pressure gives the same bytes under both unit systems.
    PipeSettings si{}, mks{};
    si.contractPressure = PressureFromDisplay(0.6, kUnitSystemSi);
    mks.contractPressure = PressureFromDisplay(0.6 * kKgfPerMpa, kUnitSystemMks);
    EXPECT_EQ(BytesOf(si), BytesOf(mks));
}

}  // namespace
