#pragma once
// The device operations: each reads or writes one kind of the meter's data through the area transfers
// and keeps what it read in the driver's data. They run on the driver's command thread (or on one
// thread with no driver threads at all); each tells its start first, and every failure is already
// reported when one returns false.

#include "protocol/area_transfer.h"
#include "protocol/driver_data.h"

#include <QString>

#include <cstdint>
#include <functional>

class ChannelOwner;

class DeviceOperations {
public:
    // How an operation's start is told: its title for the log, and the shorter one the progress shows
    // (the title when empty).
    using BeginFunction = std::function<void(const QString& title, const QString& progressTitle)>;

    // `owner` shows the messages of the checksum checks and takes the log lines.
    DeviceOperations(DriverData& data, AreaTransfer& areas, ChannelOwner& owner, BeginFunction begin);

    // config_operations.cpp: identity and configuration.
    bool ReadVersionInfo();
    // The identity block into `identity`; false for a device of another type.
    bool ReadIdentityInto(DeviceIdentity& identity);
    bool ReadAllTunes();
    bool WriteAllTunes();
    // The working configuration in the layout of `meter`'s firmware level, between service commands 1 and 2.
    bool WriteTunesFor(const DeviceIdentity& meter);

    // service_operations.cpp
    bool WriteServiceCmd(std::uint32_t code, std::uint32_t value);
    bool SetDeviceClock();
    bool WritePasswordChangeBd(const PasswordBytes& password);
    bool WriteChangeParCmd(std::uint32_t code, std::uint32_t value, std::uint16_t extra);
    bool ReadManufactureData();
    bool WriteManufactureData();
    bool ReadServicecenterData();
    bool WriteServicecenterData();

    // archive_operations.cpp
    bool ReadArchInfo();
    // How a value-archive record read ended.
    enum class RecordRead {
        kRead,       // the record asked for, or an empty slot, is in the answer area
        kOtherDate,  // every answer carried another record's date: the area is cleared, nothing to store
        kFailed,     // the transfer failed (already reported)
    };
    // One record for the current request. An answer carrying another record's date (another master asked
    // between our two exchanges) is asked for again, within the node's attempts; each repeat and the
    // final refusal are logged, not shown, so a caller reading many records tells the user once;
    // `refusal`, when given, gets the refusal's text.
    RecordRead ReadArchRecord(QString* refusal = nullptr);
    // The same for a single read: the refusal is also shown.
    bool ReadArchValues();
    bool ReadCurrentValues();
    bool ReadAsyncArch();
    bool ReadFlashPage();
    bool ReadCurrentDateTime();

private:
    using Limits = AreaTransfer::Limits;

    void BeginOperation(const QString& title, const QString& progressTitle = QString()) const
    {
        m_begin(title, progressTitle);
    }
    std::uint16_t FirmwareLevel() const { return m_data.configuration.identity.firmwareLevel; }
    void TakeReadConfiguration(std::uint16_t level);
    // The maker and service-centre areas, cleared before a read.
    bool ReadDataArea(MeterArea area, const char* title, const char* operation);
    bool WriteDataArea(MeterArea area, const char* title, const char* operation, const void* values);

    DriverData& m_data;
    AreaTransfer& m_areas;
    ChannelOwner& m_owner;
    BeginFunction m_begin;
};
