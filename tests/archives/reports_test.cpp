#include "archives/archive_reports.h"
#include "meter/event_record.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

namespace {

const std::string kRule = std::string(147, '_') + "\r\n";
const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInf = std::numeric_limits<float>::infinity();

void SetPipe(ArchiveRecord& r, int k, float t, float P, float V, float M, std::uint8_t flags)
{
    r.pipes[k] = ArchivePipeValues{t, P, V, M};
    r.pipeFlags[k] = flags;
}

ArchiveRecord KnownArchiveRecord()
{
    ArchiveRecord r{};
    r.date = TChronoArch{5, 3, 24, 14};
    SetPipe(r, 0, 65.5f, 0.6f, 1234.5f, 12.0f, 0x07);
    SetPipe(r, 1, -1.25f, 1.6f, 0.0f, 0.001f, 0x18);
    SetPipe(r, 2, kNaN, 0.25f, 123456789.0f, 1e10f, 0xE0);
    SetPipe(r, 3, 20.125f, 0.0f, 3.5f, 7.75f, 0x00);
    SetPipe(r, 4, 150.0f, 2.5f, 0.5f, 0.5f, 0x21);
    SetPipe(r, 5, -40.0f, 0.0f, 0.0f, 0.0f, 0x42);
    r.inputs[0] = ArchiveInputValues{-15.5f, 5.0f, 0.3f, 60.5f, 0.03125f, 1.5f, 2.25f, 0.125f, 1440, 0};
    r.inputFlags[0] = 0x0141;
    r.inputs[1] = ArchiveInputValues{22.0f, 12.0f, 0.0f, 0.0f, -0.5f, kInf, 0.0f, 3.0f, 65535, 7};
    r.inputFlags[1] = 0x06BE;
    r.dp = 1234567.875f;
    r.dpFlags = 0x02;
    r.events = 0x4A09;  // bits 0, 3, 9, 11 shown; 14 never
    r.abstractControls = 0x00AF;
    r.networkMinutesWithoutPower = 12;
    r.displayMinutesWithoutPower = 345;
    r.minutesPowerOff = 6789;
    r.activeSet = 1;
    return r;
}

TotalsRecord KnownTotalsRecord()
{
    TotalsRecord r{};
    r.date = TChronoArch{31, 12, 99, 23};
    const double pipes[6][2] = {{123456.78901, 98765.4321}, {0.0, 1e12}, {12345678.123456, -2.5},
                                {std::nan(""), 5.0},        {7.0, 7.0},  {1.5, 0.25}};
    for (int k = 0; k < 6; ++k)
        r.body.pipes[k] = TotalsPipeValues{pipes[k][0], pipes[k][1]};
    r.body.inputs[0] = TotalsInputValues{10.5, 2000.125, 0.0, 33.0, 100, 200, 1, 2, 3, 4, 5};
    r.body.inputs[1] = TotalsInputValues{-1.0, 0.5, HUGE_VAL, 1e-6, 65535, 0, 6, 7, 8, 9, 10};
    r.body.dp = 42.0;
    r.body.networkMinutesWithoutPower = 100000;
    r.body.displayMinutesWithoutPower = 4000000000u;
    r.body.minutesPowerOff = 0;
    r.body.activeSet = 0;
    return r;
}

}  // namespace

TEST(Reports, ArchiveRecordByteForByte)
{
    const std::string expected =
        "АРХИВ 05.03.2024 14\r\n" + kRule +
        "           t            P            V            M\r\n"
        "Труба 1:   65.5      <>!0.6          1234.5       12.0      \r\n"
        "Труба 2:   -1.25        1.6       <> 0.0          0.001     \r\n"
        "Труба 3:   ---          0.25         123456792.<>!100000000>\r\n"
        "Труба 4:   20.125       0.0          3.5          7.75      \r\n"
        "Труба 5:   150.0     <  2.5          0.5       <  0.5       \r\n"
        "Труба 6:   -40.0      > 0.0          0.0        > 0.0       \r\n"
        "\r\n" + kRule +
        "        tнв          tx           Px           dt           dM           Qтв          Q12          Qг  "
        "         ВНР          ВОС\r\n"
        "ТВ 1:   -15.5     < !5.0          0.3          60.5      <  0.03125      1.5          2.25         "
        "0.125        1440         0       \r\n"
        "ТВ 2:   22.0       > 12.0      <>!0.0          0.0          -0.5      <  ---       <  0.0       <  "
        "3.0       <  65535        7       \r\n"
        "\r\n" + kRule +
        "        ДП\r\n"
        "ТВ 3:   1234567.88 >\r\n" + kRule +
        "\r\n"
        "\r\n"
        "Счетчик работы по сети без ВП (мин.): 12      \r\n"
        "Счетчик работы дисплея без ВП (мин.): 345     \r\n"
        "Счетчик отключения ВП (мин.):         6789    \r\n"
        "\r\n"
        "Активная БД: 2       \r\n"
        "СОБЫТИЯ:\r\n"
        "Доступ\r\n"
        "Рестарт\r\n"
        "Modbus\r\n"
        "\r\n"
        "\r\n"
        "Абстрактные контроли: 0x00AF\r\n";
    EXPECT_EQ(RenderArchiveRecord(KnownArchiveRecord()).toStdString(), expected);
}

