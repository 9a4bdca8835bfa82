#include "support/recording_host.h"

#include <QMutexLocker>

QList<RecordedBox> RecordingHost::Boxes() const
{
    QMutexLocker lock(&m_mutex);
    return m_boxes;
}

QStringList RecordingHost::LogLines() const
{
    QMutexLocker lock(&m_mutex);
    return m_log;
}

QStringList RecordingHost::ConnectionTexts() const
{
    QMutexLocker lock(&m_mutex);
    return m_connection;
}

QStringList RecordingHost::OperationTexts() const
{
    QMutexLocker lock(&m_mutex);
    return m_operation;
}

QStringList RecordingHost::DetailTexts() const
{
    QMutexLocker lock(&m_mutex);
    return m_detail;
}

QStringList RecordingHost::DeviceInformation() const
{
    QMutexLocker lock(&m_mutex);
    return m_deviceInformation;
}

QList<DriverHost::Lamp> RecordingHost::Lamps() const
{
    QMutexLocker lock(&m_mutex);
    return m_lamps;
}

QList<FinishedCommand> RecordingHost::Finished() const
{
    QMutexLocker lock(&m_mutex);
    return m_finished;
}

int RecordingHost::BusyChanges() const
{
    QMutexLocker lock(&m_mutex);
    return m_busyChanges;
}

int RecordingHost::PageRefreshes() const
{
    QMutexLocker lock(&m_mutex);
    return m_pageRefreshes;
}

void RecordingHost::Clear()
{
    QMutexLocker lock(&m_mutex);
    m_boxes.clear();
    m_log.clear();
    m_connection.clear();
    m_operation.clear();
    m_detail.clear();
    m_deviceInformation.clear();
    m_lamps.clear();
    m_finished.clear();
    m_busyChanges = 0;
    m_pageRefreshes = 0;
}

int RecordingHost::ShowMessageBox(const QString& text, const QString& caption, unsigned style)
{
    QMutexLocker lock(&m_mutex);
    m_boxes.append(RecordedBox{text, caption, style});
    return boxAnswer.load();
}

void RecordingHost::AppendLogLine(const QString& line)
{
    Append(m_log, line);
}

void RecordingHost::SetConnectionText(const QString& text)
{
    Append(m_connection, text);
}

void RecordingHost::SetOperationText(const QString& text)
{
    Append(m_operation, text);
}

void RecordingHost::SetDetailText(const QString& text)
{
    Append(m_detail, text);
}

void RecordingHost::BusyChanged()
{
    QMutexLocker lock(&m_mutex);
    ++m_busyChanges;
}

void RecordingHost::SetDeviceInformation(const QString& text)
{
    Append(m_deviceInformation, text);
}

void RecordingHost::FlashLamp(Lamp lamp)
{
    QMutexLocker lock(&m_mutex);
    m_lamps.append(lamp);
}

void RecordingHost::RefreshConfigurationPages()
{
    QMutexLocker lock(&m_mutex);
    ++m_pageRefreshes;
}

void RecordingHost::RefreshCommandStates(CommandRequester* requester)
{
    if (requester)
        requester->RefreshCommandStates();
}

void RecordingHost::CommandFinished(CommandRequester* requester, int code)
{
    {
        QMutexLocker lock(&m_mutex);
        m_finished.append(FinishedCommand{requester, code});
    }
    if (requester)
        requester->CommandFinished(code);
}

void RecordingHost::Append(QStringList& list, const QString& text)
{
    QMutexLocker lock(&m_mutex);
    list.append(text);
}
