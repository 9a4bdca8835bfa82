#pragma once
// The node base: the user's metering nodes in the order the user gave them, kept in
// "<work folder>/Base/Objects.bin". Saving writes a temporary file and renames it over the old one,
// so a failed or interrupted save leaves the previous base as it was.

#include "base/user_message.h"
#include "nodes/node_base_file.h"

#include <QDateTime>
#include <QList>
#include <QString>

class NodeBase {
public:
    static constexpr const char* kFileName = "Objects.bin";

    // "<workFolder>/Base/Objects.bin".
    static QString FilePath(const QString& workFolder);

    int Count() const { return static_cast<int>(m_entries.size()); }
    bool IsEmpty() const { return m_entries.isEmpty(); }
    const QList<NodeEntry>& Entries() const { return m_entries; }
    // The entry at `index`, which must be valid.
    const NodeEntry& At(int index) const { return m_entries.at(index); }
    bool IsValidIndex(int index) const { return index >= 0 && index < Count(); }

    // Reads the base of `workFolder`, creating an empty file when there is none. On failure the base
    // is empty and `failure` says why: the system's text when the file cannot be opened, or that the
    // file is damaged or no node base at all.
    bool Load(const QString& workFolder, UserMessage* failure);
    bool LoadFile(const QString& filePath, UserMessage* failure);
    // True when the last load failed on the file's contents (short, foreign or truncated), not on
    // reading it: such a file may be set aside for a fresh base.
    bool LastLoadFoundDamage() const { return m_damaged; }

    // The name a damaged base is kept under: "Objects.bin.damaged-YYYYMMDD-HHMMSS".
    static QString DamagedFileName(const QDateTime& when);
    // Renames the damaged base of `workFolder` to `keptName` (in the same folder, never over another
    // file) and writes an empty base in its place. On failure nothing was lost and `failure` says why.
    static bool SetDamagedFileAside(const QString& workFolder, const QString& keptName, UserMessage* failure);
    // Writes the base; on failure the file on disk is the one before.
    bool Save(const QString& workFolder, UserMessage* failure) const;
    bool SaveFile(const QString& filePath, UserMessage* failure) const;

    void Clear() { m_entries.clear(); }
    void Append(const NodeEntry& entry) { m_entries.append(entry); }
    // These refuse an index out of range (false, nothing changed). Insert takes 0..Count().
    bool Insert(int index, const NodeEntry& entry);
    bool Remove(int index);
    bool Replace(int index, const NodeEntry& entry);
    // Swaps the entry with the previous / next entry of the same connection type (the neighbour in
    // the list the user sees); false when there is none.
    bool MoveUp(int index);
    bool MoveDown(int index);

    // Indices of the entries of one connection type, in base order.
    QList<int> IndicesOfType(int connectionType) const;
    // The first entry with this name, compared exactly and then without regard to case; -1 if none.
    int FindByName(const QString& name) const;

private:
    // The index of the nearest entry of the same type in `step` direction, or -1.
    int NeighbourOfSameType(int index, int step) const;

    QList<NodeEntry> m_entries;
    bool m_damaged = false;
};
