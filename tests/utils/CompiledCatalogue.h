// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using Pairs = std::vector<std::pair<std::string, std::string>>;

// A compiled catalogue as msgfmt lays it out: header, two tables, the strings.
inline std::vector<std::uint8_t> compiled(const Pairs& entries, bool bigEndian = false)
{
    std::vector<std::uint8_t> bytes;
    auto word = [&](std::uint32_t value) {
        for (int k = 0; k < 4; ++k)
            bytes.push_back(std::uint8_t(value >> (bigEndian ? 24 - 8 * k : 8 * k)));
    };
    const auto count = static_cast<std::uint32_t>(entries.size());
    word(0x950412de);
    word(0);
    word(count);
    word(28);
    word(28 + 8 * count);
    word(0);
    word(0);
    std::uint32_t offset = 28 + 16 * count;
    for (int table = 0; table < 2; ++table)
        for (const auto& entry : entries) {
            const std::string& text = table == 0 ? entry.first : entry.second;
            word(static_cast<std::uint32_t>(text.size()));
            word(offset);
            offset += static_cast<std::uint32_t>(text.size()) + 1;
        }
    for (int table = 0; table < 2; ++table)
        for (const auto& entry : entries) {
            const std::string& text = table == 0 ? entry.first : entry.second;
            bytes.insert(bytes.end(), text.begin(), text.end());
            bytes.push_back(0);
        }
    return bytes;
}
