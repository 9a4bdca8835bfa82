#include "protocol/read_trouble.h"

#include "base/message_style.h"
#include "channel/channel_owner.h"
#include "channel/channel_types.h"

bool ReportReadTrouble(ChannelOwner& owner, int result)
{
    switch (result) {
        case kReadTimeoutGarbage:
            owner.LogLine(QString::fromUtf8("Не совпала контрольная сумма!"));
            return true;
        case kReadStopped:
            owner.LogLine(QString::fromUtf8("Выполнение прервано пользователем!"));
            return false;
        case kReadFailed:
            owner.LogLine(QString::fromUtf8("Ошибка выполнения при вызове m_transmitChanel::ReadData!"));
            return false;
        default: {
            // The stand's loop keeps the driver's text: both come from the same engine.
            const QString text = QString::asprintf("Ошибка выполнения CRovoRedod::SendQueryTo (код %d)!", result);
            owner.LogLine(text);
            owner.ShowMessage(text, QString::fromUtf8(kCaptionError), MessageStyle::kIconError);
            return false;
        }
    }
}
