#include "meter_simulator.h"

namespace {
// Where the identity block keeps what the simulator sets (register 0, little-endian once swapped).
constexpr int kTypeCodeOffset = 0;
constexpr int kSoftwareVersionOffset = 2;
constexpr int kHardwareVersionOffset = 4;
constexpr int kSoftwareChecksumOffset = 6;
constexpr int kModelOffset = 8;
constexpr int kSerialNumberOffset = 10;
constexpr int kFirmwareLevelOffset = 20;
constexpr std::uint16_t kTypeCode = 0x1702;
}  // namespace

MeterSimulator::MeterSimulator(const SimOptions& options)
    : m_options(options), m_slave(m_image), m_faults(options.faults)
{
    m_faults.Reseed(options.seed);
    m_slave.SetAddress(options.address);
    SetIdentity(options.identity);
}

void MeterSimulator::SetIdentity(const SimIdentity& identity)
{
    m_image.PutU16(kTypeCodeOffset, kTypeCode);
    m_image.PutU16(kSoftwareVersionOffset, identity.softwareVersion);
    m_image.PutU16(kHardwareVersionOffset, identity.hardwareVersion);
    m_image.PutU16(kSoftwareChecksumOffset, identity.softwareChecksum);
    m_image.Bytes()[kModelOffset] = identity.model;
    m_image.PutU32(kSerialNumberOffset, identity.serialNumber);
    m_image.PutU16(kFirmwareLevelOffset, identity.firmwareLevel);
}
