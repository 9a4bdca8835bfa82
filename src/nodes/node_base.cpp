#include "nodes/node_base.h"

#include "base/atomic_file.h"
#include "base/russian_count.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

UserMessage ParseFailure(NodeBaseFile::ParseResult result, const QString& filePath, std::int64_t counted,
                         qint64 fileSize)
{
    const QString shown = QDir::toNativeSeparators(filePath);
    switch (result) {
        case NodeBaseFile::ParseResult::kForeign:
            return UserMessage::Information(
                QStringLiteral("Файл \"%1\" не является файлом базы узлов учета!").arg(shown));
        case NodeBaseFile::ParseResult::kShortHeader:
            return UserMessage::Information(
                QStringLiteral("Файл базы узлов учета \"%1\" поврежден: заголовок неполон (%2)!")
                    .arg(shown, CountText(fileSize, kBytesForms)));
        case NodeBaseFile::ParseResult::kTruncated: {
            const qint64 present = (fileSize - static_cast<qint64>(sizeof(NodeBaseHeader)))
                / static_cast<qint64>(sizeof(NodeEntry));
            return UserMessage::Information(
                QStringLiteral("Файл базы узлов учета \"%1\" поврежден: узлов учета в заголовке %2, в файле %3!")
                    .arg(shown, QString::number(counted), QString::number(present)));
        }
        case NodeBaseFile::ParseResult::kOk:
            break;
    }
    return {};
}

}  // namespace

QString NodeBase::FilePath(const QString& workFolder)
{
    return QDir(workFolder).filePath(QStringLiteral("Base/") + QString::fromLatin1(kFileName));
}

bool NodeBase::Load(const QString& workFolder, UserMessage* failure)
{
    return LoadFile(FilePath(workFolder), failure);
}

bool NodeBase::LoadFile(const QString& filePath, UserMessage* failure)
{
    m_entries.clear();
    m_damaged = false;
    QFile file(filePath);
    // A missing base is an empty one, written at once (its header and no entry) so the user sees where
    // it lives.
    if (!file.exists())
        return SaveFile(filePath, failure);
    if (!file.open(QIODevice::ReadOnly)) {
        if (failure)
            *failure = UserMessage::Information(file.errorString());
        return false;
    }
    QByteArray image = file.read(sizeof(NodeBaseHeader));
    const qint64 wanted = std::min<qint64>(NodeBaseFile::ImageSize(image), file.size());
    if (wanted > image.size())
        image += file.read(wanted - image.size());
    if (file.error() != QFileDevice::NoError) {
        if (failure)
            *failure = UserMessage::Information(file.errorString());
        return false;
    }
    std::int64_t counted = 0;
    const NodeBaseFile::ParseResult result = NodeBaseFile::Parse(image, m_entries, &counted);
    if (result == NodeBaseFile::ParseResult::kOk)
        return true;
    m_damaged = true;
    if (failure)
        *failure = ParseFailure(result, filePath, counted, file.size());
    return false;
}

QString NodeBase::DamagedFileName(const QDateTime& when)
{
    return QStringLiteral("%1.damaged-%2")
        .arg(QLatin1String(kFileName), when.toString(QStringLiteral("yyyyMMdd-HHmmss")));
}

bool NodeBase::SetDamagedFileAside(const QString& workFolder, const QString& keptName, UserMessage* failure)
{
    const QString path = FilePath(workFolder);
    const QString kept = QFileInfo(path).dir().filePath(keptName);
    // QFile::rename never replaces an existing file: an earlier damaged copy stays as it is.
    QFile file(path);
    if (!file.rename(kept)) {
        if (failure)
            *failure = UserMessage::Information(QStringLiteral("Не удалось переименовать файл \"%1\" в \"%2\": %3")
                                                    .arg(QDir::toNativeSeparators(path), keptName, file.errorString()));
        return false;
    }
    return NodeBase().SaveFile(path, failure);
}

bool NodeBase::Save(const QString& workFolder, UserMessage* failure) const
{
    return SaveFile(FilePath(workFolder), failure);
}

bool NodeBase::SaveFile(const QString& filePath, UserMessage* failure) const
{
    QString error;
    if (ReplaceFileContents(filePath, NodeBaseFile::Write(m_entries), &error))
        return true;
    if (failure)
        *failure = UserMessage::Information(error);
    return false;
}

bool NodeBase::Insert(int index, const NodeEntry& entry)
{
    if (index < 0 || index > Count())
        return false;
    m_entries.insert(index, entry);
    return true;
}

bool NodeBase::Remove(int index)
{
    if (!IsValidIndex(index))
        return false;
    m_entries.removeAt(index);
    return true;
}

bool NodeBase::Replace(int index, const NodeEntry& entry)
{
    if (!IsValidIndex(index))
        return false;
    m_entries[index] = entry;
    return true;
}

bool NodeBase::MoveUp(int index)
{
    const int other = NeighbourOfSameType(index, -1);
    if (other < 0)
        return false;
    m_entries.swapItemsAt(index, other);
    return true;
}

bool NodeBase::MoveDown(int index)
{
    const int other = NeighbourOfSameType(index, +1);
    if (other < 0)
        return false;
    m_entries.swapItemsAt(index, other);
    return true;
}

int NodeBase::NeighbourOfSameType(int index, int step) const
{
    if (!IsValidIndex(index))
        return -1;
    const int type = m_entries[index].record.ConnectionType();
    for (int i = index + step; IsValidIndex(i); i += step) {
        if (m_entries[i].record.ConnectionType() == type)
            return i;
    }
    return -1;
}

QList<int> NodeBase::IndicesOfType(int connectionType) const
{
    QList<int> indices;
    for (int i = 0; i < Count(); ++i) {
        if (m_entries[i].record.ConnectionType() == connectionType)
            indices.append(i);
    }
    return indices;
}

int NodeBase::FindByName(const QString& name) const
{
    for (Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (int i = 0; i < Count(); ++i) {
            if (m_entries[i].record.Name().compare(name, sensitivity) == 0)
                return i;
        }
    }
    return -1;
}
