#pragma once
// An MQTT 3.1.1 client over libmosquitto: it connects in the background and reconnects by itself
// (1 s, doubling up to 60 s), leaves a retained last will, subscribes again after every reconnect, and
// tells its owner each time it is connected (so that the owner can say "online" again). Publishing is
// at QoS 1; a message published while the broker is away is dropped (the next round sends anew).
// The callbacks run on the library's own thread.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <mutex>
#include <set>

struct MqttTarget {
    QString host;
    int port = 1883;
    QString user;
    QString password;  // never from the command line
    QString clientId;
    QString willTopic;
    QByteArray willPayload;
};

// "mqtt://[USER@]HOST[:PORT]" into the target; false with the reason.
bool ParseMqttUrl(const QString& url, MqttTarget* target, QString* error);

class MqttClient {
public:
    using Connected = std::function<void()>;
    using Message = std::function<void(const QString& topic, const QByteArray& payload)>;

    MqttClient();
    ~MqttClient();
    MqttClient(const MqttClient&) = delete;
    MqttClient& operator=(const MqttClient&) = delete;

    // Set before Start.
    void OnConnected(Connected connected) { m_connected = std::move(connected); }
    void OnMessage(Message message) { m_message = std::move(message); }
    void Subscribe(const QString& topic) { m_subscriptions << topic; }

    // Begins connecting; false with the reason when the library refused the settings.
    bool Start(const MqttTarget& target, QString* error);
    bool Publish(const QString& topic, const QByteArray& payload, bool retain);
    bool IsConnected() const;
    // Waits until the broker has every message published so far, or `timeoutMs` passed.
    bool WaitDelivered(int timeoutMs);
    bool WaitConnected(int timeoutMs);
    // Publishes `payload` retained on the will's topic (a goodbye), then disconnects cleanly.
    void Stop(const QByteArray& payload);

private:
    static void ConnectCallback(struct mosquitto*, void* self, int code);
    static void DisconnectCallback(struct mosquitto*, void* self, int code);
    static void PublishCallback(struct mosquitto*, void* self, int mid);
    static void MessageCallback(struct mosquitto*, void* self, const struct mosquitto_message* message);

    struct mosquitto* m_client = nullptr;
    MqttTarget m_target;
    QStringList m_subscriptions;
    Connected m_connected;
    Message m_message;
    bool m_looping = false;
    mutable std::mutex m_mutex;  // guards the two below
    bool m_isConnected = false;
    std::set<int> m_pending;  // message ids not yet acknowledged
};
