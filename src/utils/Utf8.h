// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>

// UTF-8 as the game's text carries it. Decoding is strict: overlong forms,
// surrogates, code points past U+10FFFF and cut sequences are invalid, and
// each of their bytes is one invalid unit, so a reader always moves on.
namespace Utf8 {

constexpr char32_t kInvalid = 0xFFFFFFFF;

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
