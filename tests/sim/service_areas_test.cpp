#include "support/slave_client.h"

#include "sim/flash_area.h"
#include "sim/maintenance_commands.h"
#include "sim/meter_areas.h"

#include "base/checksums.h"

#include <gtest/gtest.h>

namespace {

SimOptions IdentifiedAtLevel(std::uint16_t level)
{
    SimOptions options;
    options.identity.firmwareLevel = level;
    options.identity.serialNumber = 0x01020304;
    options.identity.model = 2;
    return options;
}

QByteArray PageRequest(std::uint16_t page)
{
    QByteArray block(12, '\0');
    block[8] = static_cast<char>(page & 0xFF);
    block[9] = static_cast<char>(page >> 8);
    return block;
}

}  // namespace

TEST(ServiceDataArea, MakerDataByLevelAndServiceCentreDataKeptAsWritten)
{
    {
        MeterSimulator meter(IdentifiedAtLevel(512));
        SlaveClient client(meter);
        // Identifier, serial number at manufacture, model, three free bytes, date of manufacture.
        const QByteArray maker = client.Read(MeterArea::kMakerData, 14).bytes;
        EXPECT_EQ(maker.toHex(),
                  QByteArray("170004030201"
                             "02"
                             "000000"
                             "0f01140a"));
        QByteArray written = QByteArray::fromHex("2a00785634120400aabb0a0b1813");
        ASSERT_EQ(client.Write(MeterArea::kMakerData, written), 0);
        EXPECT_EQ(client.Read(MeterArea::kMakerData, 14).bytes, written);
        // Model 5 does not exist.
        written[6] = 5;
        EXPECT_EQ(client.Write(MeterArea::kMakerData, written), SlaveException::kIllegalValue);
        EXPECT_EQ(client.Read(MeterArea::kMakerData, 14).bytes[6], 4);

        QByteArray centre(28, '\0');
        centre[0] = 0x11;
        centre[4] = 0x0A;  // battery type 2, variant 1
        ASSERT_EQ(client.Write(MeterArea::kServiceCentreData, centre), 0);
        EXPECT_EQ(client.Read(MeterArea::kServiceCentreData, 28).bytes, centre);
    }
    {
        // Below 512 only six bytes exist.
        MeterSimulator meter(IdentifiedAtLevel(511));
        SlaveClient client(meter);
        EXPECT_EQ(client.Read(MeterArea::kMakerData, 6).bytes.toHex(), QByteArray("170004030201"));
        EXPECT_EQ(client.Read(MeterArea::kMakerData, 14).exception, SlaveException::kIllegalAddress);
        EXPECT_EQ(client.Write(MeterArea::kMakerData, QByteArray(14, '\1')), SlaveException::kIllegalAddress);
        ASSERT_EQ(client.Write(MeterArea::kMakerData, QByteArray(6, '\1')), 0);
        EXPECT_EQ(client.Read(MeterArea::kMakerData, 6).bytes, QByteArray(6, '\1'));
    }
}

TEST(FlashArea, PagesAreDeterministicWholeAndBounded)
{
    SimOptions options;
    options.seed = 77;
    MeterSimulator meter(options);
    SlaveClient client(meter);
    // The page is asked for and read in one 0x48 transfer, as the configurator does.
    const SlaveReply page = client.WriteRead48(MeterArea::kArchiveRequest, PageRequest(513), MeterArea::kFlashPage,
                                               256);
    ASSERT_TRUE(page.Ok());
    EXPECT_EQ(page.bytes, FlashArea::PageBytes(77, 513));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(page.bytes.constData());
    EXPECT_EQ(GetLittleEndian16(bytes), 513);
    EXPECT_EQ(GetLittleEndian16(bytes + 254), Crc16Modbus(bytes, 254));
    EXPECT_NE(FlashArea::PageBytes(77, 514).mid(2, 252), page.bytes.mid(2, 252));
    EXPECT_NE(FlashArea::PageBytes(78, 513), page.bytes);
    EXPECT_EQ(
        client.WriteRead48(MeterArea::kArchiveRequest, PageRequest(FlashArea::kPageCount), MeterArea::kFlashPage, 256)
            .exception,
        SlaveException::kIllegalValue);
}

TEST(MaintenanceCommands, CalibrationUntilLockedAndReadOnlyAreasRefuseWrites)
{
    MeterSimulator meter(SimOptions{});
    SlaveClient client(meter);
    for (std::uint16_t code = 65437; code <= MaintenanceCommands::kLastCalibrationStep; ++code)
        EXPECT_EQ(client.ServiceCommand(code), 0) << code;
    ASSERT_EQ(client.ServiceCommand(MaintenanceCommands::kLockCalibration), 0);
    EXPECT_TRUE(meter.State().calibrationLocked);
    EXPECT_EQ(client.ServiceCommand(65437), SlaveException::kAccessDenied);
    EXPECT_EQ(client.ServiceCommand(65446), SlaveException::kIllegalValue);

    for (const MeterArea area : {MeterArea::kIdentity, MeterArea::kDescriptorDates, MeterArea::kArchiveRecord,
                                 EventLogReceiveArea(2), MeterArea::kCurrentValues, MeterArea::kFlashPage})
        EXPECT_EQ(client.Write(area, QByteArray(2, '\0')), SlaveException::kReadOnly) << AreaRegister(area);
    EXPECT_EQ(client.Read(MeterArea::kIdentity, 2).bytes, QByteArray("\x02\x17", 2));
}
