#pragma once
// A small HTTP/1.0 server on a thread of its own (QTcpServer with its event loop) for the metrics page
// and the health check. It answers GET and HEAD of /metrics (the text the owner set last) and /healthz
// ("ok" while rounds keep finishing, 503 otherwise), 404 for other paths, 405 for other methods, and
// 400 to a request that is not HTTP or whose head is larger than 8 KiB; each connection is closed after
// its answer, and one that sends nothing for 10 s is dropped.

#include <QByteArray>
#include <QDateTime>
#include <QMutex>
#include <QString>

#include <memory>

class QObject;
class QThread;
class QTcpServer;

class HttpEndpoint {
public:
    HttpEndpoint();
    ~HttpEndpoint();
    HttpEndpoint(const HttpEndpoint&) = delete;
    HttpEndpoint& operator=(const HttpEndpoint&) = delete;

    // "HOST:PORT" (port 0: any free one); false with the reason when it cannot listen there.
    bool Listen(const QString& place, QString* error);
    // The address and port it listens on, "127.0.0.1:34567".
    QString Place() const;

    void SetMetrics(const QByteArray& text);
    // Healthy until then: the owner moves it on after every round.
    void SetHealthyUntil(const QDateTime& until);

    // What a request's head asks for: the status line, content type and body of the answer.
    struct Answer {
        int status;
        QByteArray body;
    };
    Answer AnswerTo(const QByteArray& head);

private:
    std::unique_ptr<QThread> m_thread;
    std::unique_ptr<QObject> m_context;  // lives on m_thread; what runs there is queued to it
    QTcpServer* m_server = nullptr;      // lives on m_thread
    QString m_place;
    QMutex m_mutex;  // guards the two below
    QByteArray m_metrics;
    QDateTime m_healthyUntil;
};
