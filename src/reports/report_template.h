#pragma once
// The frame of a report file: an HTML page that a spreadsheet program opens as a worksheet (the
// spreadsheet-as-HTML form of the Office HTML format) and a browser shows as it is. The caller's body
// goes between the header and the tail unchanged.

#include <QString>
#include <QStringList>

struct ReportOptions {
    bool landscape = false;
    QString scale = QStringLiteral("100");  // the worksheet's print scale, in per cent
    QStringList styleLines;                 // rules added to the style sheet, in order
};

inline constexpr int kReportFontSize = 8;
inline constexpr const char* kReportFont = "Courier New CYR";

// The thirteen rules of the report tables, "pre" and "div"; the cell classes ltrb, l, r and lr hide
// all, the left, the right or both side borders.
QStringList ReportStyleLines(int fontSize = kReportFontSize, const QString& font = QString::fromLatin1(kReportFont));

// Portrait, scale 100, the thirteen rules: what the settings report asks for.
ReportOptions DefaultReportOptions();

// Everything before the body: the html start tag with the Office namespaces, the head with the page
// set-up, the style sheet and the worksheet options, and "<BODY>". Lines end in CR LF.
QString ReportHeader(const ReportOptions& options);

// Everything after the body.
QString ReportTail();
