// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

// One language's translations, read from a compiled gettext catalogue (.mo,
// either byte order). Every offset and length is checked against the file,
// so a damaged catalogue loads what it can prove whole or nothing at all.
// Entries are dropped, and counted, when their translation is not UTF-8 or
// has other printf conversions than the English text: drawing such a string
// could read arguments that are not there.
class Catalogue {
public:
    // Far above any catalogue of this game (a few tens of kilobytes).
    static constexpr std::size_t kMaxSize = 4u << 20;

    // False, and the catalogue empty, when the bytes are no catalogue at all
    // or not UTF-8 throughout; `problem()` says why.
    bool load(const std::uint8_t* bytes, std::size_t size);

    // The translation of `english`, or null when there is none.
    const std::string* find(const std::string& english) const;
    bool empty() const { return m_translations.empty(); }
    std::size_t size() const { return m_translations.size(); }
    std::size_t dropped() const { return m_dropped; }
    const std::string& problem() const { return m_problem; }

    // The printf conversions of a text in order ("%d", "%02d", ...; "%%" is none).
    static std::string conversions(const std::string& text);
    static bool isUtf8(const std::string& text);

private:
    bool fail(const char* problem);
    void add(const std::string& english, const std::string& translation);

    std::unordered_map<std::string, std::string> m_translations;
    std::size_t m_dropped = 0;
    std::string m_problem;
};
