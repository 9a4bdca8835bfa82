#pragma once
// Keeping a copy of a shown report as a spreadsheet file: the name rule of the save dialog, the copy
// itself, and a viewer that saves instead of showing (for the command line).

#include <QString>
#include <utility>

#include "reports/report_host.h"

inline constexpr const char* kReportExtension = "xls";

// The save dialog's one filter: "Отчеты (*.xls)".
QString ReportSaveFilter();

// The chosen name with exactly one ".xls" at the end of its file part: "a.xls.xls" and "a" both give
// "a.xls".
QString ReportSaveName(const QString& chosen);

// Copies the shown report to `target`, replacing any file there only once the copy is complete.
// Failures go to `owner` when given.
bool SaveReportCopy(const QString& shownFile, const QString& target, MessageSink* owner);

// Saves every report it is shown under one name and passes messages on.
class SavingReportViewer : public ReportViewer {
public:
    SavingReportViewer(QString target, MessageSink& messages) : m_target(std::move(target)), m_messages(messages) {}

    void ShowMessage(const UserMessage& message) override { m_messages.ShowMessage(message); }
    void ShowReport(const QString& file, const QString& saveFolder) override;

    bool Saved() const { return m_saved; }

private:
    const QString m_target;
    MessageSink& m_messages;
    bool m_saved = false;
};
