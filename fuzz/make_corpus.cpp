// Writes the seed inputs of the fuzz targets, each made by the code the target feeds: frames encoded in
// every framing, a saved settings file, a node base, a settings-store text, records of the simulated
// meter. Run once into fuzz/corpus; the seeds are checked in.
//
//     zt5-fuzz-corpus fuzz/corpus

#include "base/checksums.h"
#include "base/ini_text.h"
#include "channel/channel_types.h"
#include "channel/wire_framing.h"
#include "config/tunes_defaults.h"
#include "config/tunes_file_format.h"
#include "nodes/node_base_file.h"
#include "protocol/modbus_requests.h"
#include "sim/archive_generator.h"
#include "sim/event_logs.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

bool Put(const QString& folder, const char* target, int number, const QByteArray& bytes)
{
    const QString dir = folder + u'/' + QLatin1String(target);
    QDir().mkpath(dir);
    QFile file(dir + QStringLiteral("/seed-%1").arg(number, 2, 10, QLatin1Char('0')));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray Join(std::initializer_list<Bytes> pieces)
{
    QByteArray joined;
    for (const Bytes& piece : pieces)
        joined.append(reinterpret_cast<const char*>(piece.data()), qsizetype(piece.size()));
    return joined;
}

template <class Record>
Bytes BytesOf(const Record& record)
{
    const auto* begin = reinterpret_cast<const std::uint8_t*>(&record);
    return Bytes(begin, begin + sizeof record);
}

// An RTU unit with its CRC appended.
Bytes WithCrc(Bytes unit)
{
    const std::uint16_t crc = Crc16Modbus(unit.data(), unit.size());
    unit.push_back(std::uint8_t(crc & 0xFF));
    unit.push_back(std::uint8_t(crc >> 8));
    return unit;
}

Bytes Wire(int framing, const Bytes& unit)
{
    Bytes wire(kExchangeBufferSize);
    std::uint16_t transaction = 1;
    int length = 0;
    EncodeWireFrame(framing, unit.data(), int(unit.size()), wire.data(), int(wire.size()), kFlagsBoth, transaction,
                    length);
    wire.resize(std::size_t(length));
    return wire;
}

// A read of seven registers and its answer, a 0x48 exchange, and an exception answer.
struct Exchange {
    Bytes request;
    Bytes answer;
};

std::vector<Exchange> Exchanges()
{
    std::vector<Exchange> exchanges;
    Bytes read(8);
    read.resize(std::size_t(BuildReadRequest(read.data(), 1, RegisterBlock{0, 7})));
    Bytes answer{1, 3, 14};
    for (int i = 0; i < 14; ++i)
        answer.push_back(std::uint8_t(0x17 + i));
    exchanges.push_back({read, WithCrc(answer)});

    Bytes request48(300);
    const std::uint8_t block[4] = {1, 0, 2, 0};
    RegisterSpan span;
    MakeRegisterSpan(198, 4, span);
    request48.resize(std::size_t(
        BuildReadWrite48Request(request48.data(), 1, RegisterBlock{200, 3}, RegisterBlock{99, 2}, 5, span, block)));
    exchanges.push_back({request48, WithCrc({1, 0x48, 0, 0, 0, 5, 1, 2, 3, 4, 5, 6})});
    exchanges.push_back({read, WithCrc({1, 0x83, 2})});
    return exchanges;
}

int MakeFrameSeeds(const QString& folder)
{
    int made = 0;
    const std::vector<Exchange> exchanges = Exchanges();
    for (int framing = 0; framing < 6; ++framing) {
        for (const Exchange& exchange : exchanges) {
            const Bytes sent = Wire(framing, exchange.request);
            const Bytes received = Wire(framing, exchange.answer);
            const Bytes head{std::uint8_t(framing | 0x80), std::uint8_t(sent.size())};
            made += Put(folder, "fuzz_answer_recognisers", made, Join({head, sent, received}));
            // The request echoed by a two-wire line before the answer.
            made += Put(folder, "fuzz_answer_recognisers", made, Join({head, sent, sent, received}));
        }
    }
    int analysed = 0;
    for (int framing : {int(kFramingRtu), int(kFramingAscii), int(kFramingModbusTcp)}) {
        for (const Exchange& exchange : exchanges) {
            // The answer as the channel hands it on: RTU keeps the CRC, ASCII one LRC byte, MBAP none.
            Bytes answer = exchange.answer;
            if (framing != kFramingRtu)
                answer.resize(answer.size() - (framing == kFramingAscii ? 1 : 2));
            const Bytes head{std::uint8_t(framing), std::uint8_t(exchange.request.size())};
            analysed += Put(folder, "fuzz_analyse_answer", analysed, Join({head, exchange.request, answer}));
        }
    }
    return made + analysed;
}

// The meter's side: requests as peers send them, whole, split, behind noise, with silences between.
int MakeSessionSeeds(const QString& folder)
{
    int made = 0;
    const int framings[] = {kFramingRtu, kFramingAscii, kFramingPpp, kFramingModbusTcp, kFramingRtuX25};
    for (std::uint8_t mode = 0; mode < 5; ++mode) {
        for (const Exchange& exchange : Exchanges()) {
            Bytes request = exchange.request;
            if (framings[mode] == kFramingRtuX25) {
                const std::uint16_t crc = Crc16X25(request.data(), request.size() - 2);
                request[request.size() - 2] = std::uint8_t(crc & 0xFF);
                request[request.size() - 1] = std::uint8_t(crc >> 8);
            }
            const Bytes wire = Wire(framings[mode], request);
            const Bytes whole{std::uint8_t(wire.size())};
            const Bytes half(wire.begin(), wire.begin() + std::ptrdiff_t(wire.size() / 2));
            const Bytes rest(wire.begin() + std::ptrdiff_t(wire.size() / 2), wire.end());
            const Bytes noise{0x0A, 0x00, 0x01, 0x7E, ':'};
            made += Put(folder, "fuzz_meter_session", made, Join({Bytes{mode}, whole, wire, Bytes{0}}));
            made += Put(folder, "fuzz_meter_session", made,
                        Join({Bytes{std::uint8_t(mode | 0x80), std::uint8_t(half.size())}, half,
                              Bytes{std::uint8_t(rest.size())}, rest, Bytes{std::uint8_t(noise.size())}, noise,
                              Bytes{0}, whole, wire}));
        }
    }
    return made;
}

int MakeFileSeeds(const QString& folder)
{
    int made = 0;
    ConfigurationBlocks blocks;
    MakeDefaultConfiguration(blocks);
    const QByteArray tunes = BuildTunesFile(blocks, QDateTime(QDate(2024, 2, 26), QTime(12, 0)));
    made += Put(folder, "fuzz_settings_file", 0, tunes);
    made += Put(folder, "fuzz_settings_file", 1, tunes.left(1500));

    QList<NodeEntry> entries(2);
    entries[0].record.SetName(QString::fromUtf8("Котельная №1"));
    entries[0].record.SetIpAddress(QStringLiteral("192.168.0.7"));
    entries[1].record.SetName(QString::fromUtf8("ЦТП-2"));
    entries[1].record.SetPhoneNumber(QStringLiteral("+7 (383) 555-01-02"));
    entries[1].record.SetNote(QString::fromUtf8("вход со двора"));
    const QByteArray nodes = NodeBaseFile::Write(entries);
    made += Put(folder, "fuzz_node_base", 0, nodes);
    made += Put(folder, "fuzz_node_base", 1, nodes.left(156 + 635 + 100));

    QList<IniSection> sections{
        {QStringLiteral("Settings\\Settings"),
         {{QStringLiteral("UseWorkFolder"), QStringLiteral("1")},
          {QStringLiteral("WorkFolderPath"), QString::fromUtf8("/home/пользователь/zt5")},
          {QStringLiteral("Note"), QStringLiteral(" two spaces and a line\nbreak \"quoted\"\t")}}},
        {QStringLiteral("Settings\\Ports"), {{QStringLiteral("COM3"), QStringLiteral("/dev/ttyUSB0")}}},
        {QStringLiteral("Settings\\Window"), {{QStringLiteral("Placement"), QStringLiteral("2C0000000000000001")}}}};
    made += Put(folder, "fuzz_settings_store", 0, WriteIniText(sections));
    made += Put(folder, "fuzz_settings_store", 1,
                QByteArray("; comment\n[broken\nkey=value\n[ok]\nx = \"\\x41\\n\"\n"));
    return made;
}

int MakeRecordSeeds(const QString& folder)
{
    const ArchiveGenerator generator(1);
    const TChronoArch slot{26, 2, 24, 12};
    const ReportTime reportTime{0, 25};
    const MeterSeconds now = SecondsOf(slot);
    int made = 0;
    const auto put = [&](std::uint8_t mode, const Bytes& record) {
        made += Put(folder, "fuzz_record_renderers", made, Join({Bytes{mode}, record}));
    };
    put(0, BytesOf(generator.ValueRecord(kArchiveHourly, slot, reportTime)));
    put(0, BytesOf(generator.ValueRecord(kArchiveMonthly, slot, reportTime)));
    put(1, BytesOf(generator.CurrentTotals(now, 0)));
    put(2, BytesOf(generator.Totals(slot)));
    put(3, BytesOf(generator.Current(now, 1)));
    const EventLogs logs(1, now - 86400 * 3, now);
    Bytes entries;
    for (int i = 0; i < 4; ++i) {
        const Bytes entry = BytesOf(logs.At(EventLogKind(0), i));
        entries.insert(entries.end(), entry.begin(), entry.end());
    }
    put(4 + 5 * 4, entries);
    return made;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zt5-fuzz-corpus FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int made = MakeFrameSeeds(folder) + MakeSessionSeeds(folder) + MakeFileSeeds(folder)
        + MakeRecordSeeds(folder);
    std::printf("%d seeds in %s\n", made, argv[1]);
    return 0;
}
