#include "protocol/rovo_redod.h"

#include "protocol/driver_host.h"

#include <QThread>

CRovoRedod::CRovoRedod()
    : m_exchange(m_transmitChanel, *this, ChannelExchange::Style{QString(), "CRovoRedod", true}),
      m_areas(m_modbusMaster, m_data, m_transmitChanel.Settings(), *this),
      m_operations(m_data, m_areas, *this,
                   [this](const QString& title, const QString& progressTitle) { BeginOperation(title, progressTitle); })
{
    // Bound at once, so that a driver without a host (a script, a test) works the same way.
    m_transmitChanel.SetOwner(this);
    m_modbusMaster.SetOwner(this);
    m_modbusMaster.SetChannelSettings(&m_transmitChanel.Settings());
}

CRovoRedod::~CRovoRedod()
{
    StopThreads();
}

std::span<const std::uint8_t> CRovoRedod::AreaBytes(MeterArea area) const
{
    return {m_data.At(area), static_cast<std::size_t>(AreaSize(area, FirmwareLevel()))};
}

void CRovoRedod::AttachHost(DriverHost* host)
{
    m_host = host;
    const bool on = host != nullptr;
    m_reporting = ReportingFlags{on, on, on, on};
    m_modbusMaster.SetReportsFailures(on);
    m_exchange.AttachHost(host, on);
}

quintptr CRovoRedod::MainWindowId() const
{
    return reinterpret_cast<quintptr>(m_host);
}

bool CRovoRedod::ReportsUnknownKind() const
{
    return m_host != nullptr;
}

bool CRovoRedod::StopRequested() const
{
    // Shutting down stops whatever is running.
    return m_stopRequested.load() || m_quit.load();
}

bool CRovoRedod::UsbStopRequested() const
{
    // "Остановить процесс" has to reach a USB wait as well; there is no separate button for it.
    return StopRequested();
}

int CRovoRedod::MyOnCharsTransmitted(const std::uint8_t* bytes, int count)
{
    m_exchange.MonitorBlock(true, bytes, count);
    return 0;
}

int CRovoRedod::MyOnCharsRecieved(const std::uint8_t* bytes, int count)
{
    m_exchange.MonitorBlock(false, bytes, count);
    return 0;
}

void CRovoRedod::LogLine(const QString& text)
{
    if (m_host && m_reporting.copyLogToMonitor)
        m_host->AppendLogLine(text + QStringLiteral("\r\n"));
}

int CRovoRedod::ShowMessage(const QString& text, const QString& caption, unsigned style)
{
    return m_host ? m_host->ShowMessageBox(text, caption, style) : 0;
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
    if (m_host && m_reporting.showProgress)
        m_host->SetConnectionText(text);
}

void CRovoRedod::SetOperationText(const QString& text)
{
    if (m_host && m_reporting.showProgress)
        m_host->SetOperationText(text);
}

void CRovoRedod::SetDetailText(const QString& text)
{
    if (m_host && m_reporting.showProgress)
        m_host->SetDetailText(text);
}

void CRovoRedod::SetDeviceInformation(const QString& text)
{
    if (m_host && m_reporting.showDeviceInformation)
        m_host->SetDeviceInformation(text);
}

void CRovoRedod::RaiseBusyChanged()
{
    if (m_host)
        m_host->BusyChanged();
}
