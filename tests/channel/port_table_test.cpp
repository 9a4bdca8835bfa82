#include "channel/port_table.h"
#include "support/qt_printers.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <thread>
#include <vector>

namespace {

void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(PortTable, NumbersAreHandedOutLowestFirstAndKept)
{
    PortTable table;
    table.Assign(2, QStringLiteral("/dev/pts/4"));
    EXPECT_EQ(table.Register(QStringLiteral("/dev/ttyUSB0")), 1);
    EXPECT_EQ(table.Register(QStringLiteral("/dev/ttyACM0")), 3);
    EXPECT_EQ(table.Register(QStringLiteral("/dev/ttyUSB0")), 1);
    EXPECT_EQ(table.NumberFor(QStringLiteral("/dev/ttyACM0")), 3);
    EXPECT_EQ(table.NumberFor(QStringLiteral("/dev/ttyUSB9")), 0);
    EXPECT_EQ(table.DevicePath(2), QStringLiteral("/dev/pts/4"));
    EXPECT_EQ(table.DevicePath(4), QString());
    EXPECT_EQ(table.Register(QString()), 0);

    // By hand: a path moves to its new number, an empty path clears one, other numbers are ignored.
    table.Assign(5, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(table.DevicePath(1), QString());
    EXPECT_EQ(table.NumberFor(QStringLiteral("/dev/ttyUSB0")), 5);
    table.Assign(3, QString());
    table.Assign(0, QStringLiteral("/dev/ttyS0"));
    table.Assign(33, QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(table.Entries(),
              (QMap<int, QString>{{2, QStringLiteral("/dev/pts/4")}, {5, QStringLiteral("/dev/ttyUSB0")}}));

    for (int i = 0; i < 30; ++i)
        table.Register(QStringLiteral("/dev/x%1").arg(i));
    EXPECT_EQ(table.Entries().size(), 32);
    EXPECT_EQ(table.Register(QStringLiteral("/dev/one-too-many")), 0);
}

TEST(PortTable, LoadDropsWhatCannotStand)
{
    PortTable table;
    table.Assign(9, QStringLiteral("/dev/old"));
    table.Load({{1, QStringLiteral("/dev/ttyS0")},
                {0, QStringLiteral("/dev/zero-number")},
                {33, QStringLiteral("/dev/too-high")},
                {4, QString()},
                {6, QStringLiteral("/dev/ttyS0")},  // the same device twice
                {32, QStringLiteral("/dev/ttyUSB3")}});
    EXPECT_EQ(table.Entries(),
              (QMap<int, QString>{{1, QStringLiteral("/dev/ttyS0")}, {32, QStringLiteral("/dev/ttyUSB3")}}));
}

TEST(PortTable, DisplayName)
{
    EXPECT_EQ(PortTable::DisplayName(3, QStringLiteral("/dev/ttyUSB0")), QStringLiteral("COM3 (/dev/ttyUSB0)"));
    EXPECT_EQ(PortTable::DisplayName(12, QString()), QStringLiteral("COM12"));
}

TEST(PortTable, ScanRegistersSerialDevicesByTheirLastingNames)
{
    QTemporaryDir dev;
    ASSERT_TRUE(dev.isValid());
    const QString root = dev.path();
    for (const char* name : {"ttyUSB10", "ttyUSB2", "ttyACM0", "ttyS0", "ttyS", "ttyUSBx", "tty5", "ttyprintk"})
        Touch(root + QLatin1Char('/') + QLatin1String(name));
    ASSERT_TRUE(QDir(root).mkpath(QStringLiteral("serial/by-id")));
    const QString byId = root + QStringLiteral("/serial/by-id/usb-Maker_Adapter_A1-if00-port0");
    ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB10"), byId));

    PortTable table;
    table.Assign(1, QStringLiteral("/dev/pts/3"));
    table.ScanSystemPorts(root);
    // ttyS0 here is a plain file, like a ttyS node without a UART: left out. ttyUSB2 comes before ttyUSB10.
    const QMap<int, QString> expected{{1, QStringLiteral("/dev/pts/3")},
                                      {2, root + QStringLiteral("/ttyUSB2")},
                                      {3, byId},
                                      {4, root + QStringLiteral("/ttyACM0")}};
    EXPECT_EQ(table.Entries(), expected);
    table.ScanSystemPorts(root);
    EXPECT_EQ(table.Entries(), expected);

    // A device the table already knows by its kernel name keeps that entry.
    PortTable known;
    known.Assign(7, root + QStringLiteral("/ttyUSB10"));
    known.ScanSystemPorts(root);
    EXPECT_EQ(known.NumberFor(byId), 0);
    EXPECT_EQ(known.NumberFor(root + QStringLiteral("/ttyUSB10")), 7);
    EXPECT_EQ(known.NumberFor(root + QStringLiteral("/ttyUSB2")), 1);
}

TEST(PortTable, ConcurrentRegistrationsGetDistinctNumbers)
{
    PortTable table;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&table, t] {
            for (int i = 0; i < 8; ++i)
                table.Register(QStringLiteral("/dev/t%1-%2").arg(t).arg(i));
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    const QMap<int, QString> entries = table.Entries();
    ASSERT_EQ(entries.size(), 32);
    for (int t = 0; t < 4; ++t) {
        for (int i = 0; i < 8; ++i)
            EXPECT_NE(table.NumberFor(QStringLiteral("/dev/t%1-%2").arg(t).arg(i)), 0);
    }
}

}  // namespace
