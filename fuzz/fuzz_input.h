#pragma once
// Splitting one fuzzer input into the pieces a target needs. Every piece is copied into a heap block of
// exactly its size, so reading one byte past it is caught by AddressSanitizer.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

class FuzzInput {
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    // The next byte, 0 once the input is used up.
    std::uint8_t Byte() { return m_position < m_size ? m_data[m_position++] : 0; }
    // The next `count` bytes (fewer when the input ends first).
    std::vector<std::uint8_t> Bytes(std::size_t count)
    {
        count = std::min(count, m_size - m_position);
        std::vector<std::uint8_t> piece(m_data + m_position, m_data + m_position + count);
        m_position += count;
        return piece;
    }
    std::vector<std::uint8_t> Rest() { return Bytes(m_size - m_position); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};