TEST(Reports, TotalsByteForByteInBothForms)
{
    const std::string body =
        kRule +
        "           V            M\r\n"
        "Труба 1:   123456.78901 98765.4321   \r\n"
        "Труба 2:   0.0          10000000000> \r\n"
        "Труба 3:   12345678.123 -2.5         \r\n"
        "Труба 4:   ---          5.0          \r\n"
        "Труба 5:   7.0          7.0          \r\n"
        "Труба 6:   1.5          0.25         \r\n"
        "\r\n" + kRule +
        "        dM           Qтв          Q12          Qг           ВНР         ВОС         НС Vmin     НС Vmax     "
        "НС dt       НС отк.пит. НС tнеиспр.\r\n"
        "ТВ 1:   10.5         2000.125     0.0          33.0         100         200         1           2           "
        "3           4           5           \r\n"
        "ТВ 2:   -1.0         0.5          ---          0.0          65535       0           6           7           "
        "8           9           10          \r\n"
        "\r\n" + kRule +
        "        ДП\r\n"
        "ТВ 3:   42.0        \r\n" + kRule +
        "\r\n"
        "\r\n"
        "Счетчик работы по сети без ВП (мин.): 100000  \r\n"
        "Счетчик работы дисплея без ВП (мин.): 4000000000\r\n"
        "Счетчик отключения ВП (мин.):         0       \r\n"
        "\r\n"
        "Активная БД: 1       \r\n";

    const TotalsRecord archive = KnownTotalsRecord();
    EXPECT_EQ(RenderTotals(ToCurrentTotalsForm(archive), TotalsOrigin::Archive).toStdString(),
              "ИТОГОВЫЕ ЗНАЧЕНИЯ 31.12.2099 23\r\n" + body);

    CurrentTotalsRecord current{};
    current.time = DateTimeStamp{1, 2, 3, 4, 5, 6};
    current.body = archive.body;
    EXPECT_EQ(RenderTotals(current, TotalsOrigin::Current).toStdString(),
              "ТЕКУЩИЕ ИТОГОВЫЕ ЗНАЧЕНИЯ 01.02.2003 04:05:06\r\n" + body);
}

TEST(Reports, CurrentValuesByteForByte)
{
    CurrentValues c{};
    c.time = DateTimeStamp{9, 10, 24, 8, 7, 6};
    c.t[0] = 90.0f;
    c.P[0] = 0.5f;
    c.Go[0] = 2.5f;
    c.Gm[0] = 2.25f;
    c.h[0] = 377.5f;
    c.pipeFlags[0] = 0xFF;
    c.tnv[0] = -5.0f;
    c.tx[0] = 10.0f;
    c.Px[0] = 0.25f;
    c.dt[0] = 80.0f;
    c.hx[0] = 42.0f;
    c.inputFlags[0] = 0x0039;
    c.inputFlags[1] = 0x01C0;
    c.dpFlags = 0x01;
    c.activeSet = 0xFF;  // only bit 0 counts
    c.events = 0x2401;   // bit 10 gives an empty line, bit 13 nothing
    c.abstractControls = 0xFFFF;

    const std::string zeroPipe = "0.0          0.0          0.0          0.0          0.0          0.0          \r\n";
    const std::string expected =
        "ТЕКУЩИЕ ЗНАЧЕНИЯ 09.10.2024 08:07:06\r\n" + kRule +
        "           t            P            Gо           Gм           Ф            h\r\n"
        "Труба 1:   90.0      <>!0.5       <> 2.5       <>!2.25         0.0          377.5        \r\n"
        "Труба 2:   " + zeroPipe + "Труба 3:   " + zeroPipe + "Труба 4:   " + zeroPipe + "Труба 5:   " + zeroPipe +
        "Труба 6:   " + zeroPipe +
        "\r\n" + kRule +
        "        tнв          tx           Px           dt           Ф            hх\r\n"
        "ТВ 1:   -5.0         10.0      <>!0.25         80.0      <  0.0          42.0         \r\n"
        "ТВ 2:   0.0       <>!0.0          0.0          0.0          0.0          0.0          \r\n"
        "\r\n" + kRule +
        "        ДП\r\n"
        "ТВ 3:   0.0       < \r\n" + kRule +
        "\r\n"
        "\r\n"
        "Активная БД: 2       \r\n"
        "СОБЫТИЯ:\r\n"
        "Доступ\r\n"
        "\r\n"
        "\r\n"
        "Абстрактные контроли: 0xFFFF\r\n";
    EXPECT_EQ(RenderCurrentValues(c).toStdString(), expected);
}

