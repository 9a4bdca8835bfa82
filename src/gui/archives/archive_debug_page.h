#pragma once
// "Архивы (отладка)": reads the meter's archive descriptors, one value-archive record at a time
// (stepping through time), the current values and totals (once or periodically), event-log entries, a
// flash page, and the whole archive into the database. The page fills the driver's request block,
// queues the command and renders the receive areas when the command-finished notice comes; it keeps no
// archive data of its own.

#include "archives/read_arch_settings.h"
#include "gui/archives/archive_page_controls.h"
#include "gui/widgets/page_base.h"
#include "meter/archive_date.h"
#include "protocol/driver_commands.h"

class ArchiveExportRunner;

class CDlgMainConfigArchive : public CDlgParentWithMyProperty, public CommandRequester {
    Q_OBJECT

public:
    static constexpr int kPageId = 201;

    // `exportRunner` carries out "Весь архив" and tells its progress; without one the page shows none.
    CDlgMainConfigArchive(PageHost& host, ArchiveExportRunner* exportRunner, QWidget* parent = nullptr);
    ~CDlgMainConfigArchive() override;

    // Enables the buttons and inputs that fit the driver's flags and the data type.
    void UpdateStates();

    const ArchivePageControls& Controls() const { return m_controls; }
    // Archive reads started from this page; it only grows.
    int ReadCount() const { return m_readCount; }
    // The date picker's day, month and year byte with the hour of "Час:".
    TChronoArch ShownDate() const;

    void OnPageShown() override { UpdateStates(); }
    void RefreshCommandStates() override { UpdateStates(); }
    void CommandFinished(int code) override;

private:
    void Restore();
    void WireExport(ArchiveExportRunner* runner);
    void ReadArchiveInfo();
    void ReadFlash();
    // Ends the command under way; "Стоп" and unticking the period box.
    void StopReading();
    void Read(int step);
    void ShowDate(const TChronoArch& date);
    void ShowDescriptors();

    ReadArchSettings m_settings;
    ArchivePageControls m_controls;
    int m_readCount = 0;
    bool m_periodicQueued = false;  // a periodic read of current values was queued from here and runs
};
