#include "cli/commands_database.h"

#include "app/app_environment.h"
#include "app/database_choice.h"
#include "archives/archive_database.h"
#include "archives/archive_export_extension.h"
#include "archives/database_check.h"
#include "archives/database_target.h"
#include "cli/cli_context.h"
#include "cli/driver_session.h"
#include "cli/json_output.h"
#include "cli/progress_line.h"
#include "cli/terminal_output.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

bool ChosenCliDatabase(CliContext& context, DatabaseTarget* target, int* exitCode)
{
    DatabaseChoice choice;
    QString error;
    if (!ChooseArchiveDatabase(context.Environment(), context.Options().database, &choice, &error)) {
        *exitCode = UsageError(error);
        return false;
    }
    const QFileInfo file(choice.target.path);
    // Only the work folder's own db/ folder is made on the way (the collector's service names it);
    // any other missing folder is a mistyped path.
    const QFileInfo ownFolder(QFileInfo(DefaultDatabasePath(context.Environment().WorkFolderPath())).absolutePath());
    if (!context.Options().database.isEmpty() && choice.target.engine == DatabaseTarget::Engine::kSqlite
        && !file.absoluteDir().exists() && file.absolutePath() != ownFolder.absoluteFilePath()) {
        PrintFailure(QStringLiteral("%1: Ошибка при открытии файла базы данных: нет папки %2\n")
                         .arg(choice.target.Describe(), file.absolutePath()));
        *exitCode = kExitFile;
        return false;
    }
    *target = choice.target;
    return true;
}

ArchiveExportExtension::TargetSource FixedDatabase(const DatabaseTarget& target)
{
    return [target](DatabaseTarget* chosen, QString*) {
        *chosen = target;
        return true;
    };
}

bool RunWithExtension(DriverSession& session, CommandExtensions& extension, DriverCommand code)
{
    session.Driver().SetCommandExtensions(&extension);
    const bool succeeded = session.Run(code);
    session.Driver().SetCommandExtensions(nullptr);
    return succeeded;
}

int RunExportDb(CliContext& context)
{
    if (!context.Arguments().isEmpty())
        return UsageError(QStringLiteral("export-db не ждет слов после себя; база данных - в --database"));
    DatabaseTarget target;
    int exitCode = kExitOk;
    if (!ChosenCliDatabase(context, &target, &exitCode))
        return exitCode;

    // A database that cannot be used is found before the line is taken.
    {
        ArchiveDatabase probe;
        if (!probe.Open(target)) {
            PrintFailure(target.Describe() + QStringLiteral(": ") + DatabaseOpenFailureText(probe) + u'\n');
            // What the server's words mean, in the user's: the first line of the explanation.
            if (target.engine == DatabaseTarget::Engine::kPostgresql)
                PrintFailure(ExplainConnectionFailure(target, probe.LastFailureText()).section(u'\n', 0, 0) + u'\n');
            return kExitFile;
        }
    }

    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    ProgressLine progress;
    ArchiveExportExtension extension(FixedDatabase(target), &progress);
    const bool exported = RunWithExtension(*session, extension, kCommandExportArchive);
    progress.Finish();
    const ExportCounts& counts = extension.LastCounts();
    // What is stored is told also when the export stopped short; the exit status says it did.
    if ((counts.total > 0 || counts.skipped > 0) && context.Options().Json()) {
        QJsonObject summary = ExportCountsJson(counts);
        summary.insert(QStringLiteral("database"), target.Describe());
        summary.insert(QStringLiteral("complete"), exported);
        PrintOut(JsonDocumentText(summary));
    } else if (counts.total > 0 || counts.skipped > 0) {
        PrintOut(target.Describe() + QLatin1Char('\n') + ExportCountsText(counts, true) + QLatin1Char('\n'));
    }
    if (exported)
        return kExitOk;
    // Every exchange answered and every record under its own date: the database failed the export.
    const bool otherDates = std::any_of(counts.archives.begin(), counts.archives.end(),
                                        [](const ArchiveExportCount& archive) { return !archive.otherDates.empty(); });
    if (session->LastExchangeFailure() == ExchangeFailure::kNone && !otherDates && !context.Host().QuestionRefused())
        return kExitFile;
    return counts.written + counts.skipped > 0 ? kExitPartial : session->FailureCode();
}
