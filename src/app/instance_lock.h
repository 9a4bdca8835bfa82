#pragma once
// One desktop program a work folder: a second one would write the node base and the settings over the
// first's, last writer wins. The lock is a file in the work folder that goes with its process; one left
// by a program that crashed is taken over (the lock names a process that no longer runs).

#include <QLockFile>
#include <QString>

class InstanceLock {
public:
    explicit InstanceLock(const QString& workFolder);

    // True when this program now holds the folder, and also when the folder cannot hold a lock at all (a
    // read-only folder has nothing to protect); false while another running program holds it.
    bool Take();
    // The question for the user when Take() said false: Yes goes on beside the other program.
    QString SecondInstanceQuestion() const;

private:
    QString m_folder;
    QLockFile m_lock;
};
