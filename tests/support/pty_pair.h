#pragma once
// A pseudo-terminal pair standing in for a serial line: the code under test opens the slave path like
// a port device, the test plays the meter on the master side.

#include <QByteArray>
#include <QString>

class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    bool IsOpen() const { return m_master >= 0; }
    QString SlavePath() const { return m_slavePath; }
    int MasterFd() const { return m_master; }
    // The test's own descriptor of the slave: reads back the terminal settings the code under test made.
    int SlaveFd() const { return m_slave; }
    // Hangs the line up, as when a USB adapter is pulled out.
    void CloseMaster();
    // Waits until bytes written on the master side are readable on the slave side.
    bool WaitSlaveReadable(int timeoutMs) const;

    // Reads from the master side until `count` bytes arrived or `timeoutMs` passed.
    QByteArray ReadMaster(int count, int timeoutMs);
    // Everything that arrives within `quietMs` of silence (at most `timeoutMs` in all).
    QByteArray ReadMasterUntilQuiet(int quietMs, int timeoutMs);
    bool WriteMaster(const QByteArray& bytes);

private:
    int m_master = -1;
    int m_slave = -1;  // kept open so the line stays up while the code under test reopens it
    QString m_slavePath;
};
