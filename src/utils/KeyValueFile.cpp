// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/KeyValueFile.h"

#include "utils/AtomicFile.h"
#include "utils/FilePack.h"
#include "utils/Log.h"
#include "utils/RegularFile.h"
#include "utils/Scrambler.h"

#include <cstdio>
#include <vector>

// Syntax: whitespace is tab, LF, CR and space; "//" starts a comment up to the
// line feed, removed before tokenising (inside quotes too); tokens pair up as
// key and value, a value in double quotes may hold whitespace.
namespace {

bool isSpace(char c)
{
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

void removeComments(std::vector<char>& text)
{
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i - 1] != '/' || text[i] != '/')
            continue;
        std::size_t j = i - 1;
        while (j < text.size() && text[j] != '\n')
            text[j++] = ' ';
        i = j; // the loop steps past the line feed
    }
}

} // namespace

bool KeyValueFile::loadFromPack(FilePack& pack, const std::string& name, bool clearFirst,
                                const char* key, std::size_t keyLength)
{
    PackEntry entry = pack.getFile(name);
    parseBuffer(entry.chars(), entry.data.size(), clearFirst, key, keyLength);
    return true;
}

bool KeyValueFile::loadFromDisk(const std::string& path, bool clearFirst, const char* key,
                                std::size_t keyLength)
{
    std::string problem;
    const auto bytes = RegularFile::read(path, kMaxDiskSize, problem);
    if (!bytes) {
        if (!problem.empty())
            Log::write("Ignoring %s: it %s; the defaults are used instead.", path.c_str(),
                       problem.c_str());
        return false;
    }
    return parseBuffer(reinterpret_cast<const char*>(bytes->data()), bytes->size(), clearFirst, key,
                       keyLength);
}

bool KeyValueFile::parseBuffer(const char* bytes, std::size_t count, bool clearFirst,
                               const char* key, std::size_t keyLength)
{
    if (clearFirst)
        m_entries.clear();
    std::vector<char> text;
    if (key != nullptr && keyLength > 0) {
        const auto plain = Scrambler().unscramble(reinterpret_cast<const std::uint8_t*>(bytes),
                                                  count, key, keyLength);
        text.assign(plain.begin(), plain.end());
    } else if (count > 0) {
        text.assign(bytes, bytes + count);
    }
    removeComments(text);

    std::size_t pos = 0;
    const std::size_t end = text.size();
    auto skipSpace = [&] {
        while (pos < end && isSpace(text[pos]))
            ++pos;
    };
    auto readUntil = [&](auto stop) {
        const std::size_t start = pos;
        while (pos < end && !stop(text[pos]))
            ++pos;
        return std::string(text.data() + start, pos - start);
    };
    for (;;) {
        skipSpace();
        std::string name = readUntil(isSpace);
        if (name.empty())
            break;
        skipSpace();
        std::string value;
        if (pos < end && text[pos] == '"') {
            ++pos;
            value = readUntil([](char c) { return c == '"'; });
            if (pos < end)
                ++pos;
        } else {
            value = readUntil(isSpace);
        }
        m_entries[std::move(name)] = std::move(value);
    }
    return true;
}

std::string KeyValueFile::writtenForm() const
{
    std::string out;
    for (const auto& [name, value] : m_entries) {
        out += name;
        out += ' ';
        // Empty values are quoted too, so they read back as empty.
        const bool quote = value.empty() || value.find(' ') != std::string::npos;
        if (quote)
            out += '"';
        out += value;
        if (quote)
            out += '"';
        out += '\n';
    }
    return out;
}

bool KeyValueFile::save(const std::string& path, const char* key, std::size_t keyLength) const
{
    const std::string text = writtenForm();
    if (key == nullptr || keyLength == 0)
        return AtomicFile::write(path, text.data(), text.size());
    const auto scrambled = Scrambler().scramble(reinterpret_cast<const std::uint8_t*>(text.data()),
                                                text.size(), key, keyLength);
    return AtomicFile::write(path, scrambled.data(), scrambled.size());
}

std::string KeyValueFile::getString(const std::string& key, const std::string& defaultValue) const
{
    const auto it = m_entries.find(key);
    return it == m_entries.end() ? defaultValue : it->second;
}

int KeyValueFile::getInt(const std::string& key, int defaultValue) const
{
    const auto it = m_entries.find(key);
    int value = 0;
    if (it == m_entries.end() || std::sscanf(it->second.c_str(), "%d", &value) != 1)
        return defaultValue;
    return value;
}

bool KeyValueFile::getBool(const std::string& key, bool defaultValue) const
{
    const auto it = m_entries.find(key);
    int value = 0;
    if (it == m_entries.end() || std::sscanf(it->second.c_str(), "%d", &value) != 1)
        return defaultValue;
    return value != 0;
}

float KeyValueFile::getFloat(const std::string& key, float defaultValue) const
{
    const auto it = m_entries.find(key);
    float value = 0;
    if (it == m_entries.end() || std::sscanf(it->second.c_str(), "%f", &value) != 1)
        return defaultValue;
    return value;
}

void KeyValueFile::setString(const std::string& key, const std::string& value)
{
    m_entries[key] = value;
}

void KeyValueFile::setInt(const std::string& key, int value)
{
    m_entries[key] = std::to_string(value);
}
