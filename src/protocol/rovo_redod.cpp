#include "protocol/rovo_redod.h"

#include "protocol/driver_host.h"

#include <QThread>

CRovoRedod::CRovoRedod()
    : m_Exchange(m_TransmitChanel, *this, ChannelExchange::Style{QString(), "CRovoRedod", true}),
      m_Areas(m_ModbusMaster, m_Data, m_TransmitChanel.Settings(), *this)
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
    m_Exchange.AttachHost(host, on);
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

int CRovoRedod::MyOnCharsTransmitted(const std::uint8_t* bytes, int count)
{
    m_Exchange.MonitorBlock(true, bytes, count);
    return 0;
}

int CRovoRedod::MyOnCharsRecieved(const std::uint8_t* bytes, int count)
{
    m_Exchange.MonitorBlock(false, bytes, count);
    return 0;
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

void CRovoRedod::BeginOperation(const QString& title, const QString& progressTitle)
{
    LogLine(title + QStringLiteral("..."));
    const QString shown = progressTitle.isEmpty() ? title : progressTitle;
    SetOperationText(shown + QStringLiteral("..."));
    SetDetailText(shown);
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
