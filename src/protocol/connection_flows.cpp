// Connecting to the meter (identity and configuration), breaking the connection, and writing the
// configuration after the checks against the connected meter.

#include "config/write_time_checks.h"
#include "protocol/driver_host.h"
#include "protocol/rovo_redod.h"

#include <QDateTime>

#include <cstring>
#include <utility>

bool CRovoRedod::OpenChannel()
{
    // A modem link that is up while the meter did not answer yet is worth keeping: dialling again is slow.
    if (m_transmitChanel.ModemLineUp() && !m_deviceConnected.load())
        return true;
    m_transmitChanel.Disconnect();
    return m_transmitChanel.Connect();
}

bool CRovoRedod::ConnectDevice(bool reopenChannel)
{
    if (reopenChannel) {
        const QString attempt = QString::fromUtf8("Попытка соединения с вычислителем...");
        LogLine(attempt);
        SetOperationText(attempt);
        // What the last meter said about itself is not this one's.
        SetDeviceInformation(QString());
        m_data.configuration.identity = DeviceIdentity{};
        m_deviceConnected.store(false);
        if (!OpenChannel())
            return false;
    }
    m_data.versionText.clear();
    if (!m_operations.ReadVersionInfo()) {
        BreakConnection();
        return false;
    }
    SetDeviceInformation(QString::fromUtf8("Информация о приборе: ") + m_data.versionText);
    const bool keep = std::exchange(m_data.keepConfigurationOnConnect, false);
    m_data.connectKeptConfiguration = keep;
    const ConfigurationBlocks edited = m_data.configuration;
    if (!m_operations.ReadAllTunes()) {
        BreakConnection();
        return false;
    }
    if (keep) {
        m_data.configuration.tunes = edited.tunes;
        m_data.configuration.open = edited.open;
        m_data.configuration.controls = edited.controls;
    }
    m_deviceConnected.store(true);
    if (m_host && m_reporting.showDeviceInformation)
        m_host->RefreshConfigurationPages();
    return true;
}

void CRovoRedod::BreakConnection()
{
    // The flag drops first: a window that re-reads it on these notifications sees the connection gone.
    m_deviceConnected.store(false);
    SetConnectionText(QString());  // "Связь установлена" must not stand beside it
    SetOperationText(QString::fromUtf8("Соединение разорвано..."));
    SetDeviceInformation(QString());
    m_transmitChanel.Disconnect();
    m_transmitChanel.Settings().modemConnected = 0;
}

bool CRovoRedod::WriteConfiguration()
{
    // The meter's own identity decides the layout written, whatever the configuration was made for.
    DeviceIdentity meter{};
    if (!m_operations.ReadIdentityInto(meter)
        || !CheckMeterModelBeforeWrite(meter, m_data.configuration.identity, *this))
        return false;
    if (!m_operations.ReadCurrentDateTime())
        return false;
    DateTimeStamp clock{};
    std::memcpy(&clock, m_data.At(MeterArea::kCurrentValues), sizeof clock);
    if (!ConfirmMeterClockBeforeWrite(clock, QDateTime::currentDateTime(), *this))
        return false;
    return m_operations.WriteTunesFor(meter);
}
