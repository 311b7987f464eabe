// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstring>

// A 64-bit FNV-1a hash taken a 32-bit word at a time: what it keys (a
// frame's recorded primitives, the drawing state) is made of words.
class WordHash {
public:
    void add(std::uint64_t word) { m_value = (m_value ^ word) * 0x100000001b3ULL; }
    // Words of four bytes each: floats, GL integers.
    template <class Word> void addWords(const Word* words, int count)
    {
        static_assert(sizeof(Word) == sizeof(std::uint32_t));
        for (int i = 0; i < count; ++i) {
            std::uint32_t bits = 0;
            std::memcpy(&bits, &words[i], sizeof bits);
            add(bits);
        }
    }
    std::uint64_t value() const { return m_value; }

private:
    std::uint64_t m_value = 0xcbf29ce484222325ULL;
};
