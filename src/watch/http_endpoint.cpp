#include "watch/http_endpoint.h"

#include "base/host_port.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>

namespace {

constexpr int kMaxHead = 8192;
constexpr int kIdleMs = 10000;

const char* Reason(int status)
{
    switch (status) {
        case 200:
            return "OK";
        case 400:
            return "Bad Request";
        case 404:
            return "Not Found";
        case 405:
            return "Method Not Allowed";
        default:
            return "Service Unavailable";
    }
}

void Reply(QTcpSocket* socket, const HttpEndpoint::Answer& answer, bool head)
{
    const char* type = answer.body.startsWith("# HELP") ? "text/plain; version=0.0.4; charset=utf-8"
                                                        : "text/plain; charset=utf-8";
    QByteArray text = QByteArray("HTTP/1.0 ") + QByteArray::number(answer.status) + ' ' + Reason(answer.status)
        + "\r\nContent-Type: " + type + "\r\nContent-Length: " + QByteArray::number(answer.body.size())
        + "\r\nConnection: close\r\n\r\n";
    if (!head)
        text += answer.body;
    socket->write(text);
    socket->disconnectFromHost();
}

}  // namespace

HttpEndpoint::HttpEndpoint() : m_thread(std::make_unique<QThread>()), m_context(std::make_unique<QObject>())
{
    m_context->moveToThread(m_thread.get());
    m_thread->start();
}

HttpEndpoint::~HttpEndpoint()
{
    if (m_server)
        QMetaObject::invokeMethod(
            m_context.get(), [this] { delete m_server; }, Qt::BlockingQueuedConnection);
    m_thread->quit();
    m_thread->wait();
}

bool HttpEndpoint::Listen(const QString& place, QString* error)
{
    HostPort parsed;
    const QString wrong = ParseHostPort(place, 0, parsed);
    QHostAddress address(parsed.host);
    if (parsed.host == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    if (!wrong.isEmpty() || address.isNull()) {
        *error = QStringLiteral("--http ждет АДРЕС:ПОРТ (127.0.0.1:9105, [::1]:9105): %1 - %2")
                     .arg(place, wrong.isEmpty() ? QStringLiteral("не адрес IP") : wrong);
        return false;
    }
    const int port = parsed.port;
    bool listening = false;
    QString failure;
    QMetaObject::invokeMethod(
        m_context.get(),
        [&] {
            m_server = new QTcpServer;
            listening = m_server->listen(address, quint16(port));
            failure = m_server->errorString();
            QObject::connect(m_server, &QTcpServer::newConnection, m_server, [this] {
                while (QTcpSocket* socket = m_server->nextPendingConnection()) {
                    QTimer::singleShot(kIdleMs, socket, [socket] { socket->abort(); });
                    QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
                    QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                        const QByteArray seen = socket->peek(kMaxHead + 1);
                        const qsizetype end = seen.indexOf("\r\n\r\n");
                        if (end < 0 && seen.size() <= kMaxHead)
                            return;
                        const QByteArray head = end < 0 ? QByteArray() : seen.left(end);
                        socket->readAll();
                        Reply(socket, AnswerTo(head), head.startsWith("HEAD "));
                    });
                }
            });
            if (listening)
                m_place = QStringLiteral("%1:%2").arg(m_server->serverAddress().toString()).arg(m_server->serverPort());
        },
        Qt::BlockingQueuedConnection);
    if (!listening) {
        *error = QStringLiteral("--http %1: %2").arg(place, failure);
        return false;
    }
    return true;
}

QString HttpEndpoint::Place() const
{
    return m_place;
}

void HttpEndpoint::SetMetrics(const QByteArray& text)
{
    const QMutexLocker lock(&m_mutex);
    m_metrics = text;
}

void HttpEndpoint::SetHealthyUntil(const QDateTime& until)
{
    const QMutexLocker lock(&m_mutex);
    m_healthyUntil = until;
}

HttpEndpoint::Answer HttpEndpoint::AnswerTo(const QByteArray& head)
{
    const QList<QByteArray> words = head.left(head.indexOf("\r\n")).split(' ');
    if (words.size() != 3 || !words[2].startsWith("HTTP/1."))
        return {400, "bad request\n"};
    if (words[0] != "GET" && words[0] != "HEAD")
        return {405, "only GET and HEAD\n"};
    const qsizetype query = words[1].indexOf('?');
    const QByteArray path = query < 0 ? words[1] : words[1].left(query);
    const QMutexLocker lock(&m_mutex);
    if (path == "/metrics")
        return m_metrics.isEmpty() ? Answer{503, "no round finished yet\n"} : Answer{200, m_metrics};
    if (path == "/healthz")
        return m_healthyUntil.isValid() && QDateTime::currentDateTimeUtc() < m_healthyUntil
            ? Answer{200, "ok\n"}
            : Answer{503, "no round finished in time\n"};
    return {404, "not found\n"};
}
