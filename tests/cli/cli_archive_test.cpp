// Archives through zt5ctl against a simulated meter with fixed archives: the values printed are the
// meter's records, in text, CSV and JSON; descriptors, event logs, flash pages; and a repeated
// current-values read that Ctrl+C ends cleanly.

#include "cli_process.h"

#include "archives/archive_reports.h"
#include "archives/database_columns.h"
#include "archives/record_bytes.h"
#include "cli/terminal_output.h"
#include "meter/archive_step.h"
#include "sim/configuration_area.h"
#include "sim/event_logs.h"
#include "sim/meter_archives.h"
#include "sim/meter_simulator.h"

#include "archives/range_table.h"
#include "base/text_codec.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <mutex>

namespace {

const QStringList kArchiveOptions = {QStringLiteral("--archive-end"), QStringLiteral("2024-03-10T12"),
                                     QStringLiteral("--seed"), QStringLiteral("7")};

// The same meter in this process: what the simulator process answers for any date.
class ExpectedMeter {
public:
    ExpectedMeter() : m_meter(Options()) {}

    QByteArray Record(ArchiveKind kind, TChronoArch date)
    {
        std::lock_guard<std::mutex> lock(m_meter.Lock());
        return m_meter.Archives().RecordBytes(kind, date, ReportTimeNow(), m_meter.Options().identity.firmwareLevel,
                                              m_meter.Clock().Now());
    }
    ReportTime ReportTimeNow() { return ConfigurationArea::ReportTimeOf(m_meter.Image()); }
    MeterSimulator& Meter() { return m_meter; }

private:
    static SimOptions Options()
    {
        SimOptions options;
        bool help = false;
        const QString error = ParseSimOptions(
            QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")} + kArchiveOptions, options, &help);
        EXPECT_TRUE(error.isEmpty()) << error.toStdString();
        return options;
    }
    MeterSimulator m_meter;
};

// The column's value straight from the record bytes, as text to compare with what was printed.
double FieldOf(const ArchiveColumn& column, const QByteArray& bytes)
{
    const char* at = bytes.constData() + column.offset;
    switch (column.source) {
        case ColumnSource::Float: {
            float value = 0;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        case ColumnSource::Double: {
            double value = 0;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        case ColumnSource::U8:
            return std::uint8_t(*at);
        case ColumnSource::U16: {
            std::uint16_t value = 0;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
        default: {
            std::uint32_t value = 0;
            std::memcpy(&value, at, sizeof value);
            return value;
        }
    }
}

QString DateText(const QByteArray& bytes)
{
    const TChronoArch date = RecordFromBytes<TChronoArch>(bytes);
    return QString::asprintf("%.4d-%.2d-%.2d %.2d:00", date.year + 2000, date.month, date.day, date.hour);
}

// Every printed field against the record: numbers compare as single-precision values.
void ExpectFields(const std::vector<ArchiveColumn>& columns, const QStringList& fields, const QByteArray& bytes)
{
    ASSERT_EQ(fields.size(), qsizetype(columns.size()));
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const ArchiveColumn& column = columns[i];
        const QString& field = fields[qsizetype(i)];
        if (column.source == ColumnSource::Serial)
            EXPECT_EQ(field, QStringLiteral("170001"));
        else if (column.source == ColumnSource::Date)
            EXPECT_EQ(field, DateText(bytes));
        else if (column.source == ColumnSource::NotFilled || column.offset >= std::size_t(bytes.size()))
            EXPECT_TRUE(field.isEmpty()) << column.name.toStdString();
        else if (column.source == ColumnSource::Double)
            EXPECT_EQ(field.toDouble(), FieldOf(column, bytes)) << column.name.toStdString();
        else
            EXPECT_EQ(float(field.toDouble()), float(FieldOf(column, bytes))) << column.name.toStdString();
    }
}

class CliArchive : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(sim.Place().isEmpty()); }
    CliRun Run(const QStringList& words) const
    {
        return RunZt5Ctl(words + QStringList{QStringLiteral("--tcp"), sim.Place()});
    }
    // `count` request dates from `first`, stepped as the meter's archive steps.
    QList<TChronoArch> Dates(ArchiveKind kind, TChronoArch first, int count)
    {
        QList<TChronoArch> dates{first};
        while (dates.size() < count)
            dates << StepArchiveDate(kind, dates.last(), 1, expected.ReportTimeNow());
        return dates;
    }

    SimProcess sim{QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")} + kArchiveOptions};
    ExpectedMeter expected;
};

TEST_F(CliArchive, CsvValuesAreTheMetersHourlyAndDailyRecords)
{
    for (const auto& [kind, name, date, first] :
         {std::tuple{kArchiveHourly, "hour", "2024-03-09T05", TChronoArch{9, 3, 24, 5}},
          std::tuple{kArchiveDaily, "day", "2024-03-05", TChronoArch{5, 3, 24, 0}}}) {
        const CliRun run = Run({QStringLiteral("archive"), QLatin1String(name), QStringLiteral("--date"),
                                QLatin1String(date), QStringLiteral("--count"), QStringLiteral("3"),
                                QStringLiteral("--format"), QStringLiteral("csv")});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 4) << run.out.toStdString();
        QStringList names;
        for (const ArchiveColumn& column : ColumnsOf(kind))
            names << column.name;
        EXPECT_EQ(lines[0], names.join(QLatin1Char(',')));
        const QList<TChronoArch> dates = Dates(kind, first, 3);
        for (int i = 0; i < 3; ++i) {
            const QByteArray bytes = expected.Record(kind, dates[i]);
            ASSERT_FALSE(bytes.isEmpty());
            ExpectFields(ColumnsOf(kind), lines[i + 1].split(QLatin1Char(',')), bytes);
        }
    }
}

TEST_F(CliArchive, TextAndJsonShowTheSameRecords)
{
    const TChronoArch date{8, 3, 24, 23};
    const CliRun text = Run(
        {QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--date"), QStringLiteral("2024-03-08T23")});
    ASSERT_EQ(text.exitCode, 0) << text.err.toStdString();
    EXPECT_EQ(text.out,
              TerminalText(RenderArchiveRecord(RecordFromBytes<ArchiveRecord>(expected.Record(kArchiveHourly, date)))));

    const CliRun json = Run({QStringLiteral("archive"), QStringLiteral("totals"), QStringLiteral("--date"),
                             QStringLiteral("2024-03-01"), QStringLiteral("--count"), QStringLiteral("2"),
                             QStringLiteral("--format"), QStringLiteral("json")});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QStringList lines = json.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QList<TChronoArch> dates = Dates(kArchiveTotals, TChronoArch{1, 3, 24, 0}, 2);
    for (int i = 0; i < 2; ++i) {
        const QJsonObject object = QJsonDocument::fromJson(lines[i].toUtf8()).object();
        const QByteArray bytes = expected.Record(kArchiveTotals, dates[i]);
        QStringList fields;
        for (const ArchiveColumn& column : TotalsArchiveColumns()) {
            ASSERT_TRUE(object.contains(column.name)) << column.name.toStdString();
            const QJsonValue value = object.value(column.name);
            fields << (value.isString()     ? value.toString()
                           : value.isNull() ? QString()
                                            : QString::number(value.toDouble(), 'g', 17));
        }
        ExpectFields(TotalsArchiveColumns(), fields, bytes);
    }

    // A date the archive does not hold is the meter's refusal.
    const CliRun outside = Run(
        {QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--date"), QStringLiteral("2030-01-01T00")});
    EXPECT_EQ(outside.exitCode, 4);
    EXPECT_TRUE(outside.out.isEmpty());
    EXPECT_FALSE(outside.err.isEmpty());
}

TEST_F(CliArchive, RangeTablesComeFromTheMeterOnceThenFromTheDatabase)
{
    QTemporaryDir folder;
    const QString database = QStringLiteral("sqlite:") + folder.filePath(QStringLiteral("Data.sqlite"));
    const QString csvPath = folder.filePath(QStringLiteral("week.csv"));
    const QStringList range{QStringLiteral("archive"),      QStringLiteral("hour"),
                            QStringLiteral("--from"),       QStringLiteral("2024-03-09"),
                            QStringLiteral("--to"),         QStringLiteral("2024-03-09T05"),
                            QStringLiteral("--quantities"), QStringLiteral("t1_1,V1_3,dT_1"),
                            QStringLiteral("--database"),   database};
    // A Russian locale's CSV: decimal commas, unless told otherwise.
    const QByteArray locale = qgetenv("LC_ALL");
    qputenv("LC_ALL", "ru_RU.UTF-8");
    const CliRun first = Run(
        range + QStringList{QStringLiteral("--format"), QStringLiteral("csv"), QStringLiteral("-o"), csvPath});
    const CliRun pointed = Run(range
                               + QStringList{QStringLiteral("--format"), QStringLiteral("csv"),
                                             QStringLiteral("--decimal-separator"), QStringLiteral("point")});
    qputenv("LC_ALL", "C");
    const CliRun plain = Run(range + QStringList{QStringLiteral("--format"), QStringLiteral("csv")});
    const CliRun commas = Run(range
                              + QStringList{QStringLiteral("--format"), QStringLiteral("csv"),
                                            QStringLiteral("--decimal-separator"), QStringLiteral("comma")});
    qputenv("LC_ALL", locale);
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    EXPECT_TRUE(first.err.contains(QStringLiteral("Записей: 6 (из базы: 0, с прибора: 6)"))) << first.err.toStdString();
    QFile file(csvPath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray csv = file.readAll();
    ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF"));
    const QStringList lines = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QStringLiteral("Дата;t1, °C;V3, м3;dt ТВ1, °C;t1 НС;V3 НС;dt ТВ1 НС"));
    const QList<TChronoArch> dates = Dates(kArchiveHourly, TChronoArch{9, 3, 24, 0}, 6);
    for (int i = 0; i < 6; ++i) {
        const ArchiveRecord record = RecordFromBytes<ArchiveRecord>(expected.Record(kArchiveHourly, dates[i]));
        const QStringList cells = lines[i + 1].split(u';');
        ASSERT_EQ(cells.size(), 7);
        EXPECT_EQ(cells[0], QStringLiteral("09.03.2024 %1:00").arg(i, 2, 10, QLatin1Char('0')));
        EXPECT_EQ(cells[1], RangeNumberText(record.pipes[0].t));
        EXPECT_EQ(cells[2], RangeNumberText(record.pipes[2].V));
        EXPECT_EQ(cells[3], RangeNumberText(record.inputs[0].dt));
        EXPECT_EQ(cells[5], TrendFlagText(*FindTrendQuantity(QStringLiteral("V1_3")), record));
        // The same cells with a decimal point: asked for, or the C locale's.
        for (const CliRun* run : {&pointed, &plain}) {
            ASSERT_EQ(run->exitCode, 0) << run->err.toStdString();
            const QStringList rows = run->out.mid(1).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
            ASSERT_EQ(rows.size(), 7);
            const QStringList point = rows[i + 1].split(u';');
            EXPECT_EQ(point[1], RangeNumberText(record.pipes[0].t, DecimalSeparator::Point));
            EXPECT_EQ(point[2], RangeNumberText(record.pipes[2].V, DecimalSeparator::Point));
        }
        ASSERT_EQ(commas.exitCode, 0) << commas.err.toStdString();
        EXPECT_TRUE(commas.out.contains(RangeNumberText(record.pipes[2].V))) << commas.out.toStdString();
    }

    // The second run finds every record in the database; the sheet goes to a file or to stdout.
    const QString htmlPath = folder.filePath(QStringLiteral("week.html"));
    const CliRun second = Run(
        range + QStringList{QStringLiteral("--format"), QStringLiteral("html"), QStringLiteral("-o"), htmlPath});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_TRUE(second.err.contains(QStringLiteral("Записей: 6 (из базы: 6, с прибора: 0)")))
        << second.err.toStdString();
    QFile sheet(htmlPath);
    ASSERT_TRUE(sheet.open(QIODevice::ReadOnly));
    const QString html = DecodeWindows1251(sheet.readAll());
    EXPECT_TRUE(html.contains(QStringLiteral("Часовой архив, зав.N 170001, 09.03.2024 - 09.03.2024")));
    EXPECT_EQ(html.count(QStringLiteral(" <tr>")), 8);
    const CliRun printed = Run(range + QStringList{QStringLiteral("--format"), QStringLiteral("html")});
    ASSERT_EQ(printed.exitCode, 0) << printed.err.toStdString();
    EXPECT_EQ(printed.out.count(QStringLiteral(" <tr>")), 8);

    // Wrong ranges are usage errors told before the meter is asked.
    for (const auto& [words, error] :
         {std::pair{QStringList{QStringLiteral("archive"), QStringLiteral("totals"), QStringLiteral("--from"),
                                QStringLiteral("2024-03-01"), QStringLiteral("--to"), QStringLiteral("2024-03-02"),
                                QStringLiteral("--format"), QStringLiteral("csv")},
                    "период читается из архивов hour, day и month"},
          std::pair{QStringList{QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--from"),
                                QStringLiteral("2024-03-02"), QStringLiteral("--to"), QStringLiteral("2024-03-01"),
                                QStringLiteral("--format"), QStringLiteral("csv")},
                    "--from позже --to"},
          std::pair{QStringList{QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--from"),
                                QStringLiteral("2024-03-01"), QStringLiteral("--to"), QStringLiteral("2024-03-02"),
                                QStringLiteral("--format"), QStringLiteral("text")},
                    "период выводится как --format csv, html или json"},
          std::pair{QStringList{QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--from"),
                                QStringLiteral("2024-03-01"), QStringLiteral("--to"), QStringLiteral("2024-03-02"),
                                QStringLiteral("--format"), QStringLiteral("csv"), QStringLiteral("--quantities"),
                                QStringLiteral("t1_1,Q9")},
                    "--quantities: нет величины \"Q9\""},
          std::pair{QStringList{QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--from"),
                                QStringLiteral("2024-03-01"), QStringLiteral("--to"), QStringLiteral("2024-03-02"),
                                QStringLiteral("--decimal-separator"), QStringLiteral(",")},
                    "--decimal-separator ждет comma или point"},
          std::pair{QStringList{QStringLiteral("archive"), QStringLiteral("hour"), QStringLiteral("--from"),
                                QStringLiteral("2024-03-01")},
                    "период ждет --from и --to в виде ГГГГ-ММ-ДД или ГГГГ-ММ-ДДTЧЧ"}}) {
        const CliRun refused = Run(words);
        EXPECT_EQ(refused.exitCode, 2) << qPrintable(words.join(u' '));
        EXPECT_TRUE(refused.err.contains(QString::fromUtf8(error))) << refused.err.toStdString();
        EXPECT_TRUE(refused.out.isEmpty());
    }
}

TEST_F(CliArchive, DescriptorsEventsAndFlash)
{
    const CliRun descriptors = Run({QStringLiteral("descriptors")});
    ASSERT_EQ(descriptors.exitCode, 0) << descriptors.err.toStdString();
    const QStringList rows = descriptors.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(rows.size(), 9);
    EXPECT_TRUE(rows[0].startsWith(QStringLiteral("Архив"))) << rows[0].toStdString();
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("Часовой"))) << rows[1].toStdString();
    EXPECT_TRUE(rows[1].contains(QStringLiteral("10.03.2024 13:00:00"))) << rows[1].toStdString();

    const CliRun events = Run({QStringLiteral("events"), QStringLiteral("admin"), QStringLiteral("--from"),
                               QStringLiteral("3"), QStringLiteral("--count"), QStringLiteral("20")});
    ASSERT_EQ(events.exitCode, 0) << events.err.toStdString();
    QByteArray entries;
    for (int i = 3; i < 23; ++i) {
        const EventRecord& entry = expected.Meter().Logs().At(kEventLogAdministrative, i);
        entries.append(reinterpret_cast<const char*>(&entry), sizeof entry);
    }
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(entries.constData()),
                                 std::size_t(entries.size()));
    EXPECT_EQ(events.out, TerminalText(RenderEventEntries(bytes, 20)));

    const CliRun flash = Run({QStringLiteral("flash"), QStringLiteral("2")});
    ASSERT_EQ(flash.exitCode, 0) << flash.err.toStdString();
    const QStringList dump = flash.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(dump.size(), 16);
    EXPECT_TRUE(dump[0].startsWith(QStringLiteral("0000  "))) << dump[0].toStdString();
    EXPECT_TRUE(dump[15].startsWith(QStringLiteral("00f0  "))) << dump[15].toStdString();
}

TEST(CliCurrent, RepeatedReadGoesOnUntilCtrlCAndEndsCleanly)
{
    const std::unique_ptr<QProcess> process = StartZt5Ctl(
        {QStringLiteral("current"), QStringLiteral("--demo"), QStringLiteral("--repeat"), QStringLiteral("1")});
    QByteArray out;
    const QByteArray head = QByteArrayLiteral("ТЕКУЩИЕ ЗНАЧЕНИЯ");
    for (int waited = 0; out.count(head) < 2 && waited < 150 && process->state() == QProcess::Running; ++waited) {
        process->waitForReadyRead(100);
        out += process->readAllStandardOutput();
    }
    ASSERT_GE(out.count(head), 2) << process->readAllStandardError().toStdString();
    ::kill(static_cast<pid_t>(process->processId()), SIGINT);
    const CliRun run = FinishProcess(*process, 10000);
    EXPECT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
}

}  // namespace
