#include "reports/temp_files.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <signal.h>
#include <cerrno>

#include "base/text_codec.h"
#include "reports/text_file.h"

namespace {

// One trace line; only when a log is given and open.
void Log(QIODevice* log, const QString& line)
{
    if (log && log->isOpen())
        log->write(EncodeWindows1251(line));
}

void Log(QIODevice* log, const char* format, const QString& argument)
{
    Log(log, QString::asprintf(format, qUtf8Printable(argument)));
}

void Tell(MessageSink* owner, const QString& text)
{
    if (owner)
        owner->ShowMessage(UserMessage::Information(text));
}

}  // namespace

QString ReportTempName(const QString& folder, quint32 windowNumber, ReportTempPart part)
{
    return QDir(folder).filePath(QString::asprintf("%.8X_2_%d.tmp", windowNumber, int(part)));
}

int RemoveStaleReportTempFiles(const QString& folder)
{
    static const QRegularExpression ours(QStringLiteral("^([0-9A-F]{8})_2_[01]\\.tmp$"));
    int removed = 0;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*_2_*.tmp")}, QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = ours.match(name);
        if (!match.hasMatch())
            continue;
        // The window number holds the writer's process id above ten bits of count (NewReportWindowNumber).
        const auto pid = static_cast<pid_t>(match.captured(1).toUInt(nullptr, 16) >> 10);
        const bool gone = pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH;
        if (gone && QFile::remove(dir.filePath(name)))
            ++removed;
    }
    return removed;
}

bool gOpenTempFile(QFile& file, const QString& path, QIODevice* log, MessageSink* owner)
{
    Log(log, "Процедура открытия временного файла: %s\r\n", path);
    if (file.isOpen()) {
        Log(log, "\tХэндл файла не равен hFileNull. Контрольное закрытие временного файла: %s\r\n", path);
        file.close();
    } else {
        Log(log, "\tХэндл файла равен hFileNull: %s\r\n", path);
    }
    file.setFileName(path);
    // Unbuffered, so that a write the disk takes only in part (a full disk, the file-size limit) fails
    // with the system's words instead of being lost in Qt's buffer as an "Unknown error".
    if (file.open(QIODevice::ReadWrite | QIODevice::Truncate | QIODevice::Unbuffered)) {
        Log(log, "\tУспешное открытие временного файла: %s\r\n", path);
        return true;
    }
    const QString message = FileFailureText("открыть временный файл", path, file.errorString());
    Tell(owner, message);
    Log(log, "\t\tERROR! - Ошибка открытия временного файла: %s\r\n", message);
    return false;
}

bool gCloseTempFile(QFile& file, QIODevice* log)
{
    Log(log, "Процедура закрытия временного файла: %s\r\n", file.fileName());
    if (!file.isOpen()) {
        Log(log, "\tХэндл файла равен hFileNull: %s\r\n", file.fileName());
        return true;
    }
    file.close();
    Log(log, "\tУспешное закрытие временного файла: %s\r\n", file.fileName());
    return true;
}

bool gDeleteTempFile(const QString& path, QIODevice* log, MessageSink* owner, QFile& file)
{
    Log(log, "Процедура удаления временного файла: %s\r\n", path);
    Log(log, "\tВызов процедуры закрытия временного файла: %s\r\n", path);
    gCloseTempFile(file, log);
    Log(log, "\tПоиск удаляемого файла: %s\r\n", path);
    // The path is taken as it is, never as a pattern: a report removes its own two files and no others.
    const QFileInfo found(path);
    int deleted = 0;
    if ((found.exists() || found.isSymLink()) && !found.isDir()) {
        QFile victim(path);
        ++deleted;
        if (!victim.remove()) {
            const QString message = FileFailureText("удалить временный файл", path, victim.errorString());
            Tell(owner, message);
            Log(log,
                QString::asprintf("\t\tERROR! - Ошибка удаления файла (%d): %s\r\n", deleted, qUtf8Printable(message)));
            return false;
        }
        Log(log, QString::asprintf("\tУспешное удаление файла (%d): %s\r\n", deleted, qUtf8Printable(path)));
    }
    if (deleted == 0)
        Log(log, "\tФайл для удаления не найден: %s\r\n", path);
    return true;
}
