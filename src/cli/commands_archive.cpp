#include "cli/commands_archive.h"

#include "archives/archive_area_text.h"
#include "archives/archive_reports.h"
#include "archives/descriptor_rows.h"
#include "cli/archive_formats.h"
#include "cli/cli_context.h"
#include "cli/commands_archive_range.h"
#include "cli/json_output.h"
#include "cli/terminal_output.h"
#include "meter/archive_step.h"
#include "protocol/image_report_time.h"

#include <QDate>
#include <QRegularExpression>

namespace {

struct NamedKind {
    const char* name;
    int kind;
};
constexpr NamedKind kArchiveKinds[] = {
    {"hour", kArchiveHourly}, {"day", kArchiveDaily}, {"month", kArchiveMonthly}, {"totals", kArchiveTotals}};
constexpr NamedKind kEventLogs[] = {
    {"db", kEventLogDbChanges}, {"admin", kEventLogAdministrative}, {"diag", kEventLogDiagnostics}};

template <std::size_t N>
int KindNamed(const QStringList& words, const NamedKind (&kinds)[N])
{
    if (words.size() != 1)
        return -1;
    for (const NamedKind& entry : kinds) {
        if (words.first() == QLatin1String(entry.name))
            return entry.kind;
    }
    return -1;
}

// The columns padded to their widest text, two blanks apart.
QString Table(const QStringList& titles, const QList<QStringList>& rows)
{
    QList<int> widths;
    for (const QString& title : titles)
        widths << int(title.size());
    for (const QStringList& row : rows) {
        for (int i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], int(row[i].size()));
    }
    const auto line = [&](const QStringList& cells) {
        QString text;
        for (int i = 0; i < cells.size() && i < widths.size(); ++i)
            text += cells[i].leftJustified(widths[i] + 2);
        return text.trimmed() + QLatin1Char('\n');
    };
    QString text = line(titles);
    for (const QStringList& row : rows)
        text += line(row);
    return text;
}

// A reading as text, as one JSON object, or (`line`: one a reading with --repeat) as a JSON line.
QString CurrentOutput(CRovoRedod& driver, const CliOptions& options, bool line)
{
    const bool totals = options.totals;
    const std::span<const std::uint8_t> area = driver.AreaBytes(totals ? MeterArea::kCurrentTotals
                                                                       : MeterArea::kCurrentValues);
    if (!options.Json())
        return CurrentAreaText(totals, area) + (line ? QStringLiteral("\n") : QString());
    const QJsonObject object = CurrentJson(totals, driver.Configuration().identity.serialNumber, area);
    return line ? JsonLine(object) : JsonDocumentText(object);
}

}  // namespace

std::optional<TChronoArch> ParseArchiveDate(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})(?:T(\\d{2}))?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(), match.captured(3).toInt());
    const int hour = match.captured(4).isEmpty() ? 0 : match.captured(4).toInt();
    if (!date.isValid() || date.year() < kBaseYear || date.year() > kBaseYear + 254 || hour > 23)
        return std::nullopt;
    return TChronoArch{std::uint8_t(date.day()), std::uint8_t(date.month()), std::uint8_t(date.year() - kBaseYear),
                       std::uint8_t(hour)};
}

int RunDescriptors(CliContext& context)
{
    if (!context.Arguments().isEmpty())
        return UsageError(QStringLiteral("descriptors не ждет слов после себя"));
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    if (!session->Run(kCommandReadArchiveInfo))
        return session->FailureCode();
    const ArchiveDescriptors& descriptors = session->Driver().Data().descriptors;
    PrintOut(context.Options().Json() ? JsonDocumentText(DescriptorsJson(descriptors))
                                      : Table(DescriptorColumnTitles(), DescriptorRows(descriptors)));
    return kExitOk;
}

