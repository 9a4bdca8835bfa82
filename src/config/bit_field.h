#pragma once
// Reading and writing a run of bits inside a record word. Records never use C bit-fields: their
// layout is the compiler's choice, while these words travel to the meter and into files as they are.
// Both helpers take and return words by value: record words sit unaligned in packed records, where
// a reference to them would be misaligned.

#include <type_traits>

template <typename Word>
constexpr unsigned GetBits(Word word, unsigned first, unsigned count)
{
    static_assert(std::is_unsigned_v<Word>);
    return static_cast<unsigned>((word >> first) & ((Word(1) << count) - 1));
}

// The word with `value` cut to `count` bits stored at `first`; every other bit keeps its value.
template <typename Word>
constexpr Word WithBits(Word word, unsigned first, unsigned count, unsigned value)
{
    static_assert(std::is_unsigned_v<Word>);
    const Word mask = static_cast<Word>(((Word(1) << count) - 1) << first);
    return static_cast<Word>((word & ~mask) | ((static_cast<Word>(value) << first) & mask));
}
