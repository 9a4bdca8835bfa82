#pragma once
// A folder the code under test may read but not write, for tests of failed saves. The super-user
// ignores mode bits, so while the folder is locked a test run as root acts as "nobody" (effective
// user only; the guard switches back). Not for tests that run threads of their own meanwhile.

#include <QString>
#include <QTemporaryDir>

class ReadOnlyFolder {
public:
    ReadOnlyFolder();
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    // The folder; fill it before Lock.
    QString Path() const { return m_path; }
    // From here on nothing can be created, renamed or removed in the folder; true when that holds.
    bool Lock();
    void Unlock();

private:
    QTemporaryDir m_root;
    QString m_path;
    bool m_locked = false;
    bool m_switchedUser = false;
};
