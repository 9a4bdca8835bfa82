#include "watch/watcher.h"

#include "watch/ha_discovery.h"
#include "watch/http_endpoint.h"
#include "watch/watch_topics.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace {

constexpr int kConnectWaitMs = 10000;
constexpr int kDeliverWaitMs = 10000;
constexpr unsigned long kStopPollMs = 100;
const QByteArray kOnline = "online";
const QByteArray kOffline = "offline";

}  // namespace

Watcher::Watcher(WatchSettings settings)
    : m_settings(std::move(settings)),
      m_round(m_settings.lines, m_settings.jobs, m_settings.verbose),
      m_board(m_settings.lines)
{}

Watcher::~Watcher() = default;

bool Watcher::Start(QString* error)
{
    if (!m_settings.http.isEmpty()) {
        m_http = std::make_unique<HttpEndpoint>();
        if (!m_http->Listen(m_settings.http, error))
            return false;
        WatchSay(QStringLiteral("Страница метрик: http://%1/metrics\n").arg(m_http->Place()));
    }
    if (m_settings.mqtt) {
        MqttTarget target = *m_settings.mqtt;
        target
            .clientId = QStringLiteral("zt5-watch-%1-%2").arg(m_settings.host).arg(QCoreApplication::applicationPid());
        target.willTopic = WatcherStatusTopic(m_settings.prefix, m_settings.host);
        target.willPayload = kOffline;
        m_mqtt = std::make_unique<MqttClient>();
        m_mqtt->Subscribe(m_settings.discoveryPrefix + QStringLiteral("/status"));
        m_mqtt->OnConnected([this] { SayConnected(); });
        m_mqtt->OnMessage(
            [this](const QString& topic, const QByteArray& payload) { SayToHomeAssistant(topic, payload); });
        if (!m_mqtt->Start(target, error))
            return false;
        // The first round's values should not go nowhere because the broker took a moment.
        if (!m_mqtt->WaitConnected(kConnectWaitMs))
            WatchSay(QStringLiteral("MQTT: нет связи с %1:%2, повтор в фоне\n").arg(target.host).arg(target.port));
    }
    return true;
}

bool Watcher::RunRound(const std::function<bool()>& stopAsked)
{
    QElapsedTimer timer;
    timer.start();
    const std::vector<MeterPoll> polls = m_round.Run(stopAsked);
    {
        const QMutexLocker lock(&m_mutex);
        m_board.TakeRound(polls);
        m_facts.rounds += 1;
        m_facts.durationSec = double(timer.elapsed()) / 1000;
        m_facts.finished = QDateTime::currentDateTime();
    }
    PublishRound();
    int answered = 0;
    for (const MeterPoll& poll : polls)
        answered += poll.reading ? 1 : 0;
    WatchSay(QStringLiteral("Опрос: приборов %1, ответили %2, %3 с\n")
                 .arg(m_round.MeterCount())
                 .arg(answered)
                 .arg(m_facts.durationSec, 0, 'f', 1));
    return std::size_t(answered) == m_round.MeterCount();
}

void Watcher::RunUntilStopped(const std::function<bool()>& stopAsked)
{
    while (!stopAsked()) {
        QElapsedTimer timer;
        timer.start();
        RunRound(stopAsked);
        while (!stopAsked() && timer.elapsed() < qint64(m_settings.intervalSec) * 1000)
            QThread::msleep(kStopPollMs);
    }
}

void Watcher::Finish()
{
    if (m_mqtt) {
        m_mqtt->WaitDelivered(kDeliverWaitMs);
        m_mqtt->Stop(kOffline);
    }
}

QString Watcher::HttpPlace() const
{
    return m_http ? m_http->Place() : QString();
}

void Watcher::PublishRound()
{
    const QMutexLocker lock(&m_mutex);
    for (const BoardMeter& meter : m_board.Meters()) {
        if (!meter.refused.isEmpty())
            WatchSay(QStringLiteral("%1: итоги меньше прежних, не опубликованы: %2\n")
                         .arg(meter.node, meter.refused.join(QStringLiteral(", "))));
        PublishMeter(meter);
    }
    if (m_http) {
        m_http->SetMetrics(MetricsText(m_board, m_round.Counts(), m_facts));
        // Healthy while the next round is due, with a round's worth of slack.
        m_http->SetHealthyUntil(QDateTime::currentDateTimeUtc().addSecs(2 * qint64(m_settings.intervalSec)
                                                                        + qint64(m_facts.durationSec) + 60));
    }
}

void Watcher::PublishMeter(const BoardMeter& meter)
{
    if (!m_mqtt || meter.serial == 0 || !meter.polled)
        return;
    if (meter.up) {
        const QString identity =
            QStringLiteral("%1|%2|%3|%4").arg(meter.serial).arg(meter.model).arg(meter.version, meter.node);
        if (m_discovered.insert(identity).second)
            PublishDiscovery(meter);
        m_mqtt->Publish(MeterTopic(m_settings.prefix, meter.serial, "state"), StatePayload(meter), true);
    }
    // A meter never read is named by the node base's number; one without it cannot be named at all.
    m_mqtt->Publish(MeterTopic(m_settings.prefix, meter.serial, "availability"), meter.up ? kOnline : kOffline, true);
}

void Watcher::PublishDiscovery(const BoardMeter& meter)
{
    const DiscoveryNames names{m_settings.discoveryPrefix, m_settings.prefix, m_settings.host};
    for (const MqttMessage& message : DiscoveryMessages(names, meter))
        m_mqtt->Publish(message.topic, message.payload, message.retain);
}

void Watcher::SayConnected()
{
    m_mqtt->Publish(WatcherStatusTopic(m_settings.prefix, m_settings.host), kOnline, true);
    // A broker that restarted without its store has lost the retained messages: all of them again.
    const QMutexLocker lock(&m_mutex);
    m_discovered.clear();
    for (const BoardMeter& meter : m_board.Meters())
        PublishMeter(meter);
}

void Watcher::SayToHomeAssistant(const QString& topic, const QByteArray& payload)
{
    if (topic != m_settings.discoveryPrefix + QStringLiteral("/status") || payload.trimmed() != kOnline)
        return;
    const QMutexLocker lock(&m_mutex);
    for (const BoardMeter& meter : m_board.Meters()) {
        if (meter.up)
            PublishDiscovery(meter);
    }
}
