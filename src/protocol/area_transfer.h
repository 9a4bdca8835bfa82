#pragma once
// AreaTransfer moves areas of the register image between the driver and the meter in the node's
// function set: functions 3 and 16, or the meter's own 0x48, which can write a request block and read
// the answer in one transfer. Used by the driver's command thread only.

#include "protocol/driver_data.h"

class CModbusMaster;
class ChannelOwner;
struct ChannelSettings;

class AreaTransfer {
public:
    // Attempts and answer time-out of one transfer.
    struct Limits {
        int attempts = 0;
        int timeoutSec = 0;
    };

    // All of them must outlive this object; `owner` logs and shows what goes wrong.
    AreaTransfer(CModbusMaster& master, DriverData& data, const ChannelSettings& channel, ChannelOwner& owner);

    // The channel's own attempts and answer time-out.
    Limits ChannelLimits() const;

    // Each returns false on any failure, already reported. `operation` names the failure.
    bool ReadArea(MeterArea area, int bytes, const char* operation, Limits limits);
    bool WriteArea(const RegisterImage& from, MeterArea area, int bytes, const char* operation, Limits limits);
    // Puts the request block into the image at register 99 and writes it, then reads the answer area:
    // one 0x48 transfer in the meter's own function set (or when `always48`), two in the standard one.
    bool WriteRequestThenRead(const ArchiveRequest& request, MeterArea readArea, int readBytes, const char* operation,
                              bool always48 = false);

    // "Ошибка выполнения <operation>!" in the log and in an error box.
    void ReportOperationError(const char* operation);

private:
    // How areas travel: the node's function set, or nowhere when it names none.
    enum class Route { kStandard, kFunction48, kNone };
    // Reports the operation's error when the function set is neither.
    Route RouteFor(const char* operation);

    CModbusMaster& m_master;
    DriverData& m_data;
    const ChannelSettings& m_channel;
    ChannelOwner& m_owner;
};
