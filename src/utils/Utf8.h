// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

// Text is UTF-8 from the catalogue and the keyboard to the screen and the
// player's files.
namespace Utf8 {

inline constexpr char32_t kInvalid = 0xffffffff;

// The character starting at `text` and its length in bytes (1 for a byte
// that starts no valid character, which then reads as kInvalid). Overlong
// forms, surrogates and code points past U+10FFFF are invalid.
struct Decoded {
    char32_t code;
    std::size_t length;
};

constexpr Decoded decode(const char* text, std::size_t available)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead < 0x80                   ? 1
                               : lead >= 0xc2 && lead < 0xe0 ? 2
                               : lead >= 0xe0 && lead < 0xf0 ? 3
                               : lead >= 0xf0 && lead < 0xf5 ? 4
                                                             : 0;
    if (length == 0 || length > available)
        return {kInvalid, 1};
    char32_t code = length == 1 ? lead : lead & (0x7fu >> length);
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[k]);
        if ((next & 0xc0) != 0x80)
            return {kInvalid, 1};
        code = (code << 6) | (next & 0x3f);
    }
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10ffff || (code >= 0xd800 && code < 0xe000))
        return {kInvalid, 1};
    return {code, length};
}

// Strict in the same way, each bad byte one invalid unit.
struct Unit {
    char32_t code = kInvalid;
    std::size_t length = 1; // bytes; 0 at the terminating NUL
};

// The character that starts at `text`, which ends with a NUL; never reads past it.
Unit decode(const char* text);
void append(std::string& out, char32_t code);
// Characters, counting each invalid byte as one.
std::size_t length(const std::string& text);
// The text without its invalid bytes.
std::string valid(const std::string& text);
// The byte offset of the character before `offset` (0 at the start).
std::size_t previous(const std::string& text, std::size_t offset);
// The length of the longest start of the text that has at most `characters`
// characters and `bytes` bytes.
std::size_t prefixBytes(const std::string& text, std::size_t characters,
                        std::size_t bytes = std::string::npos);

} // namespace Utf8
