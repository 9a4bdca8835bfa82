#pragma once
// The slave side of the meter's Modbus functions over the register image: read holding registers (3),
// write multiple registers (16) and the meter's combined write-and-read (0x48). Areas with behaviour of
// their own (clock, archives, service commands...) plug in as AreaBehaviour objects.

#include "meter_image.h"

#include <cstdint>
#include <vector>

class AreaBehaviour {
public:
    virtual ~AreaBehaviour() = default;
    // Before the written registers reach the image: 0 lets them in, else the exception code.
    virtual int CheckWrite(const MeterImage&, int /*start*/, int /*count*/, const std::uint8_t* /*wire*/) { return 0; }
    // After they reached it: effects of the write (0, or an exception code for the answer).
    virtual int AfterWrite(MeterImage&, int /*start*/, int /*count*/) { return 0; }
    // Before registers are read: fill them in (0), or refuse with an exception code.
    virtual int BeforeRead(MeterImage&, int /*start*/, int /*count*/) { return 0; }
};

class ModbusSlave {
public:
    static constexpr int kMaxRead3 = 125;
    static constexpr int kMaxWrite16 = 123;
    static constexpr int kMaxRead48 = 146;
    static constexpr int kMaxWrite48 = 142;
    // The longest request the meter takes, address to last data byte: 0x48 writing 142 registers.
    static constexpr int kMaxRequestUnit = 14 + 2 * kMaxWrite48;

    explicit ModbusSlave(MeterImage& image) : m_image(image) {}

    void SetAddress(std::uint8_t address) { m_address = address; }
    std::uint8_t Address() const { return m_address; }
    void AddBehaviour(AreaBehaviour* behaviour) { m_behaviours.push_back(behaviour); }

    // Whether the meter takes a request sent to this address: its own, or 0, which a point-to-point
    // line uses to reach whichever meter is on it. Requests for other meters are left unanswered.
    bool Accepts(std::uint8_t address) const { return address == m_address || address == 0; }

    // Answers one request unit (address, function, data; no checksum). The answer is an RTU unit with
    // its CRC. Returns its length, or 0 when the meter stays silent.
    int Answer(const std::uint8_t* unit, int length, std::uint8_t* out, int capacity);

    // Sequence number of the last 0x48 request answered (the "late" fault replays it).
    std::uint16_t LastSequence() const { return m_lastSequence; }
    // The function of the request being answered, for areas that behave by it.
    std::uint8_t RequestFunction() const { return m_requestFunction; }

private:
    int ReadHolding(const std::uint8_t* unit, int length, std::uint8_t* out);
    int WriteMultiple(const std::uint8_t* unit, int length, std::uint8_t* out);
    int WriteRead48(const std::uint8_t* unit, int length, std::uint8_t* out);
    int Exception(std::uint8_t function, int code, std::uint8_t* out);
    int Exception48(int code, std::uint16_t sequence, std::uint8_t* out);
    int CheckAndWrite(int start, int count, const std::uint8_t* wire);
    int PrepareRead(int start, int count);
    int Finish(std::uint8_t* out, int lengthWithoutCrc);

    MeterImage& m_image;
    std::uint8_t m_address = 1;
    std::uint8_t m_requestAddress = 0;
    std::uint8_t m_requestFunction = 0;
    std::uint16_t m_lastSequence = 0;
    std::vector<AreaBehaviour*> m_behaviours;
};

// Modbus exception codes the simulated meter answers with.
namespace SlaveException {
constexpr int kIllegalFunction = 1;
constexpr int kIllegalAddress = 2;
constexpr int kIllegalValue = 3;
constexpr int kReadOnly = 14;      // "Адрес доступен только для чтения!"
constexpr int kAccessDenied = 15;  // "Доступ запрещен!"
constexpr int kNoDataForDate = 133;
}  // namespace SlaveException