int RunArchive(CliContext& context)
{
    const CliOptions& options = context.Options();
    const int kindNumber = KindNamed(context.Arguments(), kArchiveKinds);
    if (kindNumber < 0)
        return UsageError(QStringLiteral("archive ждет hour, day, month или totals"));
    if (!options.from.isEmpty() || !options.to.isEmpty())
        return RunArchiveRange(context, static_cast<ArchiveKind>(kindNumber));
    if (options.format == QLatin1String("html"))
        return UsageError(
            QStringLiteral("archive --date выводится как --format text, csv или json; html - для периода"));
    // Records by date go to stdout whole, every column: the options that shape a period's table have
    // nothing to act on here.
    if (!options.output.isEmpty() || !options.quantities.isEmpty() || !options.decimalSeparator.isEmpty())
        return UsageError(
            QStringLiteral("-o, --quantities и --decimal-separator - для периода (--from, --to), "
                           "не для archive --date"));
    std::optional<TChronoArch> date = ParseArchiveDate(options.date);
    if (!date)
        return UsageError(QStringLiteral("archive ждет --date ГГГГ-ММ-ДД или ГГГГ-ММ-ДДTЧЧ"));
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    const auto kind = static_cast<ArchiveKind>(kindNumber);
    const RecordFormat format = RecordFormatOf(options.format);
    CRovoRedod& driver = session->Driver();
    const std::uint32_t serial = driver.Configuration().identity.serialNumber;
    const MeterArea area = kind == kArchiveTotals ? MeterArea::kTotalsRecord : MeterArea::kArchiveRecord;
    if (format == RecordFormat::kCsv)
        PrintOut(CsvHeader(kind));
    const int count = options.count.value_or(1);
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            *date = StepArchiveDate(kind, *date, 1, ImageReportTime(driver.Data()));
        driver.Data().request = ValueArchiveRequest(kind, StampOf(*date));
        // The records printed before a failure stand: the run is then done in part.
        if (!session->Run(kCommandReadArchiveValues))
            return i > 0 ? kExitPartial : session->FailureCode();
        PrintOut(ArchiveRecordOutput(kind, format, serial, driver.AreaBytes(area)));
    }
    return kExitOk;
}

int RunCurrent(CliContext& context)
{
    if (!context.Arguments().isEmpty())
        return UsageError(QStringLiteral("current не ждет слов после себя (--totals, --repeat СЕК)"));
    const CliOptions& options = context.Options();
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    CRovoRedod& driver = session->Driver();
    DriverData& data = driver.Data();
    data.request = ArchiveRequest{};
    data.request.kind = options.totals ? kArchiveCurrentTotals : kArchiveCurrentValues;
    data.cyclicRead = options.repeatSec.has_value();
    data.cyclicPeriodMs = options.repeatSec.value_or(0) * 1000;
    // Repeated reads are printed as each arrives, until Ctrl+C stops the command.
    if (data.cyclicRead)
        session->OnEachRead([&driver, &options] { PrintOut(CurrentOutput(driver, options, true)); });
    const bool succeeded = session->Run(kCommandReadCurrentValues);
    session->OnEachRead(nullptr);
    if (!succeeded)
        return session->FailureCode();
    if (!data.cyclicRead)
        PrintOut(CurrentOutput(driver, options, false));
    return kExitOk;
}

int RunEvents(CliContext& context)
{
    const CliOptions& options = context.Options();
    const int log = KindNamed(context.Arguments(), kEventLogs);
    if (log < 0)
        return UsageError(QStringLiteral("events ждет db, admin или diag"));
    bool numeric = options.from.isEmpty();
    int first = numeric ? 0 : options.from.toInt(&numeric);
    if (!numeric || first < 0 || first > 0xFFFF)
        return UsageError(QStringLiteral("--from ждет номер записи 0..65535"));
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    CRovoRedod& driver = session->Driver();
    // Past the log's last entry the meter answers with blank entries: only those there are asked for.
    if (!session->Run(kCommandReadArchiveInfo))
        return session->FailureCode();
    const int asked = options.count.value_or(1);
    const int stored = driver.Data().descriptors.LogCapacity(log).StoredRecords();
    const int there = std::clamp(stored - first, 0, asked);
    bool printed = false;
    // The meter gives at most 16 entries a time; a longer run is read in turns.
    for (int left = there; left > 0;) {
        const int count = std::min<int>(left, kMaxEventEntries);
        driver.Data().request = EventLogRequest(static_cast<EventLogKind>(log), static_cast<std::uint16_t>(first),
                                                static_cast<std::uint32_t>(count));
        if (!session->Run(kCommandReadEventLog))
            return printed ? kExitPartial : session->FailureCode();
        printed = true;
        const std::span<const std::uint8_t> entries = driver.AreaBytes(EventLogReceiveArea(log));
        PrintOut(options.Json() ? EventEntriesJson(entries, count, first) : RenderEventEntries(entries, count));
        first += count;
        left -= count;
    }
    if (there == asked)
        return kExitOk;
    PrintNotice(
        QStringLiteral("Запрошено записей: %1, есть: %2 (в журнале записей: %3)\n").arg(asked).arg(there).arg(stored));
    return kExitPartial;
}
