// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace soundgen {

// A fault in a source file, already phrased as "file:line: what is wrong".
class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SourceLine {
    int number = 0;
    std::vector<std::string> words;
};

// The non-empty lines of a text source, split at blanks, with comments (from a word
// starting with '#') removed.
class SourceText {
public:
    static SourceText fromFile(const std::string& path);
    static SourceText fromString(const std::string& name, const std::string& text);

    const std::vector<SourceLine>& lines() const { return m_lines; }
    [[noreturn]] void fail(const SourceLine& line, const std::string& message) const;
    [[noreturn]] void fail(int lineNumber, const std::string& message) const;

private:
    std::string m_name;
    std::vector<SourceLine> m_lines;
};

// key=value words after a line's leading words.
class Options {
public:
    Options(const SourceText& text, const SourceLine& line, size_t firstWord);

    bool has(const std::string& key) const { return m_values.count(key) > 0; }
    double number(const std::string& key, double fallback) const;
    std::string word(const std::string& key, const std::string& fallback) const;
    // Every key must have been read by now; a stray one is a typing error.
    void rejectUnused() const;

private:
    const SourceText& m_text;
    const SourceLine& m_line;
    std::map<std::string, std::string> m_values;
    mutable std::map<std::string, bool> m_used;
};

double parseNumber(const std::string& word, bool& ok);

} // namespace soundgen
