#include "app/port_table_settings.h"
#include "channel/free_ports.h"
#include "support/port_table_guard.h"
#include "support/pty_pair.h"
#include "support/qt_printers.h"
#include "support/read_only_folder.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(PortTableSettings, TableSurvivesARestartAndDropsWhatCannotStand)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settings.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(
            "[Settings\\Ports]\n"
            "COM0=/dev/zero-number\n"
            "COM33=/dev/too-high\n"
            "COMx=/dev/not-a-number\n"
            "Port4=/dev/other-key\n"
            "com7=/dev/ttyS0\n"
            "COM9=/dev/ttyS0\n"  // the same device twice: the lower number keeps it
            "COM32=/dev/serial/by-id/usb-Maker_Adapter-if00-port0\n");
    }
    SettingsStore store(path);
    PortTable table;
    table.Assign(1, QStringLiteral("/dev/forgotten"));
    LoadPortTable(store, table);
    EXPECT_EQ(table.Entries(),
              (QMap<int, QString>{{7, QStringLiteral("/dev/ttyS0")},
                                  {32, QStringLiteral("/dev/serial/by-id/usb-Maker_Adapter-if00-port0")}}));

    table.Assign(32, QString());
    table.Assign(3, QStringLiteral("/dev/pts/5"));
    ASSERT_TRUE(SavePortTable(store, table));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("[Settings\\Ports]\nCOM3=/dev/pts/5\nCOM7=/dev/ttyS0\n"));

    PortTable restarted;
    LoadPortTable(SettingsStore(path), restarted);
    EXPECT_EQ(restarted.Entries(), table.Entries());
}

TEST(PortTableSettings, StartUpNumbersNewDevicesAndKeepsThem)
{
    QTemporaryDir dev;
    {
        QFile device(dev.filePath(QStringLiteral("ttyUSB0")));
        ASSERT_TRUE(device.open(QIODevice::WriteOnly));
    }
    ReadOnlyFolder folder;
    const QString path = folder.Path() + QStringLiteral("/settings.ini");
    {
        SettingsStore store(path);
        ASSERT_TRUE(
            store.SetString(QStringLiteral("Settings\\Ports"), QStringLiteral("COM1"), QStringLiteral("/dev/pts/3")));
    }
    SettingsStore store(path);
    PortTable table;
    ASSERT_TRUE(RefreshPortTable(store, table, dev.path()));
    const QMap<int, QString> expected{{1, QStringLiteral("/dev/pts/3")}, {2, dev.filePath(QStringLiteral("ttyUSB0"))}};
    EXPECT_EQ(table.Entries(), expected);
    PortTable reread;
    LoadPortTable(SettingsStore(path), reread);
    EXPECT_EQ(reread.Entries(), expected);

    // Nothing new: nothing to write, so even a folder that cannot be written is no failure.
    ASSERT_TRUE(folder.Lock());
    PortTable again;
    const bool refreshed = RefreshPortTable(store, again, dev.path());
    folder.Unlock();
    EXPECT_TRUE(refreshed);
    EXPECT_EQ(again.Entries(), expected);
}

TEST(FreePorts, TableAnswersByNumber)
{
    FreePortTable none;
    EXPECT_EQ(none.FirstFree(), -1);
    EXPECT_TRUE(none.FreeNumbers().isEmpty());
    FreePortTable all = FreePortTable::AllFree();
    EXPECT_EQ(all.FirstFree(), 1);
    EXPECT_EQ(all.FreeNumbers().size(), 32);
    EXPECT_FALSE(all.IsFree(0));
    EXPECT_FALSE(all.IsFree(33));
    all.SetFree(1, false);
    all.SetFree(2, false);
    all.SetFree(40, true);
    EXPECT_EQ(all.FirstFree(), 3);
    EXPECT_TRUE(all.IsFree(32));
}

TEST(FreePorts, MonitorLinesCarryTheFullYearAndMilliseconds)
{
    const QDateTime time(QDate(2026, 3, 5), QTime(7, 8, 9, 45));
    EXPECT_EQ(PortSearchStartLine(time),
              QStringLiteral("Поиск свободных СОМ-портов (старт): 05.03.2026 07:08:09.045!"));
    EXPECT_EQ(PortSearchStopLine(time), QStringLiteral("Поиск свободных СОМ-портов (стоп) : 05.03.2026 07:08:09.045!"));
}

TEST(FreePorts, SearchOpensEveryPortThroughThePortTable)
{
    PtyPair line;
    ASSERT_TRUE(line.IsOpen());
    PtyPair busyLine;
    ASSERT_TRUE(busyLine.IsOpen());
    const PortTableGuard keep;  // the test's table goes with the test
    PortTable::Global().Load({{5, line.SlavePath()},
                              {6, busyLine.SlavePath()},
                              {9, QStringLiteral("/dev/zt5-no-such-port")},
                              {10, QStringLiteral("/dev/null")}});
    CCommPortClass holder;  // another program has COM6 open
    ASSERT_EQ(holder.Open(6), 0);

    QStringList monitor;
    const FreePortTable table = SearchFreePorts([&monitor](const QString& line) { monitor.append(line); });
    holder.Close();

    EXPECT_EQ(table.FreeNumbers(), QList<int>{5});
    ASSERT_EQ(monitor.size(), 2);
    EXPECT_TRUE(monitor[0].startsWith(QStringLiteral("Поиск свободных СОМ-портов (старт): ")))
        << monitor[0].toStdString();
    EXPECT_TRUE(monitor[1].startsWith(QStringLiteral("Поиск свободных СОМ-портов (стоп) : ")))
        << monitor[1].toStdString();
    EXPECT_TRUE(monitor[0].contains(QString::number(QDate::currentDate().year())));

    // The probe is the search's only way to the ports.
    QList<int> probed;
    const FreePortTable odd = SearchFreePorts(nullptr, [&probed](int number) {
        probed.append(number);
        return number % 2 == 1;
    });
    EXPECT_EQ(probed.size(), 32);
    EXPECT_EQ(probed.first(), 1);
    EXPECT_EQ(probed.last(), 32);
    EXPECT_EQ(odd.FreeNumbers().size(), 16);
    EXPECT_EQ(odd.FirstFree(), 1);
}

}  // namespace
