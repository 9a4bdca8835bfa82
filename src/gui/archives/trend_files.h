#pragma once
// What the trends page writes: the chart's picture as PNG, and the writing itself, which replaces a file
// only once the new one is whole and tells the user through the window when it could not.

#include <QByteArray>
#include <QString>

class PageHost;
class QWidget;

// The widget as the screen shows it, as PNG bytes (empty when it could not be encoded).
QByteArray WidgetPng(QWidget* widget);

// Writes `bytes` to `path`; a failure is shown through `host` ("... (function - path)") and gives false.
bool WriteTrendFile(PageHost& host, const QString& path, const QByteArray& bytes, const char* function);
