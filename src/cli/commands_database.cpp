#include "cli/commands_database.h"

#include "app/app_environment.h"
#include "archives/archive_export_extension.h"
#include "archives/database_target.h"
#include "archives/export_progress.h"
#include "cli/cli_context.h"
#include "cli/terminal_output.h"

#include <QElapsedTimer>

#include <unistd.h>

namespace {

constexpr qint64 kRedrawMs = 200;

// "1234/4686 записей, 1510 зап./с" on one line of the terminal, redrawn at most five times a second;
// nothing when stderr is not a terminal.
class ProgressLine : public ExportProgress {
public:
    ProgressLine() : m_terminal(::isatty(STDERR_FILENO) == 1) { m_started.start(); }

    void RecordsDone(std::int64_t done, std::int64_t total) override
    {
        if (!m_terminal || (m_drawn.isValid() && m_drawn.elapsed() < kRedrawMs && done < total))
            return;
        m_drawn.start();
        const double seconds = double(m_started.elapsed()) / 1000.0;
        const qint64 rate = seconds > 0 ? qint64(double(done) / seconds) : 0;
        PrintError(QStringLiteral("\r%1/%2 записей, %3 зап./с  ").arg(done).arg(total).arg(rate));
        m_shown = true;
    }

    void Finish()
    {
        if (m_shown)
            PrintError(QStringLiteral("\n"));
        m_shown = false;
    }

private:
    const bool m_terminal;
    bool m_shown = false;
    QElapsedTimer m_started;
    QElapsedTimer m_drawn;
};

}  // namespace

int RunExportDb(CliContext& context)
{
    if (!context.Arguments().isEmpty())
        return UsageError(QStringLiteral("export-db не ждет слов после себя; база данных - в --database"));
    DatabaseTarget target;
    QString error;
    const bool known = context.Options().database.isEmpty()
        ? ConfiguredDatabaseTarget(context.Environment().Settings(), context.Environment().WorkFolderPath(), &target,
                                   &error)
        : ParseDatabaseTarget(context.Options().database, &target, &error);
    if (!known)
        return UsageError(error);

    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    ProgressLine progress;
    ArchiveExportExtension extension(
        [&target](DatabaseTarget* chosen, QString*) {
            *chosen = target;
            return true;
        },
        &progress);
    session->Driver().SetCommandExtensions(&extension);
    const bool exported = session->Run(kCommandExportArchive);
    session->Driver().SetCommandExtensions(nullptr);
    progress.Finish();
    if (!exported)
        return kExitRefused;
    const ExportCounts& counts = extension.LastCounts();
    PrintOut(target.Describe() + QLatin1Char('\n') + ExportCountsText(counts) + QLatin1Char('\n'));
    return kExitOk;
}
