// Pictures of the monitor and the report window for docs/screenshots.

#include "screenshots/screenshot_folder.h"

#include "config/settings_report.h"
#include "gui/monitor/exchange_monitor_window.h"
#include "gui/reports/report_window.h"
#include "gui_rigs/ui_test_helpers.h"
#include "support/known_configuration.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

namespace {

TEST(Screenshots, MonitorDuringAConnection)
{
    QTemporaryDir folder;
    SettingsStore settings(folder.filePath(QStringLiteral("settings.ini")));
    ExchangeMonitorWindow monitor(settings);
    monitor.Append(
        QStringLiteral("Попытка соединения с вычислителем...\r\n"
                       "Открытие порта COM3 (/dev/ttyUSB0): 9600 бод\r\n"
                       "COM3 TX: 01 03 00 00 00 13 05 C4\r\n"
                       "COM3 RX: 01 03 26 17 02 00 01 30 39 00 00 02 58 00 01 00 04 ...\r\n"
                       "Чтение настроек...\r\n"
                       "COM3 TX: 01 48 00 13 00 7D ...\r\n"));
    monitor.resize(640, 300);
    monitor.show();
    const QImage image = monitor.grab().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(image.save(QDir(ScreenshotFolder()).filePath(QStringLiteral("monitor.png"))));
}

TEST(Screenshots, SettingsReportInTheReportWindow)
{
    QTemporaryDir folder;
    SettingsStore settings(folder.filePath(QStringLiteral("settings.ini")));
    ReportWindow window(settings);
    window.resize(900, 640);
    bool saved = false;
    WhenModal<ReportWindow>(
        [&](ReportWindow* open) {
            saved = open->grab().toImage().save(QDir(ScreenshotFolder()).filePath(QStringLiteral("report-window.png")));
            open->close();
        },
        &window);
    const QString body = MakeSettingsReport(KnownConfiguration(), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    ASSERT_TRUE(window.ShowBody(body, folder.path()));
    EXPECT_TRUE(saved);
}

}  // namespace
