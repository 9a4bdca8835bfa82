#include "protocol/rovo_redod.h"

#include "protocol/driver_host.h"

#include <QThread>

CRovoRedod::CRovoRedod()
{
    // Bound at once, so that a driver without a host (a script, a test) works the same way.
    m_TransmitChanel.SetOwner(this);
    m_ModbusMaster.SetOwner(this);
    m_ModbusMaster.SetChannelSettings(&m_TransmitChanel.Settings());
}

CRovoRedod::~CRovoRedod()
{
    StopThreads();
}

std::span<const std::uint8_t> CRovoRedod::AreaBytes(MeterArea area) const
{
    return {m_Data.At(area), static_cast<std::size_t>(AreaSize(area, FirmwareLevel()))};
}

void CRovoRedod::AttachHost(DriverHost* host)
{
    m_Host = host;
    const bool on = host != nullptr;
    m_Reporting = ReportingFlags{on, on, on, on};
    m_ModbusMaster.SetReportsFailures(on);
}

quintptr CRovoRedod::MainWindowId() const
{
    return reinterpret_cast<quintptr>(m_Host);
}

bool CRovoRedod::ReportsUnknownKind() const
{
    return m_Host != nullptr;
}

bool CRovoRedod::StopRequested() const
{
    // Shutting down stops whatever is running.
    return m_StopRequested.load() || m_Quit.load();
}

bool CRovoRedod::UsbStopRequested() const
{
    // "Остановить процесс" has to reach a USB wait as well; there is no separate button for it.
    return StopRequested();
}

void CRovoRedod::LogLine(const QString& text)
{
    if (m_Host && m_Reporting.copyLogToMonitor)
        m_Host->AppendLogLine(text + QStringLiteral("\r\n"));
}

int CRovoRedod::ShowMessage(const QString& text, const QString& caption, unsigned style)
{
    return m_Host ? m_Host->ShowMessageBox(text, caption, style) : 0;
}

void CRovoRedod::SetConnectionText(const QString& text)
{
    if (m_Host && m_Reporting.showProgress)
        m_Host->SetConnectionText(text);
}

void CRovoRedod::SetOperationText(const QString& text)
{
    if (m_Host && m_Reporting.showProgress)
        m_Host->SetOperationText(text);
}

void CRovoRedod::SetDetailText(const QString& text)
{
    if (m_Host && m_Reporting.showProgress)
        m_Host->SetDetailText(text);
}

void CRovoRedod::SetDeviceInformation(const QString& text)
{
    if (m_Host && m_Reporting.showDeviceInformation)
        m_Host->SetDeviceInformation(text);
}

void CRovoRedod::RaiseBusyChanged()
{
    if (m_Host)
        m_Host->BusyChanged();
}
