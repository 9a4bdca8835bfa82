#include "cli/commands_collect.h"

#include "app/app_environment.h"
#include "archives/archive_database.h"
#include "archives/archive_export.h"
#include "archives/collect_runs.h"
#include "cli/cli_context.h"
#include "cli/commands_database.h"
#include "cli/interrupt.h"
#include "cli/terminal_output.h"
#include "lines/line_threads.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct Totals {
    int ok = 0;
    int failed = 0;
    std::int64_t written = 0;
    std::int64_t alreadyThere = 0;
};

Totals Sum(const std::vector<MeterResult>& results)
{
    Totals totals;
    for (const MeterResult& result : results) {
        (result.error.isEmpty() ? totals.ok : totals.failed) += 1;
        totals.written += result.written;
        totals.alreadyThere += result.alreadyThere;
    }
    return totals;
}

QString CheckCollectOptions(const CliOptions& options)
{
    if (!options.arguments.isEmpty())
        return QStringLiteral("collect не ждет слов после себя");
    if (!options.tcp.isEmpty() || !options.udp.isEmpty() || !options.serial.isEmpty() || !options.modem.isEmpty()
        || options.demo)
        return QStringLiteral(
            "collect берет приборы из базы узлов: --node ИМЯ или --kind, без --tcp, --udp, "
            "--serial, --modem и --demo");
    if (options.format != QLatin1String("text") && options.format != QLatin1String("json"))
        return QStringLiteral("collect: --format ждет text или json");
    return {};
}

// The database opens and has the runs table before any line is taken.
bool ProbeDatabase(const DatabaseTarget& target)
{
    ArchiveDatabase probe;
    QString error;
    if (!probe.Open(target))
        error = DatabaseOpenFailureText(probe);
    else if (!PrepareCollectRuns(probe.Connection(), probe.Engine(), &error))
        error = QStringLiteral("Ошибка при открытии файла базы данных: ") + error;
    if (error.isEmpty())
        return true;
    PrintFailure(target.Describe() + QStringLiteral(": ") + error + u'\n');
    return false;
}

// The computer's time in ISO 8601 with its offset from UTC: "2026-12-10T21:05:00+03:00".
QString ZonedTime(const QDateTime& time)
{
    return time.toOffsetFromUtc(time.offsetFromUtc()).toString(Qt::ISODate);
}

}  // namespace

int RunCollect(CliContext& context)
{
    const CliOptions& options = context.Options();
    if (const QString usage = CheckCollectOptions(options); !usage.isEmpty())
        return UsageError(usage);
    CollectChoice choice;
    choice.names = options.nodes;
    if (!options.kind.isEmpty())
        choice.kind = CollectKindFromName(options.kind);
    DatabaseTarget target;
    QString error;
    int exitCode = kExitOk;
    if (!ChosenCliDatabase(context, &target, &exitCode))
        return exitCode;

    NodeBase base;
    UserMessage failure;
    if (!context.Environment().LoadNodeBase(base, &failure)) {
        context.Host().ShowMessage(failure);
        return kExitFile;
    }
    std::vector<CollectLine> lines;
    if (!PlanCollect(base, choice, &lines, &error))
        return UsageError(error);
    if (!ProbeDatabase(target))
        return kExitFile;
    int meters = 0;
    for (const CollectLine& line : lines)
        meters += int(line.meters.size());
    // Nothing to read is no failure: a fresh installation's timer runs before any node is entered.
    if (meters == 0)
        PrintNotice(
            QStringLiteral("Нет приборов для опроса: в базе узлов нет узлов с прямым подключением, "
                           "модемом или по сети (USB не опрашиваются)\n"));

    const int jobs = options.jobs ? *options.jobs : DefaultLineJobs(lines.size());
    CollectRunner runner(target, jobs, options.verbose);
    const std::vector<MeterResult> results = runner.Run(lines, Interrupted);
    PrintOut(options.format == QLatin1String("json") ? CollectSummaryJson(results, meters)
                                                     : CollectSummaryText(results, meters));
    const Totals totals = Sum(results);
    if (totals.ok == meters)
        return kExitOk;
    // Some meters down is a partial night; none read at all is a failed one.
    return totals.ok > 0 ? kExitPartial : kExitNoAnswer;
}

QString CollectSummaryText(const std::vector<MeterResult>& results, int meters)
{
    const Totals totals = Sum(results);
    QString text =
        QStringLiteral("Приборов: %1, успешно: %2, с ошибкой: %3").arg(meters).arg(totals.ok).arg(totals.failed);
    if (totals.ok + totals.failed < meters)
        text += QStringLiteral(", не опрошено: %1").arg(meters - totals.ok - totals.failed);
    text += QStringLiteral("\nЗаписано: %1, уже были в базе: %2\n").arg(totals.written).arg(totals.alreadyThere);
    for (const MeterResult& result : results) {
        for (const QString& note : result.notes)
            text += QStringLiteral("Узел %1: %2\n").arg(result.node, note);
        if (!result.error.isEmpty())
            text += QStringLiteral("%1 (%2, серийный N %3): %4\n")
                        .arg(result.node, result.line, QString::number(result.serial), result.error);
    }
    return text;
}

QString CollectSummaryJson(const std::vector<MeterResult>& results, int meters)
{
    const Totals totals = Sum(results);
    QJsonArray list;
    for (const MeterResult& result : results) {
        list.append(QJsonObject{
            {QStringLiteral("node"), result.node},
            {QStringLiteral("line"), result.line},
            // What the meter did not tell is not known.
            {QStringLiteral("serial"),
             result.serialTold ? QJsonValue(qint64(result.serial)) : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("node_serial"), qint64(result.nodeSerial)},
            {QStringLiteral("notes"), QJsonArray::fromStringList(result.notes)},
            {QStringLiteral("newest_future_date"),
             result.newestFuture ? QJsonValue(DatabaseDateText(*result.newestFuture).replace(u' ', u'T'))
                                 : QJsonValue(QJsonValue::Null)},
            {QStringLiteral("written"), qint64(result.written)},
            {QStringLiteral("already_there"), qint64(result.alreadyThere)},
            {QStringLiteral("error"), result.error.isEmpty() ? QJsonValue(QJsonValue::Null) : QJsonValue(result.error)},
            {QStringLiteral("started"), ZonedTime(result.started)},
            {QStringLiteral("finished"), ZonedTime(result.finished)}});
    }
    const QJsonObject summary{{QStringLiteral("meters"), meters},
                              {QStringLiteral("meters_ok"), totals.ok},
                              {QStringLiteral("meters_failed"), totals.failed},
                              {QStringLiteral("meters_not_read"), meters - totals.ok - totals.failed},
                              {QStringLiteral("records_written"), qint64(totals.written)},
                              {QStringLiteral("records_already_there"), qint64(totals.alreadyThere)},
                              {QStringLiteral("results"), list}};
    return QString::fromUtf8(QJsonDocument(summary).toJson(QJsonDocument::Indented));
}
