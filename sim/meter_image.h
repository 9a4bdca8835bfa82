#pragma once
// The simulated meter's register space: 4213 registers kept as the little-endian byte image the
// master lays its records over; registers travel big-endian on the wire.

#include <array>
#include <cstdint>

class MeterImage {
public:
    static constexpr int kRegisterCount = 4213;
    static constexpr int kByteCount = 2 * kRegisterCount;

    std::uint8_t* Bytes() { return m_bytes.data(); }
    const std::uint8_t* Bytes() const { return m_bytes.data(); }
    std::uint8_t* At(int registerNumber) { return m_bytes.data() + 2 * registerNumber; }
    const std::uint8_t* At(int registerNumber) const { return m_bytes.data() + 2 * registerNumber; }

    static bool InRange(int start, int count) { return start >= 0 && count >= 0 && start + count <= kRegisterCount; }

    // Puts `count` registers from `start` on the wire, high byte first.
    void ToWire(int start, int count, std::uint8_t* out) const;
    // Takes `count` registers from the wire into the image.
    void FromWire(int start, int count, const std::uint8_t* in);

    void PutU16(int byteOffset, std::uint16_t value);
    void PutU32(int byteOffset, std::uint32_t value);
    std::uint16_t GetU16(int byteOffset) const;

private:
    std::array<std::uint8_t, kByteCount> m_bytes{};
};
