#pragma once
// What a client that shows and edits the driver's data needs of the driver (the desktop program's pages):
// the data and configuration between commands, whether it is busy or connected, and its queues.
// CRovoRedod is one; a page gets this from its host, not the whole driver with its channel, master and
// threads.

#include "meter/register_map.h"
#include "protocol/driver_data.h"

#include <cstdint>
#include <span>

class CommandRequester;
class CTransmitChanel;

class DriverAccess {
public:
    // DriverCommand; true once it is queued. `requester` takes the requester slot.
    virtual bool QueueCommand(std::uint32_t code, CommandRequester* requester) = 0;
    // DriverServiceRequest.
    virtual void QueueServiceRequest(std::uint32_t code) = 0;
    // A page going away makes sure it is not notified any more.
    virtual void ForgetRequester(const CommandRequester* requester) = 0;
    virtual bool IsBusy() const = 0;
    virtual bool IsDeviceConnected() const = 0;

    virtual DriverData& Data() = 0;
    virtual const DriverData& Data() const = 0;
    virtual ConfigurationBlocks& Configuration() = 0;
    virtual std::uint16_t FirmwareLevel() const = 0;
    // The bytes of an area in the image, as many as the connected meter's firmware level transfers.
    virtual std::span<const std::uint8_t> AreaBytes(MeterArea area) const = 0;
    // The channel to the meter, to be looked at only (the stand's line is set up beside it).
    virtual const CTransmitChanel& MeterChannel() const = 0;

protected:
    ~DriverAccess() = default;
};
