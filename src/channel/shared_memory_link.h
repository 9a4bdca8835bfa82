#pragma once
// The shared-memory transport: frames travel through one memory block shared by local programs (for
// example another program that holds the real link to the meter). A writer puts its frame into the
// block and raises the new-data flag of every other registered participant; a reader waits until its
// own flag is up and takes the frame. A writer never waits for readers: a frame not yet taken is
// overwritten by the next one.
//
// How participants meet (every participant must follow this):
// - The block is a QSharedMemory whose key is BlockName(n), "zt5-exchange-<n>" for link number n.
//   Whoever attaches first creates it (the system hands it out zero-filled); the system removes it
//   when the last participant detaches.
// - Every access to the block (registering, writing a frame, taking a frame) runs under the block's own
//   lock (QSharedMemory::lock), so a reader never takes a half-written frame.
// - A participant id is a non-zero 32-bit number; the channel's owner uses its main window id.
//   Attach registers it: the entry that already carries the id is taken again (a participant coming
//   back after a crash), otherwise the first entry whose id is 0; its new-data flag starts cleared.
//   That entry index is the participant's own. Detach clears the entry (id 0) and releases the block.
//
// Block layout, little-endian:
//   offset    0  2058 bytes  frame
//   offset 2058     2 bytes  frame length, 0..2058
//   offset 2060  256 x 6     participant entries: id (4), unused (1), new-data flag (1)

#include "channel/channel_types.h"

#include <QSharedMemory>
#include <QString>

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct SharedExchangeEntry {
    std::uint32_t participantId;  // 0: a free entry
    std::uint8_t unused;
    std::uint8_t newData;  // 1: a frame written by another participant is waiting
};

struct SharedExchangeBlock {
    static constexpr int kFrameCapacity = 2058;
    static constexpr int kEntryCount = 256;

    std::uint8_t frame[kFrameCapacity];
    std::uint16_t frameLength;
    SharedExchangeEntry entries[kEntryCount];
};
#pragma pack(pop)

static_assert(sizeof(SharedExchangeEntry) == 6);
static_assert(offsetof(SharedExchangeEntry, newData) == 5);
static_assert(sizeof(SharedExchangeBlock) == 3596);
static_assert(offsetof(SharedExchangeBlock, frameLength) == 2058);
static_assert(offsetof(SharedExchangeBlock, entries) == 2060);

class ChannelOwner;

class CMapFile {
public:
    // Pause between two looks at the own flag while a read waits.
    static constexpr int kPollPauseMs = 1;

    static QString BlockName(int linkNumber);

    CMapFile() = default;
    ~CMapFile();
    CMapFile(const CMapFile&) = delete;
    CMapFile& operator=(const CMapFile&) = delete;

    void SetOwner(ChannelOwner* owner) { m_owner = owner; }

    // Creates or attaches the block `name` and registers `participantId` in it. A failure is reported
    // and leaves nothing attached.
    bool Attach(const QString& name, quintptr participantId);
    void Detach();
    bool IsAttached() const { return m_index >= 0; }
    // The own entry index, -1 when no block is attached.
    int ParticipantIndex() const { return m_index; }

    int LinkNumber() const { return m_linkNumber; }
    void SetLinkNumber(int number) { m_linkNumber = number; }

    // 0 written, 4 failed (reported).
    int WriteData(const std::uint8_t* bytes, int count);
    int Write(const std::uint8_t* bytes, int count) { return WriteData(bytes, count); }
    // 0 frame taken, 1 time-out, 3 stopped, 4 failed (reported).
    int ReadData(std::uint8_t* buffer, int capacity, int& received, int timeoutMs);
    int Read(std::uint8_t* dest, int freeSpace, int& received, int timeoutMs)
    {
        return ReadData(dest, freeSpace, received, timeoutMs);
    }

private:
    SharedExchangeBlock* Block();
    bool Register(std::uint32_t id);
    // Under the lock: when the own flag is up, clears it and copies the frame out. -1 on a lock failure
    // (reported), else whether a frame was taken.
    int TakeFrame();
    bool Lock();
    void Report(const char* text);

    ChannelOwner* m_owner = nullptr;
    QSharedMemory m_memory;
    int m_index = -1;
    std::uint32_t m_id = 0;
    int m_linkNumber = 0;
    // The frame taken from the block, so the block's lock is not held while the owner looks at it.
    std::uint8_t m_frame[SharedExchangeBlock::kFrameCapacity]{};
    int m_frameLength = 0;
};
