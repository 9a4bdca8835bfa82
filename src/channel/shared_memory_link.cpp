#include "channel/shared_memory_link.h"

#include "channel/channel_owner.h"
#include "channel/channel_types.h"

#include <QElapsedTimer>
#include <QThread>

#include <cstring>

QString CMapFile::BlockName(int linkNumber)
{
    return QStringLiteral("zt5-exchange-%1").arg(linkNumber);
}

CMapFile::~CMapFile()
{
    Detach();
}

SharedExchangeBlock* CMapFile::Block()
{
    return static_cast<SharedExchangeBlock*>(m_memory.data());
}

void CMapFile::Report(const char* text)
{
    ReportToOwner(m_owner, QString::fromUtf8(text));
}

bool CMapFile::Lock()
{
    if (m_memory.lock())
        return true;
    ReportToOwner(m_owner, m_memory.errorString());
    return false;
}

bool CMapFile::Attach(const QString& name, quintptr participantId)
{
    Detach();
    if (participantId == 0 || participantId > 0xFFFFFFFFu) {
        Report("Ошибка выполнения CMapFile::Attach!");
        return false;
    }
    m_memory.setKey(name);
    // The last participant may leave between a failed create and the attach: try again then.
    bool attached = false;
    for (int attempt = 0; attempt < 3 && !attached; ++attempt) {
        attached = m_memory.create(sizeof(SharedExchangeBlock));
        if (!attached && m_memory.error() == QSharedMemory::AlreadyExists)
            attached = m_memory.attach();
        if (!attached && m_memory.error() != QSharedMemory::NotFound)
            break;
    }
    if (!attached) {
        ReportToOwner(m_owner, m_memory.errorString());
        return false;
    }
    if (m_memory.size() < static_cast<qsizetype>(sizeof(SharedExchangeBlock))) {
        m_memory.detach();
        Report("Ошибка выполнения CMapFile::Attach!");
        return false;
    }
    if (!Register(static_cast<std::uint32_t>(participantId))) {
        m_memory.detach();
        return false;
    }
    return true;
}

bool CMapFile::Register(std::uint32_t id)
{
    if (!Lock())
        return false;
    SharedExchangeEntry* entries = Block()->entries;
    int index = -1;
    for (int i = 0; i < SharedExchangeBlock::kEntryCount && index < 0; ++i) {
        if (entries[i].participantId == id)
            index = i;
    }
    for (int i = 0; i < SharedExchangeBlock::kEntryCount && index < 0; ++i) {
        if (entries[i].participantId == 0)
            index = i;
    }
    if (index >= 0) {
        entries[index].participantId = id;
        entries[index].newData = 0;
    }
    m_memory.unlock();
    if (index < 0) {
        Report("Ошибка выполнения CMapFile::Attach!");
        return false;
    }
    m_index = index;
    m_id = id;
    return true;
}

void CMapFile::Detach()
{
    if (m_index >= 0 && m_memory.lock()) {
        SharedExchangeEntry& entry = Block()->entries[m_index];
        if (entry.participantId == m_id) {
            entry.participantId = 0;
            entry.newData = 0;
        }
        m_memory.unlock();
    }
    m_index = -1;
    m_id = 0;
    if (m_memory.isAttached())
        m_memory.detach();
}

int CMapFile::WriteData(const std::uint8_t* bytes, int count)
{
    if (count > SharedExchangeBlock::kFrameCapacity) {
        Report("Переполнение буфера в CMapFile::WriteData!");
        return kTransportFailed;
    }
    if (count < 0 || !IsAttached()) {
        Report("Ошибка выполнения CMapFile::WriteData!");
        return kTransportFailed;
    }
    if (!Lock())
        return kTransportFailed;
    SharedExchangeBlock* block = Block();
    block->frameLength = static_cast<std::uint16_t>(count);
    if (count > 0)
        std::memcpy(block->frame, bytes, static_cast<std::size_t>(count));
    for (SharedExchangeEntry& entry : block->entries) {
        if (entry.participantId != 0 && entry.participantId != m_id)
            entry.newData = 1;
    }
    m_memory.unlock();
    if (m_owner)
        m_owner->MyOnCharsTransmitted(bytes, count);
    return kTransportOk;
}

int CMapFile::TakeFrame()
{
    if (!Lock())
        return -1;
    SharedExchangeBlock* block = Block();
    SharedExchangeEntry& own = block->entries[m_index];
    const bool waiting = own.newData != 0;
    if (waiting) {
        own.newData = 0;
        // A length beyond the frame area can only come from a broken participant; it is kept as is
        // and refused by the capacity check instead of reading past the frame.
        m_frameLength = block->frameLength;
        if (m_frameLength <= SharedExchangeBlock::kFrameCapacity)
            std::memcpy(m_frame, block->frame, static_cast<std::size_t>(m_frameLength));
    }
    m_memory.unlock();
    return waiting ? 1 : 0;
}

int CMapFile::ReadData(std::uint8_t* buffer, int capacity, int& received, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        if (IsAttached()) {
            const int taken = TakeFrame();
            if (taken < 0)
                return kTransportFailed;
            if (taken > 0)
                break;
        }
        if (m_owner && m_owner->StopRequested())
            return kTransportStopped;
        if (clock.elapsed() >= timeoutMs)
            return kTransportTimeout;
        QThread::msleep(kPollPauseMs);
    }
    const bool lengthValid = m_frameLength <= SharedExchangeBlock::kFrameCapacity;
    if (lengthValid && m_owner)
        m_owner->MyOnCharsRecieved(m_frame, m_frameLength);
    if (!lengthValid || capacity < m_frameLength) {
        Report("Переполнение буфера в CMapFile::ReadData!");
        return kTransportFailed;
    }
    if (m_frameLength > 0)
        std::memcpy(buffer, m_frame, static_cast<std::size_t>(m_frameLength));
    received += m_frameLength;
    return kTransportOk;
}
