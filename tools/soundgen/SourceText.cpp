// SPDX-License-Identifier: GPL-3.0-or-later
#include "SourceText.h"

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace soundgen {

SourceText SourceText::fromFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw SourceError(path + ": cannot be read");
    std::stringstream buffer;
    buffer << in.rdbuf();
    return fromString(path, buffer.str());
}

SourceText SourceText::fromString(const std::string& name, const std::string& text)
{
    SourceText result;
    result.m_name = name;
    std::istringstream in(text);
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        // a comment starts with a '#' that begins a word: "f#5" is a note, not a comment
        for (size_t hash = raw.find('#'); hash != std::string::npos; hash = raw.find('#', hash + 1))
            if (hash == 0 || std::isspace(static_cast<unsigned char>(raw[hash - 1]))) {
                raw.erase(hash);
                break;
            }
        SourceLine line;
        line.number = number;
        std::istringstream words(raw);
        for (std::string w; words >> w;)
            line.words.push_back(w);
        if (!line.words.empty())
            result.m_lines.push_back(std::move(line));
    }
    return result;
}

void SourceText::fail(const SourceLine& line, const std::string& message) const
{
    fail(line.number, message);
}

void SourceText::fail(int lineNumber, const std::string& message) const
{
    throw SourceError(m_name + ":" + std::to_string(lineNumber) + ": " + message);
}

double parseNumber(const std::string& word, bool& ok)
{
    char* end = nullptr;
    const double value = std::strtod(word.c_str(), &end);
    ok = !word.empty() && end && *end == '\0';
    return value;
}

Options::Options(const SourceText& text, const SourceLine& line, size_t firstWord)
    : m_text(text), m_line(line)
{
    for (size_t i = firstWord; i < line.words.size(); ++i) {
        const std::string& w = line.words[i];
        const size_t eq = w.find('=');
        if (eq == std::string::npos || eq == 0)
            text.fail(line, "expected key=value, found \"" + w + "\"");
        m_values[w.substr(0, eq)] = w.substr(eq + 1);
    }
}

double Options::number(const std::string& key, double fallback) const
{
    auto it = m_values.find(key);
    if (it == m_values.end())
        return fallback;
    m_used[key] = true;
    bool ok = false;
    const double value = parseNumber(it->second, ok);
    if (!ok)
        m_text.fail(m_line, "\"" + key + "\" needs a number, found \"" + it->second + "\"");
    return value;
}

std::string Options::word(const std::string& key, const std::string& fallback) const
{
    auto it = m_values.find(key);
    if (it == m_values.end())
        return fallback;
    m_used[key] = true;
    return it->second;
}

void Options::rejectUnused() const
{
    for (const auto& [key, value] : m_values)
        if (!m_used.count(key))
            m_text.fail(m_line, "unknown setting \"" + key + "\"");
}

} // namespace soundgen
