#include "cli/commands_statement.h"

#include "app/app_environment.h"
#include "archives/archive_range_extension.h"
#include "cli/cli_context.h"
#include "cli/commands_archive.h"
#include "cli/commands_database.h"
#include "cli/output_file.h"
#include "cli/progress_line.h"
#include "cli/terminal_output.h"
#include "nodes/demo_node.h"
#include "nodes/node_base.h"
#include "protocol/rovo_redod.h"
#include "statement/statement_format.h"
#include "statement/statement_source.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

constexpr std::uint8_t kLastHour = 23;

struct StatementJob {
    StatementSource source;
    StatementFormat format = StatementFormat::kPdf;
    DecimalSeparator separator = DecimalSeparator::Comma;
    QString file;  // the one file written (without --all)
};

// The period the options name into `source`; the usage error in words otherwise.
QString ReadPeriod(const CliOptions& options, StatementSource* source)
{
    if (!options.month.isEmpty()) {
        if (!options.from.isEmpty() || !options.to.isEmpty())
            return QStringLiteral("statement ждет либо --month, либо --from и --to");
        const std::optional<TChronoArch> first = ParseArchiveDate(options.month + QStringLiteral("-01"));
        if (!first || options.month.size() != 7)
            return QStringLiteral("--month ждет ГГГГ-ММ");
        source->from = *first;
        source->to = TChronoArch{std::uint8_t(MonthLength(first->month, first->year)), first->month, first->year,
                                 kLastHour};
        return {};
    }
    const std::optional<TChronoArch> from = ParseArchiveDate(options.from);
    std::optional<TChronoArch> to = ParseArchiveDate(options.to);
    if (!from || !to)
        return QStringLiteral("statement ждет --month ГГГГ-ММ или --from и --to в виде ГГГГ-ММ-ДД или ГГГГ-ММ-ДДTЧЧ");
    if (!options.to.contains(QLatin1Char('T')))
        to->hour = kLastHour;
    if (HourDifference(*to, *from) < 0)
        return QStringLiteral("--from позже --to");
    source->from = *from;
    source->to = *to;
    return {};
}

QString ReadJob(const CliOptions& options, StatementJob* job)
{
    const QStringList& words = options.arguments;
    if (words.size() != 1 || (words[0] != QLatin1String("day") && words[0] != QLatin1String("hour")))
        return QStringLiteral("statement ждет day или hour");
    job->source.kind = words[0] == QLatin1String("day") ? kArchiveDaily : kArchiveHourly;
    job->source.input = options.input;
    if (const QString error = ReadPeriod(options, &job->source); !error.isEmpty())
        return error;
    if (options.output.isEmpty())
        return QStringLiteral("statement ждет -o ФАЙЛ (с --all - -o ПАПКА)");
    const bool named = options.format != QLatin1String("text");
    const std::optional<StatementFormat> format = named ? StatementFormatNamed(options.format)
        : options.all                                   ? std::optional(StatementFormat::kPdf)
                                                        : StatementFormatOfFile(options.output);
    if (named && !format)
        return QStringLiteral("ведомость выводится как --format pdf, xlsx, csv или html");
    job->format = format.value_or(StatementFormat::kPdf);
    job->separator = ParseDecimalSeparator(options.decimalSeparator).value_or(LocaleDecimalSeparator());
    job->source.madeDate = StatementMadeDate();
    if (!options.all)
        job->file = OutputFileName(options.output, StatementExtension(job->format));
    return {};
}

// The meter's number when --serial (or --serial-number) names one rather than a port.
std::optional<std::uint32_t> SerialOfOptions(const CliOptions& options)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,10}$"));
    if (options.serialNumber)
        return std::uint32_t(*options.serialNumber);
    if (digits.match(options.serial).hasMatch() && options.serial.toULongLong() <= 0xFFFFFFFFull)
        return std::uint32_t(options.serial.toULongLong());
    return std::nullopt;
}

void DescribeFromNodeBase(CliContext& context, StatementSource* source)
{
    const QString path = NodeBase::FilePath(context.Environment().WorkFolderPath());
    NodeBase base;
    UserMessage failure;
    if (QFileInfo::exists(path) && base.LoadFile(path, &failure))
        DescribeNode(base, source);
    if (source->nodeName.isEmpty() && context.Options().demo)
        source->nodeName = DemoNodeName();
}

