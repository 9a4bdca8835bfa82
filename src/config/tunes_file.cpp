#include "config/tunes_file.h"

#include <QFile>
#include <QFileInfo>

#include "base/atomic_file.h"
#include "base/file_name_rules.h"
#include "base/russian_count.h"
#include "config/tunes_file_format.h"

QString NormaliseTunesFileName(const QString& name)
{
    if (LastPathSeparator(name) < 0)
        return name;
    return WithSingleExtension(name, QLatin1String(kTunesFileExtension));
}

QString TunesFileFolder(const QString& name)
{
    const qsizetype separator = LastPathSeparator(name);
    return separator < 0 ? QString() : name.left(separator);
}

bool SaveTunesFile(const QString& name, const ConfigurationBlocks& blocks, ConfigMessageHost& host, QString* savedAs,
                   const QDateTime& savedAt)
{
    // A folder named is no file to write: its name with ".zt5" beside it is not what was asked for.
    if (QFileInfo(name).isDir()) {
        ShowConfigInformation(
            host, QString::fromUtf8("\"%1\" - папка, а не файл настроек: настройки не записаны.").arg(name));
        return false;
    }
    const QString fileName = NormaliseTunesFileName(name);
    QString error;
    if (!ReplaceFileContents(fileName, BuildTunesFile(blocks, savedAt), &error)) {
        ShowConfigInformation(host, QString::fromUtf8("Файл настроек \"%1\" не записан: %2").arg(fileName, error));
        return false;
    }
    if (savedAs)
        *savedAs = fileName;
    return true;
}

bool OpenTunesFile(const QString& name, ConfigurationBlocks& blocks, ConfigMessageHost& host, QString* missing)
{
    QFile file(name);
    const auto readFailure = [&] {
        ShowConfigInformation(
            host, QString::fromUtf8("Не удалось прочитать файл настроек \"%1\": %2").arg(name, file.errorString()));
    };
    if (!file.open(QIODevice::ReadOnly)) {
        readFailure();
        return false;
    }
    const QByteArray bytes = file.read(kTunesFileSize);
    if (file.error() != QFileDevice::NoError) {
        readFailure();
        return false;
    }
    if (bytes.size() < kTunesFileHeaderSize) {
        ShowConfigInformation(host,
                              QString::fromUtf8("Файл \"%1\" не является файлом настроек: его длина (%2) "
                                                "меньше заголовка файла настроек!")
                                  .arg(name, CountText(bytes.size(), kBytesForms)));
        return false;
    }
    if (!IsTunesFile(bytes)) {
        ShowConfigInformation(host, QString::fromUtf8("Файл \"%1\" не является файлом настроек!").arg(name));
        return false;
    }
    const TunesFileReading reading = ParseTunesFile(bytes, blocks);
    if (bytes.size() < reading.expectedSize)
        ShowConfigInformation(host,
                              QString::fromUtf8("Файл настроек \"%1\" короче ожидаемого (%2 из %3): "
                                                "недостающие настройки не прочитаны.")
                                  .arg(name, CountText(bytes.size(), kBytesForms))
                                  .arg(reading.expectedSize));
    if (missing)
        *missing = reading.missing;
    return true;
}
