#pragma once
// What the trends page writes: the title of the spreadsheet page, the chart's picture as PNG, and the
// writing itself, which replaces a file only once the new one is whole and tells the user through the
// window when it could not.

#include "archives/archive_range.h"

#include <QByteArray>
#include <QString>

class PageHost;
class QWidget;

// "Часовой архив, зав.N 12345, 01.03.2024 - 07.03.2024".
QString TrendTableTitle(const ArchiveRange& range, std::uint32_t serial);
// A file name to offer: "Часовой архив 12345 01.03.2024-07.03.2024" (the caller adds the extension).
QString TrendFileName(const ArchiveRange& range, std::uint32_t serial);

// The widget as the screen shows it, as PNG bytes (empty when it could not be encoded).
QByteArray WidgetPng(QWidget* widget);

// Writes `bytes` to `path`; a failure is shown through `host` ("... (function - path)") and gives false.
bool WriteTrendFile(PageHost& host, const QString& path, const QByteArray& bytes, const char* function);
