#include "app/work_folder.h"
#include "archives/record_bytes.h"
#include "nodes/node_base.h"
#include "support/file_bytes.h"
#include "support/qt_printers.h"
#include "support/read_only_folder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <array>

namespace {

QByteArray Le32(std::uint32_t value)
{
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

// A field of `width` bytes: `text` and NUL padding.
QByteArray Field(const QByteArray& text, int width)
{
    return text + QByteArray(width - text.size(), '\0');
}

QByteArray Header(std::uint32_t count)
{
    return Field("RovoRedod", 16) + Le32(0x00010003) + Le32(635) + Le32(count) + QByteArray(128, '\0');
}

// An IP node named "Котельная №1" (windows-1251), stored with the UDP protocol.
QByteArray IpEntry()
{
    QByteArray record;
    record += '\x11';        // network address 17
    record += Le32(0x1702);  // type code
    record += '\x03';        // Ethernet/Internet
    record += '\x02';        // PPP
    record += '\x00';        // standard functions
    record += '\x04';        // time-out 4 s
    record += '\x06';        // 6 attempts
    record += Field(
        "\xCA\xEE\xF2\xE5\xEB\xFC\xED\xE0\xFF \xB9"
        "1",
        64);
    record += Field("\xF3\xEB. \xCB\xE5\xED\xE8\xED\xE0, 1", 64);  // "ул. Ленина, 1"
    record += Field("note", 64);
    record += Le32(0xFFFFFFFE);                                       // serial number -2
    record += QByteArray("\x01\x17\x3B\x3B\xAA\x00\x1E\x00\xBB", 9);  // schedule with its reserved bytes
    record += Le32(0);                                                // UDP
    record += Le32(502);
    record += Field("10.0.0.7", 64);
    record += Le32(2) + Le32(9600) + Le32(7) + Le32(2) + Le32(1) + Le32(1) + Le32(20);
    record += Field("", 317);
    return record + QByteArray("\xEF\xBE\x5A", 3);  // the two trailing values
}

// A direct-line node whose name field has lost its terminator.
QByteArray SerialEntry()
{
    QByteArray entry = IpEntry();
    entry[5] = '\x01';
    entry.replace(10, 64, QByteArray(64, 'N'));
    entry.replace(215, 4, Le32(1));
    entry.replace(315, 9, "8,495W123");
    return entry;
}

class NodeBaseTest : public ::testing::Test {
protected:
    QString BasePath() const { return NodeBase::FilePath(dir.path()); }

    void WriteBase(const QByteArray& bytes)
    {
        QDir().mkpath(dir.filePath(QStringLiteral("Base")));
        QFile file(BasePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QByteArray ReadBase() const { return ReadAll(BasePath()); }

    // A base holding one stale entry, to show that a failed load leaves nothing behind.
    NodeBase StaleBase() const
    {
        NodeBase base;
        base.Append(NodeEntry{NodeRecord::New(1, FreePortTable::AllFree())});
        return base;
    }

    QTemporaryDir dir;
};

TEST_F(NodeBaseTest, NewRecordHasTheDefaultsInPlace)
{
    FreePortTable ports;
    ports.SetFree(3, true);
    ports.SetFree(9, true);
    const QByteArray modem = RecordToBytes(NodeRecord::New(2, ports));
    QByteArray expected(632, '\0');
    expected.replace(1, 9, QByteArray("\x02\x17\x00\x00\x02\x00\x01\x07\x05", 9));
    expected.replace(10, 3, "---");
    expected.replace(215, 8, Le32(1) + Le32(5001));
    expected.replace(223, 11, "192.168.1.1");
    expected.replace(287, 12, Le32(3) + Le32(115200) + Le32(8));
    EXPECT_EQ(modem, expected);

    const NodeRecord direct = NodeRecord::New(1, FreePortTable());
    EXPECT_EQ(direct.RepeatTimeoutSec(), 3);
    EXPECT_EQ(direct.ComPort(), -1);
    EXPECT_EQ(NodeRecord::New(3, ports).RepeatTimeoutSec(), 3);
}

TEST_F(NodeBaseTest, FileMadeByteByByteLoadsAndSavesBack)
{
    const QByteArray file = Header(2) + IpEntry() + SerialEntry();
    ASSERT_EQ(file.size(), 156 + 2 * 635);
    WriteBase(file);

    NodeBase base;
    UserMessage message;
    ASSERT_TRUE(base.Load(dir.path(), &message)) << message.text.toStdString();
    ASSERT_EQ(base.Count(), 2);
    const NodeEntry& ip = base.At(0);
    EXPECT_EQ(ip.record.NetworkAddress(), 17);
    EXPECT_EQ(ip.record.DeviceTypeCode(), 0x1702);
    EXPECT_EQ(ip.record.ConnectionType(), 3);
    EXPECT_EQ(ip.record.TransportProtocol(), 2);
    EXPECT_EQ(ip.record.FunctionSet(), 0);
    EXPECT_EQ(ip.record.RepeatTimeoutSec(), 4);
    EXPECT_EQ(ip.record.RepeatCount(), 6);
    EXPECT_EQ(ip.record.Name(), QStringLiteral("Котельная №1"));
    EXPECT_EQ(ip.record.Address(), QStringLiteral("ул. Ленина, 1"));
    EXPECT_EQ(ip.record.Note(), QStringLiteral("note"));
    EXPECT_EQ(ip.record.SerialNumber(), -2);
    EXPECT_EQ(ip.record.ScheduleEnabled(), 1);
    EXPECT_EQ(ip.record.ScheduleStart().hour, 23);
    EXPECT_EQ(ip.record.ScheduleEnd().minute, 30);
    EXPECT_EQ(ip.record.IpProtocol(), 1);  // stored as UDP, read back as TCP
    EXPECT_EQ(ip.record.IpPort(), 502);
    EXPECT_EQ(ip.record.IpAddress(), QStringLiteral("10.0.0.7"));
    EXPECT_EQ(ip.record.ComPort(), 2);
    EXPECT_EQ(ip.record.BaudRate(), 9600);
    EXPECT_EQ(ip.record.ByteSize(), 7);
    EXPECT_EQ(ip.record.Parity(), 2);
    EXPECT_EQ(ip.record.StopBits(), 1);
    EXPECT_EQ(ip.record.ReadIntervalOverrideFlag(), 1);
    EXPECT_EQ(ip.record.ReadIntervalOverrideMs(), 20);
    EXPECT_EQ(ip.trailingWord, 0xBEEF);
    EXPECT_EQ(ip.trailingByte, 0x5A);
    EXPECT_EQ(base.At(1).record.Name(), QString(64, u'N'));  // no terminator: the field and no further
    EXPECT_EQ(base.At(1).record.PhoneNumber(), QStringLiteral("8,495W123"));

    // Saved back: the same bytes, except the protocol word of the UDP entry.
    QByteArray expected = file;
    expected.replace(156 + 215, 4, Le32(1));
    ASSERT_TRUE(base.Save(dir.path(), &message)) << message.text.toStdString();
    EXPECT_EQ(ReadBase(), expected);

    // A node set to UDP in memory is still written as TCP.
    NodeEntry udp = base.At(1);
    udp.record.SetIpProtocol(0);
    ASSERT_TRUE(base.Replace(1, udp));
    ASSERT_TRUE(base.Save(dir.path(), &message));
    EXPECT_EQ(ReadBase(), expected);
}

TEST_F(NodeBaseTest, MissingEmptyShortForeignAndTruncatedFiles)
{
    // Missing: created as an empty base (its header alone), as the first run does after the work-folder
    // check made "Base".
    ASSERT_TRUE(WorkFolder(dir.path()).Check(ProgramOptions{}, nullptr));
    NodeBase base = StaleBase();
    UserMessage message;
    ASSERT_TRUE(base.Load(dir.path(), &message));
    EXPECT_TRUE(base.IsEmpty());
    EXPECT_EQ(ReadBase(), Header(0));
    ASSERT_TRUE(base.Load(dir.path(), &message));

    const QString shown = BasePath();
    struct Case {
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        // A file of no bytes lost its nodes: damaged, not an empty base that the next save makes final.
        {QByteArray(),
         QStringLiteral("Файл базы узлов учета \"%1\" поврежден: заголовок неполон (0 байт)!").arg(shown)},
        {Header(0).left(100),
         QStringLiteral("Файл базы узлов учета \"%1\" поврежден: заголовок неполон (100 байт)!").arg(shown)},
        {QByteArray("[Settings\\Settings]\nUseWorkFolder=1\n").leftJustified(400, ' '),
         QStringLiteral("Файл \"%1\" не является файлом базы узлов учета!").arg(shown)},
        {Header(1).replace(20, 4, Le32(632)) + IpEntry(),  // entries of another size
         QStringLiteral("Файл \"%1\" не является файлом базы узлов учета!").arg(shown)},
        {Header(1).replace(16, 4, Le32(0x00010004)) + IpEntry(),  // another format
         QStringLiteral("Файл \"%1\" не является файлом базы узлов учета!").arg(shown)},
        {Header(3) + IpEntry() + SerialEntry().left(300),
         QStringLiteral("Файл базы узлов учета \"%1\" поврежден: узлов учета в заголовке 3, в файле 1!").arg(shown)},
        {Header(0x7FFFFFFF) + IpEntry(),  // a claim far beyond the file is not believed
         QStringLiteral("Файл базы узлов учета \"%1\" поврежден: узлов учета в заголовке 2147483647, в файле 1!")
             .arg(shown)},
        {Header(0xFFFFFFFF) + IpEntry(),
         QStringLiteral("Файл базы узлов учета \"%1\" поврежден: узлов учета в заголовке -1, в файле 1!").arg(shown)},
    };
    for (const Case& c : cases) {
        WriteBase(c.bytes);
        base = StaleBase();
        message = {};
        EXPECT_FALSE(base.Load(dir.path(), &message)) << c.text.toStdString();
        EXPECT_TRUE(base.IsEmpty());
        EXPECT_EQ(message.text, c.text);
        EXPECT_EQ(message.caption, QStringLiteral("Информация"));
        EXPECT_EQ(ReadBase(), c.bytes);  // nothing is written over what the user has
    }

    // Entries past the counted ones are not read.
    WriteBase(Header(1) + IpEntry() + SerialEntry());
    ASSERT_TRUE(base.Load(dir.path(), &message));
    EXPECT_EQ(base.Count(), 1);
}

TEST_F(NodeBaseTest, FileThatCannotBeOpenedGivesTheSystemsText)
{
    NodeBase base = StaleBase();
    UserMessage message;
    EXPECT_FALSE(base.Load(dir.filePath(QStringLiteral("no-such-folder")), &message));  // no "Base" to create it in
    EXPECT_TRUE(base.IsEmpty());
    EXPECT_FALSE(message.text.isEmpty());
    EXPECT_EQ(message.caption, QStringLiteral("Информация"));

    QDir().mkpath(BasePath());  // a folder where the file should be
    message = {};
    EXPECT_FALSE(base.Load(dir.path(), &message));
    EXPECT_FALSE(message.text.isEmpty());
}

TEST_F(NodeBaseTest, FailedSaveLeavesTheOldFileIntact)
{
    ReadOnlyFolder folder;
    const QString path = folder.Path() + QStringLiteral("/Objects.bin");
    NodeBase base;
    base.Append(NodeEntry{NodeRecord::New(3, FreePortTable::AllFree())});
    UserMessage message;
    ASSERT_TRUE(base.SaveFile(path, &message));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    base.Append(NodeEntry{NodeRecord::New(1, FreePortTable::AllFree())});
    ASSERT_TRUE(folder.Lock());
    const bool saved = base.SaveFile(path, &message);
    folder.Unlock();

    EXPECT_FALSE(saved);
    EXPECT_FALSE(message.text.isEmpty());
    EXPECT_EQ(message.caption, QStringLiteral("Информация"));
    EXPECT_EQ(base.Count(), 2);  // the base in memory is as it was
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
    EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Objects.bin")});  // no temporary file left behind
}

TEST_F(NodeBaseTest, ListOperationsAndTheirRefusals)
{
    NodeBase base;
    const FreePortTable ports = FreePortTable::AllFree();
    auto node = [&ports](int type, const char* name) {
        NodeEntry entry{NodeRecord::New(type, ports)};
        entry.record.SetName(QString::fromUtf8(name));
        return entry;
    };
    auto names = [&base] {
        QStringList list;
        for (const NodeEntry& entry : base.Entries())
            list.append(entry.record.Name());
        return list;
    };
    base.Append(node(1, "A1"));
    base.Append(node(3, "B3"));
    base.Append(node(1, "C1"));
    EXPECT_TRUE(base.Insert(3, node(3, "D3")));
    EXPECT_TRUE(base.Insert(0, node(2, "Узел")));
    EXPECT_FALSE(base.Insert(6, node(3, "X")));
    EXPECT_FALSE(base.Insert(-1, node(3, "X")));
    EXPECT_EQ(names(), (QStringList{"Узел", "A1", "B3", "C1", "D3"}));
    EXPECT_EQ(base.IndicesOfType(1), (QList<int>{1, 3}));
    EXPECT_EQ(base.IndicesOfType(3), (QList<int>{2, 4}));

    // Moves go past the entries of other types, as the user sees only one type per page.
    EXPECT_TRUE(base.MoveUp(3));
    EXPECT_EQ(names(), (QStringList{"Узел", "C1", "B3", "A1", "D3"}));
    EXPECT_FALSE(base.MoveUp(1));    // first of its type
    EXPECT_FALSE(base.MoveDown(3));  // last of its type
    EXPECT_FALSE(base.MoveDown(4));
    EXPECT_FALSE(base.MoveUp(0));
    EXPECT_FALSE(base.MoveUp(9));
    EXPECT_TRUE(base.MoveDown(2));
    EXPECT_EQ(names(), (QStringList{"Узел", "C1", "D3", "A1", "B3"}));

    EXPECT_FALSE(base.Replace(5, node(1, "X")));
    EXPECT_TRUE(base.Replace(1, node(1, "c1")));
    EXPECT_FALSE(base.Remove(5));
    EXPECT_FALSE(base.Remove(-1));
    EXPECT_TRUE(base.Remove(0));
    EXPECT_EQ(names(), (QStringList{"c1", "D3", "A1", "B3"}));

    EXPECT_EQ(base.FindByName(QStringLiteral("A1")), 2);
    EXPECT_EQ(base.FindByName(QStringLiteral("C1")), 0);  // no exact match: any case
    EXPECT_EQ(base.FindByName(QStringLiteral("Z")), -1);
}

TEST_F(NodeBaseTest, FieldLimitsAndScheduleNormalisation)
{
    NodeRecord record = NodeRecord::New(1, FreePortTable::AllFree());
    EXPECT_FALSE(record.SetNetworkAddress(256));
    EXPECT_FALSE(record.SetNetworkAddress(-1));
    EXPECT_EQ(record.NetworkAddress(), 0);
    EXPECT_TRUE(record.SetNetworkAddress(255));
    EXPECT_EQ(record.NetworkAddress(), 255);

    record.SetName(QString(64, u'Я'));
    EXPECT_EQ(record.Name(), QString(63, u'Я'));
    EXPECT_EQ(RecordToBytes(record).mid(10, 64), QByteArray(63, '\xDF') + '\0');
    record.SetName(QStringLiteral("Ω ok"));  // not in the code page
    EXPECT_EQ(record.Name(), QStringLiteral("? ok"));
    record.SetPhoneNumber(QString(400, u'1'));
    EXPECT_EQ(record.PhoneNumber().size(), 316);
    record.SetAddress(QString());
    EXPECT_EQ(record.Address(), QString());

    record.SetScheduleEnabled(7);
    record.SetScheduleStart({24, 59, 60});
    record.SetScheduleEnd({23, 60, 59});
    record.NormaliseSchedule();
    EXPECT_EQ(record.ScheduleEnabled(), 1);
    const NodeTime start = record.ScheduleStart();
    const NodeTime end = record.ScheduleEnd();
    EXPECT_EQ((std::array<int, 6>{start.hour, start.minute, start.second, end.hour, end.minute, end.second}),
              (std::array<int, 6>{0, 59, 0, 23, 0, 59}));
}

}  // namespace
