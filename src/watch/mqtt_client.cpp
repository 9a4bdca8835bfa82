#include "watch/mqtt_client.h"

#include <QElapsedTimer>
#include <QThread>
#include <QUrl>

#include <mosquitto.h>

namespace {

constexpr int kKeepAliveSec = 30;
constexpr int kQos = 1;
constexpr unsigned long kWaitStepMs = 20;

struct LibraryUse {
    LibraryUse() { mosquitto_lib_init(); }
    ~LibraryUse() { mosquitto_lib_cleanup(); }
};

void UseLibrary()
{
    static LibraryUse use;
}

bool WaitFor(int timeoutMs, const std::function<bool()>& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() >= timeoutMs)
            return false;
        QThread::msleep(kWaitStepMs);
    }
    return true;
}

}  // namespace

bool ParseMqttUrl(const QString& url, MqttTarget* target, QString* error)
{
    const QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.isValid() || parsed.scheme() != QLatin1String("mqtt") || parsed.host().isEmpty()
        || !parsed.password().isEmpty() || (!parsed.path().isEmpty() && parsed.path() != QLatin1String("/"))) {
        *error = QStringLiteral(
            "--mqtt ждет mqtt://[ПОЛЬЗОВАТЕЛЬ@]СЕРВЕР[:ПОРТ] (пароль - в ZT5_MQTT_PASSWORD или "
            "в файле из watch.conf, не в командной строке)");
        return false;
    }
    target->host = parsed.host();
    target->port = parsed.port(1883);
    target->user = parsed.userName();
    return true;
}

MqttClient::MqttClient()
{
    UseLibrary();
}

MqttClient::~MqttClient()
{
    if (m_looping)
        mosquitto_loop_stop(m_client, true);
    if (m_client)
        mosquitto_destroy(m_client);
}

bool MqttClient::Start(const MqttTarget& target, QString* error)
{
    m_target = target;
    m_client = mosquitto_new(target.clientId.toUtf8().constData(), true, this);
    if (!m_client) {
        *error = QStringLiteral("MQTT: не удалось создать клиента");
        return false;
    }
    mosquitto_int_option(m_client, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_reconnect_delay_set(m_client, 1, 60, true);
    mosquitto_connect_callback_set(m_client, ConnectCallback);
    mosquitto_disconnect_callback_set(m_client, DisconnectCallback);
    mosquitto_publish_callback_set(m_client, PublishCallback);
    mosquitto_message_callback_set(m_client, MessageCallback);
    int code = MOSQ_ERR_SUCCESS;
    if (!target.user.isEmpty())
        code = mosquitto_username_pw_set(m_client, target.user.toUtf8().constData(),
                                         target.password.isEmpty() ? nullptr : target.password.toUtf8().constData());
    const QByteArray will = target.willTopic.toUtf8();
    if (code == MOSQ_ERR_SUCCESS && !will.isEmpty())
        code = mosquitto_will_set(m_client, will.constData(), int(target.willPayload.size()),
                                  target.willPayload.constData(), kQos, true);
    if (code == MOSQ_ERR_SUCCESS) {
        // A broker not there yet is no failure: the loop keeps trying.
        const int connect = mosquitto_connect_async(m_client, target.host.toUtf8().constData(), target.port,
                                                    kKeepAliveSec);
        if (connect != MOSQ_ERR_SUCCESS && connect != MOSQ_ERR_ERRNO)
            code = connect;
    }
    if (code == MOSQ_ERR_SUCCESS)
        code = mosquitto_loop_start(m_client);
    if (code != MOSQ_ERR_SUCCESS) {
        *error = QStringLiteral("MQTT: %1").arg(QString::fromUtf8(mosquitto_strerror(code)));
        return false;
    }
    m_looping = true;
    return true;
}

bool MqttClient::Publish(const QString& topic, const QByteArray& payload, bool retain)
{
    int mid = 0;
    const std::lock_guard lock(m_mutex);
    if (!m_isConnected)
        return false;
    const int code = mosquitto_publish(m_client, &mid, topic.toUtf8().constData(), int(payload.size()),
                                       payload.constData(), kQos, retain);
    if (code != MOSQ_ERR_SUCCESS)
        return false;
    m_pending.insert(mid);
    return true;
}

bool MqttClient::IsConnected() const
{
    const std::lock_guard lock(m_mutex);
    return m_isConnected;
}

bool MqttClient::WaitDelivered(int timeoutMs)
{
    return WaitFor(timeoutMs, [this] {
        const std::lock_guard lock(m_mutex);
        return m_pending.empty() || !m_isConnected;
    });
}

bool MqttClient::WaitConnected(int timeoutMs)
{
    return WaitFor(timeoutMs, [this] { return IsConnected(); });
}

void MqttClient::Stop(const QByteArray& payload)
{
    if (!m_looping)
        return;
    if (!m_target.willTopic.isEmpty() && Publish(m_target.willTopic, payload, true))
        WaitDelivered(5000);
    mosquitto_disconnect(m_client);
    mosquitto_loop_stop(m_client, false);
    m_looping = false;
}

void MqttClient::ConnectCallback(mosquitto* client, void* self, int code)
{
    auto* me = static_cast<MqttClient*>(self);
    if (code != 0)
        return;
    {
        const std::lock_guard lock(me->m_mutex);
        me->m_isConnected = true;
        me->m_pending.clear();
    }
    for (const QString& topic : me->m_subscriptions)
        mosquitto_subscribe(client, nullptr, topic.toUtf8().constData(), kQos);
    if (me->m_connected)
        me->m_connected();
}

void MqttClient::DisconnectCallback(mosquitto*, void* self, int)
{
    auto* me = static_cast<MqttClient*>(self);
    const std::lock_guard lock(me->m_mutex);
    me->m_isConnected = false;
}

void MqttClient::PublishCallback(mosquitto*, void* self, int mid)
{
    auto* me = static_cast<MqttClient*>(self);
    const std::lock_guard lock(me->m_mutex);
    me->m_pending.erase(mid);
}

void MqttClient::MessageCallback(mosquitto*, void* self, const mosquitto_message* message)
{
    auto* me = static_cast<MqttClient*>(self);
    if (me->m_message && message->topic)
        me->m_message(QString::fromUtf8(message->topic),
                      QByteArray(static_cast<const char*>(message->payload), message->payloadlen));
}
