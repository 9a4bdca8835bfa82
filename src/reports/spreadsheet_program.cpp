#include "reports/spreadsheet_program.h"

#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int kQueryLimitMs = 3000;  // xdg-mime reads a few small files

}  // namespace

bool SpreadsheetProgramFor(const QString& file)
{
    // Without an answer the opener would start nothing and say nothing: it counts as no program.
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty())
        return false;
    QProcess process;
    process.start(query,
                  {QStringLiteral("query"), QStringLiteral("default"),
                   QMimeDatabase().mimeTypeForFile(file, QMimeDatabase::MatchExtension).name()});
    if (!process.waitForFinished(kQueryLimitMs) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        process.kill();
        return false;
    }
    return !process.readAllStandardOutput().trimmed().isEmpty();
}

QString NoSpreadsheetProgramText(const QString& file)
{
    return QString::fromUtf8(
               "Не найдена программа электронных таблиц для открытия файла \"%1\". Установите её "
               "(например, LibreOffice Calc) или откройте файл вручную.")
        .arg(file);
}
