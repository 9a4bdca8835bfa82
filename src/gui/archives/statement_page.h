#pragma once
// "Ведомость": the month's statement of one meter for one input or every input in use. "Сформировать"
// takes the period's records and the totals archive's around it from the archive database; over a
// connection the range reader (driver command 20) reads what the database lacks off the meter into it
// first, with its progress on the page. Without one the database alone serves the serial number typed
// (offered: the meter connected last, else the node chosen).
// The statement opens in the report window (print, preview, page set-up); "Сохранить" writes it as PDF,
// XLSX, CSV or the spreadsheet HTML. Rows still without data are named on the page.

#include "archives/range_table.h"
#include "gui/archives/statement_page_controls.h"
#include "gui/widgets/page_base.h"
#include "protocol/driver_commands.h"
#include "statement/statement_model.h"

class ArchiveRangeRunner;

class CDlgStatement : public CDlgParentWithMyProperty, public CommandRequester {
    Q_OBJECT

public:
    static constexpr int kPageId = 203;

    CDlgStatement(PageHost& host, ArchiveRangeRunner& runner, QWidget* parent = nullptr);
    ~CDlgStatement() override;

    // Enables the buttons that fit the driver's flags and what has been made.
    void UpdateStates();

    const StatementPageControls& Controls() const { return m_controls; }
    // The statement made last, and how many have been made; the count only grows.
    const Statement& Made() const { return m_statement; }
    int MadeCount() const { return m_madeCount; }
    // What "Сохранить" offers first: the statement's own name in the reports folder.
    QString OfferedPath();
    // Writes the statement made last in the form the extension names; false after a message.
    bool SaveTo(const QString& path);
    // The report window with the statement made last; returns once it is closed.
    void ShowStatement();

    void OnPageShown() override { UpdateStates(); }
    void OnConnectionStateChanged() override { UpdateStates(); }
    void RefreshCommandStates() override { UpdateStates(); }
    void CommandFinished(int code) override;

private:
    enum class Step { kIdle, kRecords, kTotals };

    void SetPreviousMonth();
    void FillSerial();
    // The choice of the controls into m_asked; false after telling the user what is wrong.
    bool ChooseSource();
    void Make();
    void MakeFromDatabase();
    void ReadNext(Step step);
    void ShowProgress(qint64 done, qint64 total);
    void Finish(const QString& found);
    void DescribeNodeOf(StatementSource* source);

    ArchiveRangeRunner& m_runner;
    StatementPageControls m_controls;
    StatementSource m_asked;
    ArchiveRangeResult m_recordsRead;
    Step m_step = Step::kIdle;
    bool m_readWhole = true;
    bool m_lastSucceeded = true;
    StatementSource m_madeFrom;
    Statement m_statement;
    int m_madeCount = 0;
};
