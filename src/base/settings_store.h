#pragma once
// "settings.ini": what the program remembers between runs, addressed by section and key. Sections
// are paths such as "Settings\Settings", kept verbatim; names are matched without regard to case.
// Integers and strings are stored as text, binary values (window placements) as hex digits.
//
// Every setter writes the file at once, through a temporary file renamed over the old one, so an
// interrupted write never leaves half a file. A Batch holds the writes of several setters for one
// write at its end. A damaged file never stops the program: what can be read is used, the rest is
// skipped. Safe to use from several threads.

#include "base/ini_text.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

class SettingsStore {
public:
    static constexpr const char* kFileName = "settings.ini";

    // Where the store lives: `overrideFile` (--settings) when given; else "settings.ini" in the program
    // folder when that folder is writable and not a system folder; else in the user's configuration folder.
    static QString LocateFile(const QString& overrideFile, const QString& programFolder, const QString& configFolder);
    // The same for this program (UserConfigFolder() when installed).
    static QString LocateFile(const QString& overrideFile = {});

    // Reads `filePath`; a missing file is an empty store.
    explicit SettingsStore(QString filePath);
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    QString FilePath() const { return m_filePath; }

    // Each getter answers `defaultValue` when the key is absent or its text is not of the type.
    int GetInt(const QString& section, const QString& key, int defaultValue) const;
    QString GetString(const QString& section, const QString& key, const QString& defaultValue = {}) const;
    QByteArray GetBinary(const QString& section, const QString& key, const QByteArray& defaultValue = {}) const;
    bool Contains(const QString& section, const QString& key) const;
    QStringList Keys(const QString& section) const;

    // False when the name cannot be stored or the file could not be written (LastError says why);
    // the value is kept in memory either way when the name is valid.
    bool SetInt(const QString& section, const QString& key, int value);
    bool SetString(const QString& section, const QString& key, const QString& value);
    bool SetBinary(const QString& section, const QString& key, const QByteArray& value);
    bool RemoveKey(const QString& section, const QString& key);
    bool RemoveSection(const QString& section);

    // Reads the file again. False when it exists but cannot be read; the store is then empty, and it
    // keeps its values in memory only, so that the unread file is not replaced.
    bool Reload();
    // Why the last read or write failed, in the system's words; empty after a success.
    QString LastError() const;

    // Holds the file writes of the setters called during its life and writes once at its end.
    class Batch {
    public:
        explicit Batch(SettingsStore& store);
        ~Batch();
        // Ends the batch early; false when the file could not be written.
        bool Commit();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        SettingsStore* m_store;
    };

private:
    const QString* FindValueLocked(const QString& section, const QString& key) const;
    bool SetValue(const QString& section, const QString& key, const QString& value);
    bool WriteIfDueLocked();

    const QString m_filePath;
    mutable QMutex m_mutex;
    QList<IniSection> m_sections;
    QString m_lastError;
    QString m_readError;  // why the file could not be read; empty when it could
    int m_batchDepth = 0;
    bool m_dirty = false;
};
