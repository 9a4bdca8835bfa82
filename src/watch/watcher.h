#pragma once
// The watcher: polling rounds over a line plan at a fixed interval, each round's values published on
// MQTT (state, availability, Home Assistant discovery) and on the metrics page, until it is stopped.
// The broker connection and the HTTP server are optional; without either the rounds still run and say
// on stderr what they found.

#include "watch/metrics_page.h"
#include "watch/mqtt_client.h"
#include "watch/watch_board.h"
#include "watch/watch_round.h"

#include <QMutex>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <set>

class HttpEndpoint;

struct WatchSettings {
    std::vector<CollectLine> lines;
    int jobs = 1;
    bool verbose = false;
    int intervalSec = 60;
    std::optional<MqttTarget> mqtt;
    QString prefix = QStringLiteral("zt5");
    QString discoveryPrefix = QStringLiteral("homeassistant");
    QString host;  // in the watcher's status topic
    QString http;  // "HOST:PORT", empty for none
};

class Watcher {
public:
    explicit Watcher(WatchSettings settings);
    ~Watcher();

    // Starts the broker connection and the HTTP server; false with the reason.
    bool Start(QString* error);
    // One round: polls, publishes, and says whether every meter answered.
    bool RunRound(const std::function<bool()>& stopAsked);
    // Rounds every interval until `stopAsked`.
    void RunUntilStopped(const std::function<bool()>& stopAsked);
    // "offline" on the status topic, then the broker connection is closed.
    void Finish();
    QString HttpPlace() const;

private:
    void PublishRound();
    void PublishMeter(const BoardMeter& meter);
    void PublishDiscovery(const BoardMeter& meter);
    void SayConnected();
    void SayToHomeAssistant(const QString& topic, const QByteArray& payload);

    const WatchSettings m_settings;
    WatchRound m_round;
    QMutex m_mutex;  // guards the board, from the rounds and the broker's thread
    WatchBoard m_board;
    RoundFacts m_facts;
    std::set<QString> m_discovered;  // the meters whose configs went out: serial, model, version, node
    std::unique_ptr<MqttClient> m_mqtt;
    std::unique_ptr<HttpEndpoint> m_http;
};
