#include "support/recording_owner.h"

#include <QMutexLocker>

QStringList RecordingOwner::Log() const
{
    QMutexLocker lock(&m_mutex);
    return m_log;
}

QList<RecordedBox> RecordingOwner::Boxes() const
{
    QMutexLocker lock(&m_mutex);
    return m_boxes;
}

QList<MonitorBlock> RecordingOwner::Blocks() const
{
    QMutexLocker lock(&m_mutex);
    return m_blocks;
}

QByteArray RecordingOwner::Transmitted() const
{
    return Joined(true);
}

QByteArray RecordingOwner::Received() const
{
    return Joined(false);
}

int RecordingOwner::SendQueryCalls() const
{
    QMutexLocker lock(&m_mutex);
    return m_sendQueryCalls;
}

void RecordingOwner::Clear()
{
    QMutexLocker lock(&m_mutex);
    m_log.clear();
    m_boxes.clear();
    m_blocks.clear();
    m_sendQueryCalls = 0;
}

int RecordingOwner::SendQueryTo(int, int)
{
    QMutexLocker lock(&m_mutex);
    ++m_sendQueryCalls;
    return settings.sendQueryResult;
}

int RecordingOwner::MyOnCharsRecieved(const std::uint8_t* bytes, int count)
{
    AddBlock(false, bytes, count);
    return 0;
}

int RecordingOwner::MyOnCharsTransmitted(const std::uint8_t* bytes, int count)
{
    AddBlock(true, bytes, count);
    return 0;
}

void RecordingOwner::LogLine(const QString& text)
{
    QMutexLocker lock(&m_mutex);
    m_log.append(text);
}

int RecordingOwner::ShowMessage(const QString& text, const QString& caption, unsigned style)
{
    QMutexLocker lock(&m_mutex);
    m_boxes.append(RecordedBox{text, caption, style});
    return settings.boxAnswer;
}

void RecordingOwner::AddBlock(bool transmitted, const std::uint8_t* bytes, int count)
{
    // A negative count would make QByteArray measure a C string; record such a call as an empty block.
    const QByteArray copy = (bytes && count > 0) ? QByteArray(reinterpret_cast<const char*>(bytes), count)
                                                 : QByteArray();
    QMutexLocker lock(&m_mutex);
    m_blocks.append(MonitorBlock{transmitted, copy});
}

QByteArray RecordingOwner::Joined(bool transmitted) const
{
    QMutexLocker lock(&m_mutex);
    QByteArray out;
    for (const MonitorBlock& block : m_blocks) {
        if (block.transmitted == transmitted)
            out.append(block.bytes);
    }
    return out;
}
