#include "protocol/device_operations.h"

#include <utility>

DeviceOperations::DeviceOperations(DriverData& data, AreaTransfer& areas, ChannelOwner& owner, BeginFunction begin)
    : m_data(data), m_areas(areas), m_owner(owner), m_begin(std::move(begin))
{}
