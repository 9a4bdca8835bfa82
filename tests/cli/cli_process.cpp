#include "cli_process.h"

#include <QDeadlineTimer>
#include <QTcpServer>

CliRun FinishProcess(QProcess& process, int timeoutMs)
{
    CliRun run;
    run.finished = process.waitForFinished(timeoutMs);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

std::unique_ptr<QProcess> StartZt5Ctl(const QStringList& arguments)
{
    auto process = std::make_unique<QProcess>();
    process->start(QStringLiteral(ZT5CTL_PATH), arguments);
    process->waitForStarted(10000);
    return process;
}

CliRun RunZt5Ctl(const QStringList& arguments, int timeoutMs)
{
    const std::unique_ptr<QProcess> process = StartZt5Ctl(arguments);
    return FinishProcess(*process, timeoutMs);
}

SimProcess::SimProcess(const QStringList& arguments)
{
    m_process.start(QStringLiteral(ZT5_SIM_PATH), arguments);
    if (!m_process.waitForStarted(10000))
        return;
    const QDeadlineTimer deadline(10000);
    while (!m_process.canReadLine() && m_process.state() == QProcess::Running && !deadline.hasExpired())
        m_process.waitForReadyRead(100);
    m_place = QString::fromUtf8(m_process.readLine()).trimmed();
}

SimProcess::~SimProcess()
{
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

int ClosedTcpPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    const int port = server.serverPort();
    server.close();
    return port;
}
