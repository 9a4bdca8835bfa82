#pragma once
// Records and screens speak of COM numbers 1..32; this table says which device each number stands
// for. A device seen for the first time gets the lowest free number and keeps it from then on, so a
// node saved with "COM3" finds the same adapter next time. Any path, a pseudo-terminal included, can
// be put under a number by hand.

#include <QMap>
#include <QMutex>
#include <QString>

class PortTable {
public:
    static constexpr int kFirstNumber = 1;
    static constexpr int kLastNumber = 32;

    // The table the serial port and the port search use.
    static PortTable& Global();

    // The device under `number`; empty when there is none.
    QString DevicePath(int number) const;
    // Puts `path` under `number`, taking it away from any other number; an empty path clears the
    // number. Numbers outside 1..32 are ignored.
    void Assign(int number, const QString& path);
    // The number `path` stands under, or 0.
    int NumberFor(const QString& path) const;
    // The number of `path`: the one it already has, else the lowest free one (0 when all are taken).
    int Register(const QString& path);
    // Registers the serial devices present (ttyS*, ttyUSB*, ttyACM*), by their /dev/serial/by-id
    // names where those exist. A ttyS node without a UART behind it is left out.
    void ScanSystemPorts();
    void ScanSystemPorts(const QString& deviceFolder);

    QMap<int, QString> Entries() const;
    // Replaces the table; invalid numbers, empty paths and repeated paths are dropped.
    void Load(const QMap<int, QString>& entries);

    // "COM3 (/dev/ttyUSB0)", or "COM3" without a path.
    static QString DisplayName(int number, const QString& path);

private:
    static bool IsValidNumber(int number) { return number >= kFirstNumber && number <= kLastNumber; }
    int NumberForLocked(const QString& path) const;
    int RegisterLocked(const QString& path);

    mutable QMutex m_mutex;
    QMap<int, QString> m_paths;
};
