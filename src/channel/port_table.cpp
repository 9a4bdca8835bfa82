#include "channel/port_table.h"

#include "channel/serial_device_list.h"

#include <QMutexLocker>

PortTable& PortTable::Global()
{
    static PortTable table;
    return table;
}

QString PortTable::DevicePath(int number) const
{
    QMutexLocker lock(&m_mutex);
    return m_paths.value(number);
}

void PortTable::Assign(int number, const QString& path)
{
    if (!IsValidNumber(number))
        return;
    QMutexLocker lock(&m_mutex);
    if (const int previous = NumberForLocked(path); previous != 0)
        m_paths.remove(previous);
    if (path.isEmpty())
        m_paths.remove(number);
    else
        m_paths.insert(number, path);
}

int PortTable::NumberFor(const QString& path) const
{
    QMutexLocker lock(&m_mutex);
    return NumberForLocked(path);
}

int PortTable::Register(const QString& path)
{
    QMutexLocker lock(&m_mutex);
    return RegisterLocked(path);
}

void PortTable::ScanSystemPorts()
{
    ScanSystemPorts(QStringLiteral("/dev"));
}

void PortTable::ScanSystemPorts(const QString& deviceFolder)
{
    const QList<SerialDeviceEntry> devices = ListSerialDevices(deviceFolder);
    QMutexLocker lock(&m_mutex);
    for (const SerialDeviceEntry& device : devices) {
        // A device already known under its kernel name keeps that entry.
        if (NumberForLocked(device.kernelPath) == 0)
            RegisterLocked(device.path);
    }
}

QMap<int, QString> PortTable::Entries() const
{
    QMutexLocker lock(&m_mutex);
    return m_paths;
}

void PortTable::Load(const QMap<int, QString>& entries)
{
    QMutexLocker lock(&m_mutex);
    m_paths.clear();
    for (auto it = entries.cbegin(); it != entries.cend(); ++it) {
        if (IsValidNumber(it.key()) && !it.value().isEmpty() && NumberForLocked(it.value()) == 0)
            m_paths.insert(it.key(), it.value());
    }
}

QString PortTable::DisplayName(int number, const QString& path)
{
    const QString name = QStringLiteral("COM%1").arg(number);
    return path.isEmpty() ? name : QStringLiteral("%1 (%2)").arg(name, path);
}

int PortTable::NumberForLocked(const QString& path) const
{
    if (path.isEmpty())
        return 0;
    for (auto it = m_paths.cbegin(); it != m_paths.cend(); ++it) {
        if (it.value() == path)
            return it.key();
    }
    return 0;
}

int PortTable::RegisterLocked(const QString& path)
{
    if (path.isEmpty())
        return 0;
    if (const int known = NumberForLocked(path); known != 0)
        return known;
    for (int number = kFirstNumber; number <= kLastNumber; ++number) {
        if (!m_paths.contains(number)) {
            m_paths.insert(number, path);
            return number;
        }
    }
    return 0;
}
