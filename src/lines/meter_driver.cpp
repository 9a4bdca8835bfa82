#include "lines/meter_driver.h"

void DriverStopList::Add(CRovoRedod* driver)
{
    const QMutexLocker lock(&m_mutex);
    m_drivers.insert(driver);
    if (m_stopped)
        driver->RequestStop();
}

void DriverStopList::Remove(CRovoRedod* driver)
{
    const QMutexLocker lock(&m_mutex);
    m_drivers.erase(driver);
}

void DriverStopList::StopAll()
{
    const QMutexLocker lock(&m_mutex);
    m_stopped = true;
    for (CRovoRedod* driver : m_drivers)
        driver->RequestStop();
}

MeterDriver::MeterDriver(const CollectMeter& meter, DriverStopList& stops, UnattendedHost::LogSink log)
    : m_stops(stops), m_host(std::move(log))
{
    m_driver.TransmitChanel().Settings() = meter.settings;
    m_driver.SetDeviceAddress(meter.target.networkAddress);
    m_driver.ModbusMaster().SetFunctionSet(meter.target.functionSet);
    m_driver.AttachHost(&m_host);
    m_stops.Add(&m_driver);
}

MeterDriver::~MeterDriver()
{
    m_driver.TransmitChanel().Disconnect();
    m_stops.Remove(&m_driver);
    m_driver.AttachHost(nullptr);
}