namespace {

EventRecord Entry(DateTimeStamp time, std::uint16_t descriptor, std::array<std::uint8_t, 4> from,
                  std::array<std::uint8_t, 4> to)
{
    EventRecord e{};
    e.time = time;
    e.descriptor = descriptor;
    std::memcpy(e.oldValue, from.data(), 4);
    std::memcpy(e.newValue, to.data(), 4);
    return e;
}

std::array<std::uint8_t, 4> FloatBytes(float value)
{
    std::array<std::uint8_t, 4> bytes;
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
}

std::string EntryHead(const char* time, int type, int context, int set, const char* kind)
{
    return std::string(time) + "\r\n\tТип изменяемой величины: " + std::to_string(type)
        + "\r\n\tКонтекстно номер трубы, ТВ и т.д.: " + std::to_string(context) + "\r\n\tБД: " + std::to_string(set)
        + "\r\n\tТип хранимого значения: " + kind + "\r\n";
}

const std::string kSeparator = "-------------------------------------------------\r\n\r\n";

}  // namespace

TEST(Reports, EventEntriesOfEveryValueKind)
{
    const DateTimeStamp t{15, 6, 24, 10, 20, 30};
    const EventRecord entries[] = {
        Entry(t, 0xC611, FloatBytes(1.5f), FloatBytes(-2.25f)),
        Entry(t, 0x0005, {1, 2, 3, 4}, {5, 6, 7, 8}),
        Entry(DateTimeStamp{1, 1, 100, 0, 0, 0}, 0x552C, {1, 2, 24, 3}, {31, 12, 99, 23}),
        Entry(t, 0x3001, {0xFF, 0xFF, 0xFF, 0xFF}, {7, 0, 0, 0}),
        Entry(t, 0x7000, {23, 59, 58, 99}, {0, 0, 1, 99}),
        Entry(t, 0x2000, {0x34, 0x12, 0xFF, 0xFF}, {1, 0, 0xFF, 0xFF}),
        Entry(t, 0x1000, {200, 1, 1, 1}, {5, 1, 1, 1}),
    };
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(entries);
    const std::span<const std::uint8_t> buffer(bytes, sizeof entries);

    const std::string expected = EntryHead("15.06.2024 10:20:30", 17, 3, 2, "float") + "\tc 1.500000 на -2.250000\r\n"
        + kSeparator + EntryHead("15.06.2024 10:20:30", 5, 0, 1, "нет") + kSeparator
        + EntryHead("01.01.2100 00:00:00", 300, 2, 1, "TChronoArch") + "\tc 01.02.24 03 на 31.12.99 23\r\n" + kSeparator
        + EntryHead("15.06.2024 10:20:30", 1, 0, 1, "unsigned long") + "\tc 4294967295 на 7\r\n" + kSeparator
        + EntryHead("15.06.2024 10:20:30", 0, 0, 1, "TChrono") + "\tc 23:59:58 на 00:00:01\r\n" + kSeparator
        + EntryHead("15.06.2024 10:20:30", 0, 0, 1, "unsigned short") + "\tc 4660 на 1\r\n" + kSeparator
        + EntryHead("15.06.2024 10:20:30", 0, 0, 1, "unsigned char") + "\tc 200 на 5\r\n" + kSeparator;
    EXPECT_EQ(RenderEventEntries(buffer, 7).toStdString(), expected);

    // Never more entries than the buffer holds; a count of 0 (or less) is an empty box.
    EXPECT_EQ(RenderEventEntries(buffer, 16).toStdString(), expected);
    EXPECT_EQ(RenderEventEntries(buffer.first(sizeof(EventRecord) * 2 - 1), 2).toStdString(),
              EntryHead("15.06.2024 10:20:30", 17, 3, 2, "float") + "\tc 1.500000 на -2.250000\r\n" + kSeparator);
    EXPECT_TRUE(RenderEventEntries(buffer, 0).isEmpty());
    EXPECT_TRUE(RenderEventEntries(buffer, -1).isEmpty());
    EXPECT_TRUE(RenderEventEntries({}, 3).isEmpty());
}
