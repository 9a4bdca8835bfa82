#pragma once
// The archive pages in the main window against the simulated meter over loopback TCP: a meter with a
// fixed archive, its node in the base, the window with the configuration frame and the archive pages,
// and the connect through the frame's toolbar as a user does it.

#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/main_window_rig.h"

#include "gui/archives/archive_debug_page.h"
#include "gui/archives/archives_frame_page.h"
#include "sim/meter_simulator.h"
#include "sim/sim_server.h"

#include <QAbstractButton>

#include <memory>

class ArchivePageRig {
public:
    static constexpr int kArrivesMs = ::kArrivesMs;

    // A meter whose archives end at `end` (the newest hourly record) and reach back `days` days; with
    // `baudDelay` it answers no faster than a serial line at that baud rate would carry the exchange.
    ArchivePageRig(TChronoArch end, int days, int baudDelay = 0);
    ~ArchivePageRig();

    // The meter closes its daily and totals records at `hour` and its monthly ones on `day`.
    void SetMeterReportTime(int hour, int day);
    // The meter's archives erased: every one of them empty.
    void EraseMeterArchives();

    // "Установить связь" on the archive frame with the meter's node chosen; true once connected and idle,
    // with the archives page in view.
    bool Connect();
    // The page a user clicks on is in view.
    void ShowFrame() { window->SelectPage(CDlgReadData::kPageId); }
    void ShowArchivePage() { window->SelectPage(CDlgMainConfigArchive::kPageId); }
    // Clicks `button` and waits until the command it queued has run and the page has been told.
    bool ClickAndWait(QAbstractButton* button);
    bool WaitUntilIdle();

    CDlgMainConfigArchive* Page() const { return window->ArchivePage(); }
    CDlgReadData* Frame() const { return window->ReadData(); }
    CRovoRedod& Driver() const { return window->Driver(); }
    // The report box's text as the reports give it, CR LF line ends.
    QString ReportText() const;

    MeterSimulator meter;
    SimServer server;
    MainWindowRig windowRig;
    std::unique_ptr<MainDialog> window;
};

// The date as the meter's records give it: 31.12.2023 23:00 is {31, 12, 23, 23}.
inline TChronoArch Chrono(int day, int month, int year, int hour)
{
    return TChronoArch{std::uint8_t(day), std::uint8_t(month), std::uint8_t(year - 2000), std::uint8_t(hour)};
}

// A meter with about ten weeks of archive up to 2 March 2024 12:00.
inline ArchivePageRig WinterMeter()
{
    return ArchivePageRig(Chrono(2, 3, 2024, 12), 70);
}
