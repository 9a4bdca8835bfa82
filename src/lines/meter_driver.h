#pragma once
// A driver for one meter of a line plan, run on the calling thread (its own threads are never started):
// the node's channel settings, address and function set, an unattended host, and a place in the stop
// list so that a stop request reaches it while it waits on the line. The channel is shut when it goes.

#include "lines/collect_plan.h"
#include "lines/unattended_host.h"
#include "protocol/rovo_redod.h"

#include <QMutex>

#include <atomic>
#include <set>

// The drivers running now, so that a stop request ends every wait on every line within a polling interval.
class DriverStopList {
public:
    void Add(CRovoRedod* driver);
    void Remove(CRovoRedod* driver);
    // Stops the drivers running now and every driver added later.
    void StopAll();
    bool Stopped() const { return m_stopped.load(); }
    void Reset() { m_stopped = false; }

private:
    QMutex m_mutex;
    std::set<CRovoRedod*> m_drivers;
    std::atomic<bool> m_stopped{false};
};

class MeterDriver {
public:
    MeterDriver(const CollectMeter& meter, DriverStopList& stops, UnattendedHost::LogSink log = {});
    ~MeterDriver();
    MeterDriver(const MeterDriver&) = delete;
    MeterDriver& operator=(const MeterDriver&) = delete;

    CRovoRedod& Driver() { return m_driver; }
    const UnattendedHost& Host() const { return m_host; }

private:
    DriverStopList& m_stops;
    UnattendedHost m_host;
    CRovoRedod m_driver;
};
