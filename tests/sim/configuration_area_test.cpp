#include "support/slave_client.h"

#include "sim/configuration_area.h"
#include "sim/demo_configuration.h"
#include "sim/event_logs.h"
#include "sim/meter_areas.h"

#include "base/checksums.h"
#include "config/model_capabilities.h"
#include "config/older_layout.h"
#include "config/tunes_defaults.h"

#include <gtest/gtest.h>

namespace {

std::uint16_t Crc(const QByteArray& bytes)
{
    return Crc16Modbus(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                       static_cast<std::size_t>(bytes.size()));
}

std::uint16_t Word(const QByteArray& bytes)
{
    return GetLittleEndian16(reinterpret_cast<const std::uint8_t*>(bytes.constData()));
}

QByteArray ChecksumBlock(std::uint16_t crc, int size)
{
    QByteArray block(size, '\0');
    PutLittleEndian16(reinterpret_cast<std::uint8_t*>(block.data()), crc);
    return block;
}

}  // namespace

TEST(ConfigurationArea, StartsWithTheDemoConfigurationAndMatchingChecksumsInTheLevelsLayout)
{
    TunesRecord tunes;
    OpenSettings open;
    ControlsBlock controls;
    MakeDemoConfiguration(kDefaultModel, 1, tunes, open, controls);
    EXPECT_EQ(+tunes.db[0].inputs[0].scheme, 1);
    EXPECT_EQ(+tunes.db[0].inputs[1].scheme, 5);
    {
        MeterSimulator meter(AtLevel(515));
        SlaveClient client(meter);
        const SlaveReply record = client.Read(MeterArea::kTunes, 510);
        ASSERT_TRUE(record.Ok());
        EXPECT_EQ(record.bytes, SlaveClient::Bytes(tunes));
        EXPECT_EQ(client.Read(MeterArea::kTunesChecksum, 8).bytes, ChecksumBlock(Crc(record.bytes), 8));
        const SlaveReply openBytes = client.Read(MeterArea::kOpenSettings, 22);
        EXPECT_EQ(openBytes.bytes, SlaveClient::Bytes(open));
        EXPECT_EQ(client.Read(MeterArea::kOpenChecksum, 6).bytes, ChecksumBlock(Crc(openBytes.bytes), 6));
        EXPECT_EQ(client.Read(MeterArea::kControls, 64).bytes, SlaveClient::Bytes(controls));
    }
    {
        // Below 512 the controls are the record's tail and have no area of their own.
        MeterSimulator meter(AtLevel(511));
        SlaveClient client(meter);
        const SlaveReply record = client.Read(MeterArea::kTunes, 574);
        const OlderTunesImage older = JoinOlderTunes(tunes, controls);
        EXPECT_EQ(record.bytes, QByteArray(reinterpret_cast<const char*>(older.data()), 574));
        EXPECT_EQ(Word(client.Read(MeterArea::kTunesChecksum, 2).bytes), Crc(record.bytes));
        EXPECT_EQ(client.Read(MeterArea::kControls, 64).exception, SlaveException::kIllegalAddress);
        EXPECT_EQ(client.Write(MeterArea::kControls, QByteArray(64, '\0')), SlaveException::kIllegalAddress);
    }
    {
        SimOptions options = AtLevel(515);
        options.badTunesChecksum = true;
        options.badOpenChecksum = true;
        MeterSimulator meter(options);
        SlaveClient client(meter);
        EXPECT_NE(Word(client.Read(MeterArea::kTunesChecksum, 2).bytes),
                  Crc(client.Read(MeterArea::kTunes, 510).bytes));
        EXPECT_NE(Word(client.Read(MeterArea::kOpenChecksum, 2).bytes),
                  Crc(client.Read(MeterArea::kOpenSettings, 22).bytes));
    }
}

TEST(ConfigurationArea, BlankConfigKeepsTheFactoryBlankMemory)
{
    TunesRecord tunes;
    OpenSettings open;
    MakeDefaultTunes(tunes, open);
    SimOptions options = AtLevel(515);
    options.blankConfiguration = true;
    MeterSimulator meter(options);
    SlaveClient client(meter);
    const SlaveReply record = client.Read(MeterArea::kTunes, 510);
    ASSERT_TRUE(record.Ok());
    EXPECT_EQ(record.bytes, SlaveClient::Bytes(tunes));
    EXPECT_EQ(client.Read(MeterArea::kTunesChecksum, 8).bytes, ChecksumBlock(Crc(record.bytes), 8));
    EXPECT_EQ(client.Read(MeterArea::kOpenSettings, 22).bytes, SlaveClient::Bytes(open));
    EXPECT_EQ(client.Read(MeterArea::kControls, 64).bytes, QByteArray(64, '\0'));
}

