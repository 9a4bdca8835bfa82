#pragma once
// Reading and writing a run of bits inside a record word. Records never use C bit-fields: their
// layout is the compiler's choice, while these words travel to the meter and into files as they are.

#include <type_traits>

template <typename Word>
constexpr unsigned GetBits(Word word, unsigned first, unsigned count)
{
    static_assert(std::is_unsigned_v<Word>);
    return static_cast<unsigned>((word >> first) & ((Word(1) << count) - 1));
}

// Stores `value` cut to `count` bits; every other bit of the word keeps its value.
template <typename Word>
constexpr void SetBits(Word& word, unsigned first, unsigned count, unsigned value)
{
    static_assert(std::is_unsigned_v<Word>);
    const Word mask = static_cast<Word>(((Word(1) << count) - 1) << first);
    word = static_cast<Word>((word & ~mask) | ((static_cast<Word>(value) << first) & mask));
}
