// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/Utf8.h"

#include <algorithm>

namespace Utf8 {

namespace {

bool isContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The sequence length a lead byte announces, and its payload bits; 0 for a
// byte that cannot start a character.
std::size_t sequenceLength(unsigned char lead, char32_t& bits)
{
    if (lead < 0x80) {
        bits = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        bits = lead & 0x1F;
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        bits = lead & 0x0F;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        bits = lead & 0x07;
        return 4;
    }
    return 0;
}

bool inRange(char32_t code, std::size_t length)
{
    constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    return code >= kSmallest[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

} // namespace

Unit decode(const char* text)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    if (lead == 0)
        return {0, 0};
    char32_t code = 0;
    const std::size_t length = sequenceLength(lead, code);
    if (length == 0)
        return {};
    for (std::size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (!isContinuation(byte))
            return {};
        code = code << 6 | (byte & 0x3F);
    }
    if (!inRange(code, length))
        return {};
    return {code, length};
}

void append(std::string& out, char32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | code >> 6);
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | code >> 12);
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else if (code <= 0x10FFFF) {
        out += char(0xF0 | code >> 18);
        out += char(0x80 | (code >> 12 & 0x3F));
        out += char(0x80 | (code >> 6 & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

std::size_t length(const std::string& text)
{
    std::size_t count = 0;
    for (const char* c = text.c_str(); *c != '\0'; c += decode(c).length)
        ++count;
    return count;
}

std::string valid(const std::string& text)
{
    std::string kept;
    for (const char* c = text.c_str(); *c != '\0';) {
        const Unit unit = decode(c);
        if (unit.code != kInvalid)
            kept.append(c, unit.length);
        c += unit.length;
    }
    return kept;
}

std::size_t previous(const std::string& text, std::size_t offset)
{
    std::size_t start = 0;
    for (std::size_t at = 0; at < offset && at < text.size();) {
        start = at;
        at += std::max<std::size_t>(decode(text.c_str() + at).length, 1); // a NUL is one byte
    }
    return start;
}

std::size_t prefixBytes(const std::string& text, std::size_t characters, std::size_t bytes)
{
    std::size_t at = 0;
    for (std::size_t n = 0; n < characters && at < text.size(); ++n) {
        const std::size_t next = at + decode(text.c_str() + at).length;
        if (next > bytes || next == at)
            break;
        at = next;
    }
    return at;
}

} // namespace Utf8
