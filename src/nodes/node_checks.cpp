#include "nodes/node_checks.h"

#include "channel/channel_types.h"

namespace NodeChecks {

QString RequiredNumberFailure(const char* caption, int value, int max)
{
    if (value >= 1 && value <= max)
        return {};
    return QStringLiteral("Поле \"%1\" должно содержать число от 1 до %2!").arg(QString::fromUtf8(caption)).arg(max);
}

QString RecordNumbersFailure(const NodeRecord& record)
{
    QString failure;
    if (record.ConnectionType() == kChannelIp)
        failure = RequiredNumberFailure(kIpPortCaption, record.IpPort(), kMaxIpPort);
    if (failure.isEmpty())
        failure = RequiredNumberFailure(kTimeoutCaption, record.RepeatTimeoutSec(), kMaxByte);
    if (failure.isEmpty())
        failure = RequiredNumberFailure(kAttemptsCaption, record.RepeatCount(), kMaxByte);
    return failure;
}

}  // namespace NodeChecks
