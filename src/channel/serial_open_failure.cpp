#include "channel/serial_open_failure.h"

#include "channel/port_table.h"
#include "channel/system_error.h"

#include <cerrno>

namespace {

const char kNotReady[] = "Последовательный порт не готов!";
const char kBusyHint[] = "Возможно, он занят другим приложением!";

}  // namespace

bool IsSerialPortBusy(int code)
{
    // EBUSY from the terminal's exclusive mode, EWOULDBLOCK from the lock another program holds.
    return code == EBUSY || code == EWOULDBLOCK || code == EAGAIN;
}

QString SerialOpenFailureText(int portNumber, const QString& path, int code)
{
    const QString head = QString::fromUtf8(kNotReady);
    if (path.isEmpty()) {
        return head
            + QStringLiteral(
                  "\nномер COM%1 не назначен ни одному устройству: его можно назначить в "
                  "окне \"Параметры\", вкладка \"Последовательные порты\"")
                  .arg(portNumber);
    }
    const QString port = PortTable::DisplayName(portNumber, path);
    switch (code) {
        case EBUSY:
        case EWOULDBLOCK:
            return head + QString::fromUtf8(kBusyHint);
        case EACCES:
        case EPERM:
            return head
                + QStringLiteral("\nнет прав доступа к порту %1: пользователь должен входить в группу dialout")
                      .arg(port);
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return head + QStringLiteral("\nпорт %1 отсутствует").arg(port);
        case ENOTTY:
            return head + QStringLiteral("\n%1 не является последовательным портом").arg(port);
        default:
            return head + QStringLiteral("\n%1: %2").arg(port, SystemErrorText(code));
    }
}
