#include "channel/serial_device_list.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>

#include <fcntl.h>
#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

constexpr const char* kFamilies[] = {"ttyS", "ttyUSB", "ttyACM"};

bool HasUart(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    serial_struct info{};
    const bool known = ::ioctl(fd, TIOCGSERIAL, &info) == 0 && info.type != PORT_UNKNOWN;
    ::close(fd);
    return known;
}

// Kernel node (canonical path) -> the first by-id link that points to it.
QHash<QString, QString> ByIdNames(const QString& deviceFolder)
{
    QHash<QString, QString> names;
    const QDir byId(deviceFolder + QStringLiteral("/serial/by-id"));
    const QFileInfoList links = byId.entryInfoList(QDir::System | QDir::Files, QDir::Name);
    for (const QFileInfo& link : links) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty() && !names.contains(target))
            names.insert(target, link.absoluteFilePath());
    }
    return names;
}

// The nodes of one family, ttyUSB2 before ttyUSB10.
QStringList FamilyNodes(const QDir& folder, const QString& family)
{
    const QRegularExpression pattern(QRegularExpression::anchoredPattern(family + QStringLiteral("(\\d+)")));
    QList<std::pair<int, QString>> numbered;
    for (const QString& name : folder.entryList({family + QLatin1Char('*')}, QDir::System | QDir::Files)) {
        const QRegularExpressionMatch match = pattern.match(name);
        if (match.hasMatch())
            numbered.append({match.captured(1).toInt(), name});
    }
    std::sort(numbered.begin(), numbered.end());
    QStringList out;
    for (const auto& entry : numbered)
        out.append(folder.absoluteFilePath(entry.second));
    return out;
}

}  // namespace

QList<SerialDeviceEntry> ListSerialDevices(const QString& deviceFolder)
{
    const QDir folder(deviceFolder);
    const QHash<QString, QString> byId = ByIdNames(deviceFolder);
    QList<SerialDeviceEntry> devices;
    for (const char* family : kFamilies) {
        const QString familyName = QString::fromLatin1(family);
        for (const QString& node : FamilyNodes(folder, familyName)) {
            if (familyName == QLatin1String("ttyS") && !HasUart(node))
                continue;
            const QString canonical = QFileInfo(node).canonicalFilePath();
            devices.append(SerialDeviceEntry{byId.value(canonical, node), node});
        }
    }
    return devices;
}
