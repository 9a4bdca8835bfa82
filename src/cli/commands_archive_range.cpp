#include "cli/commands_archive_range.h"

#include "archives/archive_range_extension.h"
#include "archives/database_target.h"
#include "archives/range_table.h"
#include "cli/archive_formats.h"
#include "cli/cli_context.h"
#include "cli/commands_archive.h"
#include "cli/commands_database.h"
#include "cli/driver_session.h"
#include "cli/output_file.h"
#include "cli/progress_line.h"
#include "cli/terminal_output.h"
#include "protocol/rovo_redod.h"

namespace {

constexpr std::uint8_t kLastHour = 23;

// The range the options name; empty with the usage error in words.
std::optional<ArchiveRange> RangeOf(const CliOptions& options, ArchiveKind kind, QString* error)
{
    if (kind == kArchiveTotals) {
        *error = QStringLiteral("период читается из архивов hour, day и month");
        return std::nullopt;
    }
    const std::optional<TChronoArch> from = ParseArchiveDate(options.from);
    std::optional<TChronoArch> to = ParseArchiveDate(options.to);
    if (!from || !to) {
        *error = QStringLiteral("период ждет --from и --to в виде ГГГГ-ММ-ДД или ГГГГ-ММ-ДДTЧЧ");
        return std::nullopt;
    }
    // A day without an hour runs to its end.
    if (!options.to.contains(QLatin1Char('T')))
        to->hour = kLastHour;
    const ArchiveRange range{kind, *from, *to};
    if (!IsUsableRange(range)) {
        *error = QStringLiteral("--from позже --to");
        return std::nullopt;
    }
    return range;
}

// One JSON line a record, the columns of the archive database.
QByteArray RangeJsonLines(const ArchiveRange& range, const ArchiveRangeResult& result)
{
    QString text;
    for (const RangeRecord& found : result.records) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(&found.record);
        text += JsonRecord(range.kind, result.serial, std::span(bytes, sizeof found.record));
    }
    return text.toUtf8();
}

}  // namespace

int RunArchiveRange(CliContext& context, ArchiveKind kind)
{
    const CliOptions& options = context.Options();
    QString error;
    const std::optional<ArchiveRange> range = RangeOf(options, kind, &error);
    if (!range)
        return UsageError(error);
    const bool html = options.format == QLatin1String("html");
    if (!html && options.format != QLatin1String("csv") && !options.Json())
        return UsageError(QStringLiteral("период выводится как --format csv, html или json"));
    TrendSelection quantities;
    QString unknown;
    if (!ParseTrendQuantityList(options.quantities, &quantities, &unknown))
        return UsageError(QStringLiteral("--quantities: нет величины \"%1\"").arg(unknown));
    DatabaseTarget target;
    int exitCode = kExitOk;
    if (!ChosenCliDatabase(context, &target, &exitCode))
        return exitCode;

    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    ProgressLine progress;
    ArchiveRangeExtension extension(FixedDatabase(target), &progress);
    extension.SetRange(*range);
    const bool read = RunWithExtension(*session, extension, kCommandReadArchiveRange);
    progress.Finish();
    const ArchiveRangeResult result = extension.LastResult();
    // Dates the meter holds but did not give leave the table short; what was found is still given.
    ExitCode done = result.missing > 0 || !result.otherDates.empty() ? kExitPartial : kExitOk;
    if (!read) {
        // Every exchange answered and no record refused: the database failed the read.
        if (session->LastExchangeFailure() == ExchangeFailure::kNone && result.otherDates.empty()
            && !context.Host().QuestionRefused())
            return kExitFile;
        if (result.records.empty())
            return session->FailureCode();
        done = kExitPartial;
    }
    const QByteArray bytes = options.Json() ? RangeJsonLines(*range, result)
        : html ? RangeHtml(result.records, quantities, RangeTableTitle(*range, result.serial))
               : RangeCsv(result.records, quantities,
                          ParseDecimalSeparator(options.decimalSeparator).value_or(LocaleDecimalSeparator()));
    PrintError(RangeResultText(result) + QLatin1Char('\n'));
    if (options.output.isEmpty()) {
        PrintOutBytes(bytes);
        return done;
    }
    const QString file = OutputFileName(options.output, options.Json() ? QStringLiteral("json") : options.format);
    if (!WriteOutputFile(file, bytes, &error)) {
        PrintFailure(QStringLiteral("Не удалось записать файл \"%1\": %2\n").arg(file, error));
        return kExitFile;
    }
    return done;
}
