#include "cli/commands_config.h"

#include "base/file_name_rules.h"
#include "base/user_message.h"
#include "cli/cli_context.h"
#include "cli/json_output.h"
#include "cli/output_file.h"
#include "cli/terminal_output.h"
#include "config/config_messages.h"
#include "config/settings_report_output.h"
#include "config/tunes_file.h"
#include "config/tunes_file_format.h"
#include "config/tunes_validation.h"
#include "reports/report_save.h"
#include "reports/report_writer.h"

#include <QDateTime>
#include <QFile>

#include <utility>

namespace {

// The one settings file a command names; a usage error when it names none or more.
bool TakeFileArgument(CliContext& context, QString& file, int* exitCode)
{
    if (context.Arguments().size() != 1) {
        *exitCode = UsageError(QStringLiteral("команде %1 нужен один файл настроек").arg(context.Options().command));
        return false;
    }
    file = context.Arguments().first();
    return true;
}

// "conf.zt5" gives "conf.xls", "conf" gives "conf.xls".
QString DefaultReportName(const QString& settingsFile)
{
    const QString suffix = QStringLiteral(".") + QLatin1String(kTunesFileExtension);
    QString name = settingsFile;
    if (name.endsWith(suffix) && name.size() > suffix.size()
        && LastPathSeparator(name) < name.size() - suffix.size() - 1)
        name.chop(suffix.size());
    return ReportSaveName(name);
}

// Writes the finished report to the output named (a file, a FIFO, stdout) instead of showing it.
class OutputReportViewer : public ReportViewer {
public:
    OutputReportViewer(QString target, MessageSink& messages) : m_target(std::move(target)), m_messages(messages) {}

    void ShowMessage(const UserMessage& message) override { m_messages.ShowMessage(message); }
    void ShowReport(const QString& file, const QString&) override
    {
        QFile shown(file);
        QString error;
        if (!shown.open(QIODevice::ReadOnly))
            error = shown.errorString();
        else
            m_saved = WriteOutputFile(m_target, shown.readAll(), &error);
        if (!m_saved)
            ShowMessage(UserMessage::Information(QStringLiteral("Отчет \"%1\" не записан: %2").arg(m_target, error)));
    }

    bool Saved() const { return m_saved; }

private:
    const QString m_target;
    MessageSink& m_messages;
    bool m_saved = false;
};

}  // namespace

int RunReadConfig(CliContext& context)
{
    if (!context.Arguments().isEmpty() || context.Options().output.isEmpty())
        return UsageError(QStringLiteral("read-config ждет -o ФАЙЛ.zt5"));
    int exitCode = kExitOk;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    // A copy of what the meter holds, as it is: a backup must be possible even of a configuration the
    // checks would refuse (a meter fresh from the factory has no thermal input in use). The checks
    // guard the way back, in write-config.
    ConfigurationBlocks blocks = session->Driver().Configuration();
    const DriverData& data = session->Driver().Data();
    if (data.tunesChecksumMismatch) {
        // The working copy then holds the factory defaults: saved, it would pass for the meter's settings.
        if (!context.Options().asRead) {
            PrintFailure(QStringLiteral("Файл %1 не записан: не сошлась контрольная сумма настроек прибора "
                                        "(--as-read сохранит их как прочитаны).\n")
                             .arg(context.Options().output));
            return kExitRefused;
        }
        blocks.tunes = data.tunesAsRead;
    }
    const QString target = OutputFileName(context.Options().output, QLatin1String(kTunesFileExtension));
    QString error;
    if (!WriteOutputFile(target, BuildTunesFile(blocks, QDateTime::currentDateTime()), &error)) {
        ShowConfigInformation(context.Host(), QStringLiteral("Файл настроек \"%1\" не записан: %2").arg(target, error));
        return kExitFile;
    }
    if (data.tunesChecksumMismatch)
        PrintNotice(QStringLiteral("Настройки сохранены как прочитаны; их контрольная сумма не сошлась.\n"));
    return kExitOk;
}

int RunWriteConfig(CliContext& context)
{
    QString file;
    int exitCode = kExitOk;
    if (!TakeFileArgument(context, file, &exitCode))
        return exitCode;
    ConfigurationBlocks blocks{};
    QString missing;
    if (!OpenTunesFile(file, blocks, context.Host(), &missing))
        return kExitFile;
    if (!missing.isEmpty()) {
        // The settings it lacks would reach the meter as zeros.
        PrintFailure(
            QStringLiteral("Файл настроек \"%1\" не записан в прибор: в нем недостает %2.\n").arg(file, missing));
        return kExitRefused;
    }
    if (!ValidateTunes(blocks, context.Host()))
        return kExitRefused;
    DriverSession* session = context.Connect(&exitCode);
    if (!session)
        return exitCode;
    session->Driver().Configuration() = blocks;
    const ExitCode written = session->RunCode(kCommandWriteConfiguration);
    if (written == kExitOk && context.Options().Json())
        PrintOut(JsonDocumentText({{QStringLiteral("file"), file},
                                   {QStringLiteral("serial"), qint64(blocks.identity.serialNumber)},
                                   {QStringLiteral("written"), true}}));
    return written;
}

int RunCheck(CliContext& context)
{
    QString file;
    int exitCode = kExitOk;
    if (!TakeFileArgument(context, file, &exitCode))
        return exitCode;
    ConfigurationBlocks blocks{};
    QString missing;
    if (!OpenTunesFile(file, blocks, context.Host(), &missing))
        return kExitFile;
    const bool valid = ValidateTunes(blocks, context.Host());
    // The verdict also on stdout for a script; the violation itself is told on stderr.
    if (context.Options().Json())
        PrintOut(
            JsonDocumentText({{QStringLiteral("file"), file},
                              {QStringLiteral("valid"), valid},
                              {QStringLiteral("missing"), missing.isEmpty() ? QJsonValue() : QJsonValue(missing)}}));
    return valid ? kExitOk : kExitRefused;
}

int RunReport(CliContext& context)
{
    QString file;
    int exitCode = kExitOk;
    if (!TakeFileArgument(context, file, &exitCode))
        return exitCode;
    ConfigurationBlocks blocks{};
    if (!OpenTunesFile(file, blocks, context.Host()))
        return kExitFile;
    const QString& output = context.Options().output;
    const QString target = output.isEmpty() ? DefaultReportName(file)
                                            : OutputFileName(output, QLatin1String(kReportExtension));
    OutputReportViewer viewer(target, context.Host());
    const SettingsReportPlace place{DefaultReportFolder(), NewReportWindowNumber(), nullptr};
    // The report is made from a file that opened; what fails now is its writing.
    if (!ShowSettingsReport(blocks, context.Host(), viewer, place) || !viewer.Saved())
        return kExitFile;
    // A name the command chose itself is told.
    if (output.isEmpty())
        PrintNotice(QStringLiteral("Отчет записан: %1\n").arg(target));
    return kExitOk;
}