// Writes the statement; the exit code: 0 whole, 1 with rows missing (named on stderr) or not written.
int WriteStatement(const StatementJob& job, const QString& path)
{
    const Statement statement = BuildStatement(job.source);
    QByteArray bytes;
    QString error;
    if (!StatementBytes(statement, job.format, job.separator, &bytes, &error)
        || !WriteOutputFile(path, bytes, &error)) {
        PrintFailure(QStringLiteral("Не удалось записать файл \"%1\": %2\n").arg(path, error));
        return kExitFile;
    }
    const QStringList missing = statement.MissingDates();
    if (missing.isEmpty())
        return kExitOk;
    PrintError(QStringLiteral("зав.N %1, нет данных: %2\n").arg(job.source.serial).arg(missing.join(u", ")));
    return kExitPartial;
}

int FromDatabase(CliContext& context, StatementJob& job, const DatabaseTarget& target, const QString& path)
{
    QString error;
    if (!ReadStatementRecords(target, &job.source, &error)) {
        PrintFailure(error);
        return kExitFile;
    }
    DescribeFromNodeBase(context, &job.source);
    return WriteStatement(job, path);
}

int EveryMeter(CliContext& context, StatementJob& job, const DatabaseTarget& target)
{
    const QString folder = context.Options().output;
    QString error;
    std::vector<std::uint32_t> serials;
    if (!QDir().mkpath(folder) || !StatementSerials(target, job.source, &serials, &error)) {
        PrintFailure(error.isEmpty() ? QStringLiteral("Не удалось создать папку \"%1\"").arg(folder) : error);
        return kExitFile;
    }
    int exitCode = kExitOk;
    for (std::uint32_t serial : serials) {
        StatementJob one = job;
        one.source.serial = serial;
        const QString path = QDir(folder).filePath(StatementFileName(one.source, StatementExtension(job.format)));
        exitCode = std::max(exitCode, FromDatabase(context, one, target, path));
    }
    PrintError(QStringLiteral("Ведомостей: %1\n").arg(serials.size()));
    return exitCode;
}

bool ReadRange(DriverSession& session, ArchiveRangeExtension& extension, const ArchiveRange& range)
{
    extension.SetRange(range);
    return RunWithExtension(session, extension, kCommandReadArchiveRange);
}

int FromMeter(CliContext& context, StatementJob& job, const DatabaseTarget& target)
{
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    ProgressLine progress;
    ArchiveRangeExtension extension(FixedDatabase(target), &progress);
    const bool read = ReadRange(*session, extension, StatementRange(job.source));
    const ArchiveRangeResult values = extension.LastResult();
    const bool totalsRead = ReadRange(*session, extension, StatementTotalsRange(job.source));
    progress.Finish();
    PrintError(RangeResultText(values) + QLatin1Char('\n'));
    // A read that failed part-way still gives the statement of what was found, the rest marked.
    job.source.records = values.records;
    job.source.totals = extension.LastResult().totals;
    DescribeMeter(session->Driver().Data(), &job.source);
    DescribeFromNodeBase(context, &job.source);
    const int written = WriteStatement(job, job.file);
    // The file is written all the same, the unread rows marked: a partial result unless writing failed.
    return read && totalsRead ? written : std::max<int>(written, kExitPartial);
}

}  // namespace

int RunStatement(CliContext& context)
{
    const CliOptions& options = context.Options();
    StatementJob job;
    if (const QString error = ReadJob(options, &job); !error.isEmpty())
        return UsageError(error);
    const std::optional<std::uint32_t> serial = SerialOfOptions(options);
    if (options.all && serial)
        return UsageError(QStringLiteral("statement ждет либо --all, либо --serial N"));
    const QFileInfo output(options.output);
    if (options.all && output.exists() && !output.isDir())
        return UsageError(QStringLiteral("statement --all ждет -o ПАПКА"));
    if (!options.all && options.outputIsFolder)
        return UsageError(QStringLiteral("\"%1\" - папка; -o ждет имя файла").arg(options.output));
    DatabaseTarget target;
    int refused = kExitOk;
    if (!ChosenCliDatabase(context, &target, &refused))
        return refused;
    if (options.all)
        return EveryMeter(context, job, target);
    if (serial) {
        job.source.serial = *serial;
        return FromDatabase(context, job, target, job.file);
    }
    return FromMeter(context, job, target);
}
