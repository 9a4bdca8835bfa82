#include "base/settings_store.h"

#include "base/app_location.h"
#include "base/atomic_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <utility>

namespace {

// A settings file is a few kilobytes; anything far larger is not ours and is not read into memory.
constexpr qint64 kLargestReadableFile = 16 * 1024 * 1024;

bool IsHexText(const QString& text)
{
    if (text.size() % 2 != 0)
        return false;
    for (const QChar ch : text) {
        if (!ch.isDigit() && !(ch >= u'a' && ch <= u'f') && !(ch >= u'A' && ch <= u'F'))
            return false;
    }
    return true;
}

}  // namespace

QString SettingsStore::LocateFile(const QString& overrideFile, const QString& programFolder,
                                  const QString& configFolder)
{
    if (!overrideFile.isEmpty())
        return overrideFile;
    return QDir(PortableFolderOr(programFolder, configFolder)).filePath(QString::fromLatin1(kFileName));
}

QString SettingsStore::LocateFile(const QString& overrideFile)
{
    if (!overrideFile.isEmpty())
        return overrideFile;
    return LocateFile(overrideFile, ProgramFolder(), UserConfigFolder());
}

SettingsStore::SettingsStore(QString filePath) : m_filePath(std::move(filePath))
{
    Reload();
}

bool SettingsStore::Reload()
{
    QMutexLocker lock(&m_mutex);
    m_sections.clear();
    m_lastError.clear();
    m_dirty = false;
    m_readError.clear();
    QFile file(m_filePath);
    if (!file.exists())
        return true;
    if (!file.open(QIODevice::ReadOnly))
        m_readError = QStringLiteral("Не удалось прочитать файл настроек программы \"%1\": %2")
                          .arg(QDir::toNativeSeparators(m_filePath), file.errorString());
    else if (file.size() > kLargestReadableFile)
        m_readError = QStringLiteral("Файл \"%1\" слишком велик для файла настроек!")
                          .arg(QDir::toNativeSeparators(m_filePath));
    else
        m_sections = ParseIniText(file.readAll());
    m_lastError = m_readError;
    return m_readError.isEmpty();
}

QString SettingsStore::LastError() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastError;
}

const QString* SettingsStore::FindValueLocked(const QString& section, const QString& key) const
{
    const IniSection* found = FindIniSection(m_sections, section);
    const qsizetype index = found ? FindIniKey(*found, key) : -1;
    return index < 0 ? nullptr : &found->entries[index].value;
}

int SettingsStore::GetInt(const QString& section, const QString& key, int defaultValue) const
{
    QMutexLocker lock(&m_mutex);
    const QString* text = FindValueLocked(section, key);
    if (!text)
        return defaultValue;
    bool ok = false;
    const int value = text->toInt(&ok, 10);
    return ok ? value : defaultValue;
}

QString SettingsStore::GetString(const QString& section, const QString& key, const QString& defaultValue) const
{
    QMutexLocker lock(&m_mutex);
    const QString* text = FindValueLocked(section, key);
    return text ? *text : defaultValue;
}

QByteArray SettingsStore::GetBinary(const QString& section, const QString& key, const QByteArray& defaultValue) const
{
    QMutexLocker lock(&m_mutex);
    const QString* text = FindValueLocked(section, key);
    if (!text || !IsHexText(*text))
        return defaultValue;
    return QByteArray::fromHex(text->toLatin1());
}

bool SettingsStore::Contains(const QString& section, const QString& key) const
{
    QMutexLocker lock(&m_mutex);
    return FindValueLocked(section, key) != nullptr;
}

QStringList SettingsStore::Keys(const QString& section) const
{
    QMutexLocker lock(&m_mutex);
    QStringList keys;
    if (const IniSection* found = FindIniSection(m_sections, section)) {
        for (const IniEntry& entry : found->entries)
            keys.append(entry.key);
    }
    return keys;
}

bool SettingsStore::SetInt(const QString& section, const QString& key, int value)
{
    return SetValue(section, key, QString::number(value));
}

bool SettingsStore::SetString(const QString& section, const QString& key, const QString& value)
{
    return SetValue(section, key, value);
}

bool SettingsStore::SetBinary(const QString& section, const QString& key, const QByteArray& value)
{
    return SetValue(section, key, QString::fromLatin1(value.toHex()));
}

bool SettingsStore::SetValue(const QString& section, const QString& key, const QString& value)
{
    QMutexLocker lock(&m_mutex);
    if (!IsValidIniSection(section) || !IsValidIniKey(key)) {
        m_lastError = QStringLiteral("Недопустимое имя параметра \"%1\\%2\"!").arg(section, key);
        return false;
    }
    IniSection* target = FindIniSection(m_sections, section);
    if (!target) {
        m_sections.append(IniSection{section, {}});
        target = &m_sections.last();
    }
    const qsizetype index = FindIniKey(*target, key);
    if (index < 0)
        target->entries.append(IniEntry{key, value});
    else if (target->entries[index].value == value)
        return m_dirty ? WriteIfDueLocked() : true;
    else
        target->entries[index].value = value;
    m_dirty = true;
    return WriteIfDueLocked();
}

bool SettingsStore::RemoveKey(const QString& section, const QString& key)
{
    QMutexLocker lock(&m_mutex);
    IniSection* target = FindIniSection(m_sections, section);
    const qsizetype index = target ? FindIniKey(*target, key) : -1;
    if (index < 0)
        return true;
    target->entries.removeAt(index);
    m_dirty = true;
    return WriteIfDueLocked();
}

bool SettingsStore::RemoveSection(const QString& section)
{
    QMutexLocker lock(&m_mutex);
    const qsizetype removed = m_sections.removeIf(
        [&section](const IniSection& candidate) { return candidate.name.compare(section, Qt::CaseInsensitive) == 0; });
    if (removed == 0)
        return true;
    m_dirty = true;
    return WriteIfDueLocked();
}

bool SettingsStore::WriteIfDueLocked()
{
    if (m_batchDepth > 0 || !m_dirty)
        return true;
    // A file that could not be read is not written over with the little this run has set.
    m_lastError = m_readError;
    if (!m_readError.isEmpty())
        return false;
    // The configuration folder of a fresh account may not exist yet.
    QDir().mkpath(QFileInfo(m_filePath).absolutePath());
    QString reason;
    if (!ReplaceFileContents(m_filePath, WriteIniText(m_sections), &reason)) {
        // The system's text alone ("Operation not permitted") does not say which file.
        m_lastError = QStringLiteral("Не удалось сохранить настройки программы в файл \"%1\": %2")
                          .arg(QDir::toNativeSeparators(m_filePath), reason);
        return false;
    }
    m_dirty = false;
    return true;
}

SettingsStore::Batch::Batch(SettingsStore& store) : m_store(&store)
{
    QMutexLocker lock(&store.m_mutex);
    ++store.m_batchDepth;
}

SettingsStore::Batch::~Batch()
{
    Commit();
}

bool SettingsStore::Batch::Commit()
{
    if (!m_store)
        return true;
    SettingsStore* store = std::exchange(m_store, nullptr);
    QMutexLocker lock(&store->m_mutex);
    --store->m_batchDepth;
    return store->WriteIfDueLocked();
}
