#pragma once
// The trends page in the main window against the simulated meter (see ArchivePageRig): the page, its
// controls, the connect, "Построить" until the read is plotted, and the meter's own records to hold the
// chart against.

#include "gui_rigs/archive_page_rig.h"

#include "archives/record_bytes.h"
#include "gui/archives/trend_chart_view.h"
#include "gui/archives/trends_page.h"
#include "sim/configuration_area.h"
#include "sim/meter_archives.h"

#include <QCoreApplication>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <functional>
#include <mutex>

// A meter with about ten weeks of archive up to 2 March 2024 12:00.
inline ArchivePageRig TrendsMeter(int baudDelay = 0)
{
    return ArchivePageRig(Chrono(2, 3, 2024, 12), 70, baudDelay);
}

// The record the meter holds for a date of an archive, as it answers for it.
inline ArchiveRecord MeterRecord(MeterSimulator& meter, const TChronoArch& date, ArchiveKind kind = kArchiveHourly)
{
    std::lock_guard<std::mutex> lock(meter.Lock());
    const ReportTime reportTime = ConfigurationArea::ReportTimeOf(meter.Image());
    return RecordFromBytes<ArchiveRecord>(meter.Archives().RecordBytes(
        kind, date, reportTime, meter.Options().identity.firmwareLevel, meter.Clock().Now()));
}

struct TrendsRig {
    explicit TrendsRig(int baudDelay = 0) : rig(TrendsMeter(baudDelay)) {}

    CDlgTrends* Page() const { return rig.window->TrendsPage(); }
    const TrendPageControls& Controls() const { return Page()->Controls(); }
    TrendChartView* View() const { return Controls().chart; }

    bool Connect()
    {
        const bool connected = rig.Connect();
        rig.window->SelectPage(CDlgTrends::kPageId);
        return connected;
    }
    void ChooseHours(const QDateTime& from, const QDateTime& to)
    {
        Controls().from->setDateTime(from);
        Controls().to->setDateTime(to);
    }
    // "Построить", then waits until what was read is plotted and the driver is idle again.
    bool Plot()
    {
        const int before = Page()->PlotCount();
        if (!Controls().plot->isEnabled())
            return false;
        QTest::mouseClick(Controls().plot, Qt::LeftButton);
        return WaitPromptly([&] { return Page()->PlotCount() > before; }) && rig.WaitUntilIdle();
    }

    // Waits for `done` handling every event as it comes. The driver's notifications wait for the
    // window one by one, so a wait that naps between looks (QTest::qWaitFor) would slow a read of many
    // records to the pace of its naps.
    static bool WaitPromptly(const std::function<bool()>& done)
    {
        QElapsedTimer waited;
        waited.start();
        while (!done()) {
            if (waited.hasExpired(ArchivePageRig::kArrivesMs))
                return false;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
        return true;
    }

    ArchivePageRig rig;
};

inline QDateTime Hour(int day, int month, int year, int hour)
{
    return QDateTime(QDate(year, month, day), QTime(hour, 0));
}

// The week ending with the meter's newest hourly record: 169 records.
inline void ChooseLastWeek(TrendsRig& trends)
{
    trends.ChooseHours(Hour(24, 2, 2024, 12), Hour(2, 3, 2024, 12));
}
