#include "protocol/rovo_redod.h"

#include "protocol/driver_host.h"

#include <QThread>

CRovoRedod::CRovoRedod()
{
    // Bound at once, so that a driver without a host (a script, a test) works the same way.
    m_TransmitChanel.SetOwner(this);
    m_ModbusMaster.SetOwner(this);
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

QString CRovoRedod::PhoneNumber() const
{
    return m_TransmitChanel.Settings().phoneNumber;
}

QString CRovoRedod::ModemInitString() const
{
    return m_TransmitChanel.Settings().modemInitString;
}

quintptr CRovoRedod::MainWindowId() const
{
    return reinterpret_cast<quintptr>(m_Host);
}

int CRovoRedod::ModemConnectTimeoutSec() const
{
    return m_TransmitChanel.Settings().modemConnectTimeoutSec;
}

int CRovoRedod::DialMode() const
{
    return m_TransmitChanel.Settings().dialMode;
}

int CRovoRedod::ModemType() const
{
    return m_TransmitChanel.Settings().modemType;
}

bool CRovoRedod::ReportsUnknownKind() const
{
    return m_Host != nullptr;
}

int CRovoRedod::BaudRate() const
{
    return m_TransmitChanel.Settings().baudRate;
}

int CRovoRedod::ByteSize() const
{
    return m_TransmitChanel.Settings().byteSize;
}

int CRovoRedod::ReadIntervalOverrideMs() const
{
    return m_TransmitChanel.Settings().readIntervalOverrideMs;
}

int CRovoRedod::ReadIntervalOverrideFlag() const
{
    return m_TransmitChanel.Settings().readIntervalOverrideFlag;
}

int CRovoRedod::ModemConnected() const
{
    return m_TransmitChanel.Settings().modemConnected;
}

int CRovoRedod::Kind() const
{
    return m_TransmitChanel.Settings().kind;
}

int CRovoRedod::Framing() const
{
    return m_TransmitChanel.Settings().framing;
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

CCommPortClass* CRovoRedod::SerialPort()
{
    return &m_TransmitChanel.SerialPort();
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