TEST(ConfigurationArea, WrittenBetweenCommandsOneAndTwoIsWhatIsReadBack)
{
    for (const std::uint16_t level : {511, 515}) {
        SCOPED_TRACE(level);
        MeterSimulator meter(AtLevel(level));
        SlaveClient client(meter);
        const int bytes = AreaSize(MeterArea::kTunes, level);
        QByteArray record = client.Read(MeterArea::kTunes, bytes).bytes;
        record[0] = 7;               // report hour
        record[bytes - 1] = '\x5A';  // the last byte: the controls' tail below 512
        QByteArray open = client.Read(MeterArea::kOpenSettings, 22).bytes;
        open[0] = 42;
        const int logged = meter.Logs().Capacity(kEventLogDbChanges).writeIndex;

        ASSERT_EQ(WriteConfiguration(client, record, open), 0);
        EXPECT_EQ(client.Read(MeterArea::kTunes, bytes).bytes, record);
        EXPECT_EQ(client.Read(MeterArea::kOpenSettings, 22).bytes, open);
        EXPECT_EQ(Word(client.Read(MeterArea::kTunesChecksum, 2).bytes), Crc(record));
        EXPECT_EQ(ConfigurationArea::ReportTimeOf(meter.Image()).hour, 7);
        // The DB-changes log tells the checksum before and after.
        ASSERT_EQ(Value(meter.Logs().Capacity(kEventLogDbChanges).writeIndex), logged + 1);
        const EventRecord& entry = meter.Logs().At(kEventLogDbChanges, logged);
        EXPECT_EQ(entry.QuantityType(), MeterEvent::kConfigurationWritten);
        EXPECT_EQ(EventValueInteger(entry.ValueKind(), entry.newValue), Crc(record));
        // A repeated command 2 (its first answer lost) finds everything consistent.
        EXPECT_EQ(client.ServiceCommand(ConfigurationArea::kCloseProtectedWrite), 0);
    }
}

TEST(ConfigurationArea, RefusesUnprotectedWritesAndKeepsTheOldRecordOnAWrongChecksum)
{
    MeterSimulator meter(AtLevel(515));
    SlaveClient client(meter);
    const QByteArray original = client.Read(MeterArea::kTunes, 510).bytes;
    const QByteArray originalChecksum = client.Read(MeterArea::kTunesChecksum, 8).bytes;
    QByteArray changed = original;
    changed[1] = 3;  // report day

    // Without command 1 neither the record nor its checksum may be touched.
    EXPECT_EQ(client.Write(MeterArea::kTunes, changed), SlaveException::kAccessDenied);
    EXPECT_EQ(client.Write(MeterArea::kTunesChecksum, ChecksumBlock(Crc(changed), 8)), SlaveException::kAccessDenied);

    // A checksum that does not vouch for the record: command 2 refuses and puts the old one back.
    ASSERT_EQ(client.ServiceCommand(ConfigurationArea::kOpenProtectedWrite), 0);
    ASSERT_EQ(client.Write(MeterArea::kTunes, changed), 0);
    ASSERT_EQ(client.Write(MeterArea::kTunesChecksum, ChecksumBlock(Crc(original), 8)), 0);
    EXPECT_EQ(client.ServiceCommand(ConfigurationArea::kCloseProtectedWrite), SlaveException::kIllegalValue);
    EXPECT_EQ(client.Read(MeterArea::kTunes, 510).bytes, original);
    EXPECT_EQ(client.Read(MeterArea::kTunesChecksum, 8).bytes, originalChecksum);
    EXPECT_FALSE(meter.Configuration().ProtectedWriteOpen());

    // Open settings that do not match the checksum written before them are refused whole.
    const QByteArray open = client.Read(MeterArea::kOpenSettings, 22).bytes;
    QByteArray otherOpen = open;
    otherOpen[2] = 'X';
    EXPECT_EQ(client.Write(MeterArea::kOpenSettings, otherOpen), SlaveException::kIllegalValue);
    EXPECT_EQ(client.Read(MeterArea::kOpenSettings, 22).bytes, open);
}

TEST(ServiceCommandArea, RunsOnlyWholeBlocksAndKnownCodes)
{
    MeterSimulator meter(AtLevel(515));
    SlaveClient client(meter);
    // Two of the block's four registers.
    EXPECT_EQ(client.Write(MeterArea::kServiceCommand, QByteArray("\x01\x00\x00\x00", 4)),
              SlaveException::kIllegalValue);
    EXPECT_FALSE(meter.Configuration().ProtectedWriteOpen());
    EXPECT_EQ(client.ServiceCommand(1234), SlaveException::kIllegalValue);
    EXPECT_EQ(client.ServiceCommand(ConfigurationArea::kOpenProtectedWrite), 0);
    EXPECT_TRUE(meter.Configuration().ProtectedWriteOpen());
}

TEST(ConfigurationArea, APlainImageKeepsWhateverIsWritten)
{
    // With no area behaviour the record takes any write and the archive areas read as they lie.
    SimOptions options = AtLevel(515);
    options.plainImage = true;
    MeterSimulator meter(options);
    SlaveClient client(meter);
    const QByteArray bytes(510, '\x5A');
    ASSERT_EQ(client.Write(MeterArea::kTunes, bytes), 0);
    EXPECT_EQ(client.Read(MeterArea::kTunes, 510).bytes, bytes);
    EXPECT_EQ(client.Read(MeterArea::kArchiveRecord, 218).bytes, QByteArray(218, '\0'));
}
