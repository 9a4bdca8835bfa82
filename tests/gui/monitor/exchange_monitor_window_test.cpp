#include "gui/monitor/exchange_monitor_window.h"

#include "app/window_placement.h"
#include "base/settings_sections.h"
#include "base/text_codec.h"
#include "gui_rigs/dialog_driving.h"
#include "gui_rigs/ui_test_helpers.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMenuBar>
#include <QTemporaryDir>

namespace {

QString Numbered(int from, int to)
{
    QString text;
    for (int i = from; i < to; ++i)
        text += QStringLiteral("%1 RX: 01 03 02 00 %2\r\n").arg(i, 5, 10, QLatin1Char('0')).arg(i % 100);
    return text;
}

QAction* MenuAction(QMainWindow& window, const QString& text)
{
    for (QAction* menu : window.menuBar()->actions())
        for (QAction* action : menu->menu()->actions())
            if (action->text() == text)
                return action;
    return nullptr;
}

class ExchangeMonitorTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    SettingsStore settings{folder.filePath(QStringLiteral("settings.ini"))};
};

TEST_F(ExchangeMonitorTest, KeepsTheLastFifteenThousandLinesEachNewOneDroppingTheOldest)
{
    ExchangeMonitorWindow monitor(settings);
    EXPECT_EQ(monitor.windowTitle(), QStringLiteral("Монитор обменов"));
    monitor.Append(Numbered(0, 15000));
    EXPECT_EQ(monitor.LineCount(), 15000);
    EXPECT_EQ(monitor.Text(), Numbered(0, 15000));

    monitor.Append(Numbered(15000, 15001));
    EXPECT_EQ(monitor.LineCount(), 15000);
    EXPECT_EQ(monitor.Text(), Numbered(1, 15001));
    monitor.Append(Numbered(15001, 15002));
    EXPECT_EQ(monitor.Text(), Numbered(2, 15002));
}

TEST_F(ExchangeMonitorTest, LinesAppendedFastStayInOrderWithoutBlankLines)
{
    ExchangeMonitorWindow monitor(settings);
    monitor.show();
    for (int i = 0; i < 20000; ++i)
        monitor.Append(Numbered(i, i + 1));
    EXPECT_EQ(monitor.LineCount(), 15000);
    EXPECT_EQ(monitor.Text(), Numbered(5000, 20000));

    // A text without its line end is continued by the next one, as the log writes it.
    monitor.Clear();
    EXPECT_EQ(monitor.LineCount(), 0);
    monitor.Append(QStringLiteral("Соединение с COM3"));
    monitor.Append(QStringLiteral(" установлено\r\nTX: 01 03\r\n"));
    EXPECT_EQ(monitor.Text(), QStringLiteral("Соединение с COM3 установлено\r\nTX: 01 03\r\n"));
    EXPECT_EQ(monitor.LineCount(), 2);
}

TEST_F(ExchangeMonitorTest, AppendBeforeTheWindowWasShownIsKept)
{
    ExchangeMonitorWindow monitor(settings);
    monitor.Append(QStringLiteral("TX: 01 03 00 00 00 13 05 C4\r\n"));
    monitor.show();
    EXPECT_EQ(monitor.Text(), QStringLiteral("TX: 01 03 00 00 00 13 05 C4\r\n"));
}

TEST_F(ExchangeMonitorTest, SavesTheTextInWindows1251UnderOneTxtExtension)
{
    RecordedMessageBoxes boxes;
    ExchangeMonitorWindow monitor(settings);
    const QString text = QStringLiteral("Подключение к прибору: 12.03.2024 10:15:00.123!\r\n") + Numbered(0, 3)
        + QStringLiteral("\tОшибка СОМ-порта «COM3»\u00a0№1\r\n");
    monitor.Append(text);

    ASSERT_TRUE(monitor.SaveTo(folder.filePath(QStringLiteral("обмен.txt.txt"))));
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("обмен.txt.txt"))));
    EXPECT_EQ(ReadAll(folder.filePath(QStringLiteral("обмен.txt"))), EncodeWindows1251(text));
    ASSERT_TRUE(monitor.SaveTo(folder.filePath(QStringLiteral("log"))));
    EXPECT_EQ(ReadAll(folder.filePath(QStringLiteral("log.txt"))), EncodeWindows1251(text));
    EXPECT_TRUE(boxes.shown.empty());

    // A bare name has no folder: nothing is written, the user is told.
    EXPECT_FALSE(monitor.SaveTo(QStringLiteral("bare.txt")));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].text, QStringLiteral("Ошибка выполнения!"));
    EXPECT_EQ(boxes.shown[0].caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(boxes.shown[0].style, MessageStyle::kIconInformation);

    // A folder that is not there: the writer's own message, and no file.
    EXPECT_FALSE(monitor.SaveTo(folder.filePath(QStringLiteral("missing/log.txt"))));
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_TRUE(boxes.shown[1].text.startsWith(QStringLiteral("Не удалось записать файл \"")));
    EXPECT_EQ(boxes.shown[1].caption, QStringLiteral("Информация"));
}

TEST_F(ExchangeMonitorTest, SaveMenuAsksForTheFileAndClearEmptiesTheText)
{
    ExchangeMonitorWindow monitor(settings);
    monitor.Append(Numbered(0, 2));
    QString title;
    QStringList filters;
    WhenModal<QFileDialog>([&](QFileDialog* dialog) {
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        TypeFileName(dialog, folder.filePath(QStringLiteral("saved.txt.txt")));
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog hides its accept()
    });
    QAction* save = MenuAction(monitor, QStringLiteral("Сохранить содержимое как..."));
    ASSERT_NE(save, nullptr);
    save->trigger();
    EXPECT_EQ(title, QStringLiteral("Сохранить..."));
    EXPECT_EQ(filters, QStringList{QStringLiteral("Текстовые файлы (*.txt)")});
    EXPECT_EQ(ReadAll(folder.filePath(QStringLiteral("saved.txt"))), EncodeWindows1251(Numbered(0, 2)));

    // Cancelled: nothing written.
    WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
    save->trigger();
    EXPECT_EQ(QDir(folder.path()).entryList({QStringLiteral("*.txt")}), QStringList{QStringLiteral("saved.txt")});

    QAction* clear = MenuAction(monitor, QStringLiteral("Очистить содержимое"));
    ASSERT_NE(clear, nullptr);
    clear->trigger();
    EXPECT_EQ(monitor.Text(), QString());
}

TEST_F(ExchangeMonitorTest, ClosingRecordsThatItIsHiddenAndThePlacementIsKept)
{
    const SettingsSection view(settings, SettingsSections::kIoMonitor);
    view.Value(QStringLiteral("Show"), 0).Set(1);
    {
        ExchangeMonitorWindow monitor(settings);
        monitor.show();
        monitor.setGeometry(130, 140, 520, 310);
        EXPECT_TRUE(monitor.close());
        EXPECT_FALSE(monitor.isVisible());
    }
    EXPECT_EQ(settings.GetInt(view.Name(), QStringLiteral("Show"), -1), 0);

    WindowPlacement stored;
    ASSERT_TRUE(WindowPlacement::FromBytes(
        settings.GetBinary(QStringLiteral("Settings\\Screen\\IoMonitor"), QStringLiteral("Position")), &stored));
    EXPECT_EQ(stored.normal, QRect(130, 140, 520, 310));

    ExchangeMonitorWindow again(settings);
    EXPECT_EQ(again.geometry(), QRect(130, 140, 520, 310));
}

}  // namespace
