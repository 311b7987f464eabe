// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/Scrambler.h"

#include <ctime>
#include <random>

namespace {

std::uint8_t keyByte(const char* key, std::size_t keyLength, std::size_t i)
{
    return static_cast<std::uint8_t>(key[i % keyLength]);
}

} // namespace

std::vector<std::uint8_t> Scrambler::scramble(const std::uint8_t* text, std::size_t count,
                                              const char* key, std::size_t keyLength) const
{
    if (count == 0 || key == nullptr || keyLength == 0)
        return {};
    // A generator of our own, so saving a file never disturbs the game's rand() sequence.
    std::minstd_rand random(static_cast<unsigned>(std::time(nullptr)));
    const std::size_t rotation = random() % (count <= 100 ? count : 100);

    std::vector<std::uint8_t> out(count + 1);
    out[0] = static_cast<std::uint8_t>(rotation);
    for (std::size_t i = 0; i < count; ++i)
        out[i + 1] = text[(rotation + i) % count];
    for (std::size_t i = 1; i <= count; ++i) {
        const std::uint8_t previous = out[i - 1];
        std::uint8_t b = out[i] ^ previous;
        b ^= keyByte(key, keyLength, i);
        out[i] = static_cast<std::uint8_t>(b + previous);
    }
    return out;
}

std::vector<std::uint8_t> Scrambler::unscramble(const std::uint8_t* bytes, std::size_t count,
                                                const char* key, std::size_t keyLength) const
{
    if (count < 2 || key == nullptr || keyLength == 0)
        return {};
    const std::size_t length = count - 1;
    std::vector<std::uint8_t> unchained(length);
    for (std::size_t i = 1; i < count; ++i) {
        const std::uint8_t difference = static_cast<std::uint8_t>(bytes[i] - bytes[i - 1]);
        unchained[i - 1] = difference ^ bytes[i - 1] ^ keyByte(key, keyLength, i);
    }
    // A rotation beyond the text only comes from a damaged file; keep it in range.
    const std::size_t rotation = bytes[0] % length;
    std::vector<std::uint8_t> text(length);
    for (std::size_t i = 0; i < length; ++i)
        text[(rotation + i) % length] = unchained[i];
    return text;
}
