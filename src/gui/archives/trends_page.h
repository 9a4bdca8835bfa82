#pragma once
// "Графики": a stretch of the hourly, daily or monthly archive plotted over time. "Построить" hands the
// stretch to the range reader (driver command 20), which takes what the archive database holds and reads
// the rest off the meter into the database; the page shows the read's progress, then plots what was
// found (also what a stop or a failure left) and tells where the records came from. The plotted records
// go to a PNG picture, a CSV table or the report writer's spreadsheet page.

#include "archives/range_table.h"
#include "gui/archives/trend_page_controls.h"
#include "gui/archives/trend_settings.h"
#include "gui/widgets/page_base.h"
#include "protocol/driver_commands.h"

class ArchiveRangeRunner;

class CDlgTrends : public CDlgParentWithMyProperty, public CommandRequester {
    Q_OBJECT

public:
    static constexpr int kPageId = 202;

    CDlgTrends(PageHost& host, ArchiveRangeRunner& runner, QWidget* parent = nullptr);
    ~CDlgTrends() override;

    // Enables the buttons that fit the driver's flags and what is plotted.
    void UpdateStates();

    const TrendPageControls& Controls() const { return m_controls; }
    // The archive and dates the controls show now.
    ArchiveRange ChosenRange() const;
    // What the last read found: its counts here (the records went to the chart), its records there.
    const ArchiveRangeResult& PlottedResult() const { return m_plotted; }
    const std::vector<RangeRecord>& PlottedRecords() const;
    const TrendSelection& PlottedQuantities() const { return m_plottedQuantities; }
    // Reads that have come back and been plotted; it only grows.
    int PlotCount() const { return m_plotCount; }

    // What the save and export buttons do once a file is chosen; false (after a message) on failure.
    bool SavePngTo(const QString& path);
    bool ExportCsvTo(const QString& path);
    bool ExportHtmlTo(const QString& path);

    void OnPageShown() override { UpdateStates(); }
    void RefreshCommandStates() override { UpdateStates(); }
    void CommandFinished(int) override {}

private:
    void Restore();
    void Plot();
    void ShowProgress(qint64 done, qint64 total);
    void ShowFound(bool succeeded);
    // Asks for a file to save into, with `extension` as the only filter; empty when cancelled.
    QString ChooseFile(const QString& title, const QString& filter, const QStringList& extensions);
    void SaveAs(const QString& title, const QString& filter, const QStringList& extensions,
                bool (CDlgTrends::*save)(const QString&));

    ArchiveRangeRunner& m_runner;
    TrendSettings m_settings;
    TrendPageControls m_controls;
    // What "Построить" asked for, until the read comes back.
    ArchiveRange m_asked{};
    TrendSelection m_askedQuantities;
    ArchiveRange m_plottedRange{};
    ArchiveRangeResult m_plotted;
    TrendSelection m_plottedQuantities;
    bool m_reading = false;
    int m_plotCount = 0;
};
