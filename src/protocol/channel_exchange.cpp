#include "protocol/channel_exchange.h"

#include "channel/channel_owner.h"
#include "channel/transmit_channel.h"
#include "protocol/driver_host.h"
#include "protocol/exchange_log.h"
#include "protocol/read_trouble.h"
#include "protocol/request_texts.h"

#include <QTime>

#include <utility>

ChannelExchange::ChannelExchange(CTransmitChanel& channel, ChannelOwner& owner, Style style)
    : m_channel(channel), m_owner(owner), m_style(std::move(style))
{}

void ChannelExchange::AttachHost(DriverHost* host, bool showProgress)
{
    m_host = host;
    m_showProgress = showProgress;
}

void ChannelExchange::SetConnectionText(const QString& text)
{
    if (m_host && m_showProgress)
        m_host->SetConnectionText(text);
}

int ChannelExchange::Exchange(const std::uint8_t* request, std::uint16_t requestLength, std::uint8_t* answer,
                              std::uint16_t& answerLength, int attempts, int timeoutMs, Tally& tally)
{
    tally = Tally{};
    const bool listenOnly = requestLength == 0;
    for (int attempt = 1; attempt <= attempts; ++attempt) {
        // A write failure has been reported by the channel.
        if (!listenOnly && !m_channel.WriteData(request, requestLength))
            return -1;
        const int result = m_channel.ReadData(answer, kExchangeBufferSize, answerLength, timeoutMs);
        switch (result) {
            case kReadFrame:
                return 1;
            case kReadTimeoutEmpty:
                if (attempt < attempts) {
                    m_owner.LogLine(RetryText(attempt));
                    SetConnectionText(RetryText(attempt));
                }
                ++tally.silent;
                break;
            default:
                if (!ReportReadTrouble(m_owner, result))
                    return -1;
                ++tally.damaged;
                break;
        }
    }
    return 0;
}

void ChannelExchange::MonitorBlock(bool transmitted, const std::uint8_t* bytes, int count)
{
    if (!m_host)
        return;
    if (!bytes || count < 0)
        count = 0;
    if (m_showProgress)
        m_host->FlashLamp(transmitted ? DriverHost::kTransmitLamp : DriverHost::kReceiveLamp);

    QString head = m_channel.MonitorHead(transmitted, count);
    if (head.isEmpty()) {
        head = QString::asprintf("Ошибка выполнения %s::%s!", m_style.ownerName,
                                 transmitted ? "MyOnCharsTransmitted" : "MyOnCharsRecieved");
        ReportToOwner(&m_owner, head);
    }
    m_owner.LogLine(FormatExchangeLine(m_style.monitorPrefix + head, QTime::currentTime(), bytes, count));
    // The answer is in: a "Повтор %d" left from an earlier attempt no longer applies.
    if (!transmitted && m_style.answerClearsRetryText)
        SetConnectionText(QString());
}
