#pragma once
// "Отчет": shows a finished report file and lets the user print it, preview the print, set up the
// page and keep a copy as a spreadsheet file. Modal: the report writer waits until the user closes
// the window and then removes the file. The window remembers its place and size.

#include "base/settings_store.h"
#include "reports/report_host.h"
#include "reports/report_template.h"

#include <QDialog>
#include <QPrinter>
#include <QStringList>

#include <functional>

class QAction;
class QTextBrowser;
class WindowPlacementKeeper;

class ReportWindow : public QDialog, public ReportViewer {
    Q_OBJECT

public:
    explicit ReportWindow(SettingsStore& settings, QWidget* parent = nullptr);

    // ReportViewer: shows `file` modally and returns once the user has closed the window.
    // `saveFolder` is where saving starts (the program folder when empty).
    void ShowReport(const QString& file, const QString& saveFolder) override;
    // The file "Сохранить" offers first (a folder and a name); the folder the report was shown from
    // when none is set.
    void OfferSaveAs(const QString& path) { m_saveAs = path; }
    const QString& OfferedSaveAs() const { return m_saveAs; }
    // A report the window shows in one form and saves in forms of its own: "Сохранить" offers `filters`
    // and hands the chosen path and filter to `save`, which writes the file and tells of a failure.
    using FormSaver = std::function<bool(const QString& path, const QString& filter)>;
    void SaveInForms(const QStringList& filters, FormSaver save);
    // MessageSink: a modal box over the window.
    void ShowMessage(const UserMessage& message) override;

    // Writes `body` through the report writer under this window's number in `folder` and shows it.
    bool ShowBody(const QString& body, const QString& folder, QIODevice* log = nullptr,
                  const ReportOptions& options = DefaultReportOptions());
    // The number that keeps this window's temporary files apart from other reports'.
    quint32 WindowNumber() const { return m_windowNumber; }

    // Commands.
    void Save();
    // Copies the shown file to `chosenPath` with exactly one ".xls" at the end; false when nothing was
    // written (the user has been told why).
    bool SaveTo(const QString& chosenPath);
    void Print();
    void PrintPreview();
    void PageSetup();
    // Prints the report on `printer` as it is set up.
    void PrintTo(QPrinter& printer) const;
    // Opens the copy saved last in the desktop's program for spreadsheet files.
    void OpenSavedCopy();

    QString ShownFile() const { return m_file; }
    QString SavedCopy() const { return m_savedCopy; }
    QTextBrowser* Browser() const { return m_browser; }

private:
    void CreateMenuAndToolBar();
    bool Load(const QString& file);

    const quint32 m_windowNumber;
    QTextBrowser* m_browser;
    WindowPlacementKeeper* m_placement;
    QAction* m_openCopy = nullptr;
    QPrinter m_printer{QPrinter::HighResolution};
    QString m_file;
    QString m_saveFolder;
    QString m_saveAs;
    QString m_savedCopy;
    QStringList m_formFilters;
    FormSaver m_formSaver;
};
