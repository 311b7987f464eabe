// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

class FilePack;

// The flat key/value text store behind every settings-like file. Keys are kept
// in byte order and saved in that order; see the .cpp for the syntax.
class KeyValueFile {
public:
    // Pack first, then disk; a name found in neither is fatal, as for every asset.
    bool loadFromPack(FilePack& pack, const std::string& name, bool clearFirst,
                      const char* key = nullptr, std::size_t keyLength = 0);
    // The player's settings, scores and saved game are a few kilobytes.
    static constexpr std::uint64_t kMaxDiskSize = 4u << 20;

    // False (and the store untouched) when the file is missing or is no
    // regular file of at most kMaxDiskSize; the latter costs a line in the log.
    bool loadFromDisk(const std::string& path, bool clearFirst, const char* key = nullptr,
                      std::size_t keyLength = 0);
    bool parseBuffer(const char* bytes, std::size_t count, bool clearFirst,
                     const char* key = nullptr, std::size_t keyLength = 0);
    // Replaces the file atomically; silently does nothing when it cannot be written.
    bool save(const std::string& path, const char* key = nullptr, std::size_t keyLength = 0) const;

    std::string getString(const std::string& key, const std::string& defaultValue) const;
    int getInt(const std::string& key, int defaultValue) const;
    bool getBool(const std::string& key, bool defaultValue) const;
    float getFloat(const std::string& key, float defaultValue) const;
    void setString(const std::string& key, const std::string& value);
    void setInt(const std::string& key, int value);
    bool contains(const std::string& key) const { return m_entries.count(key) != 0; }
    void clear() { m_entries.clear(); }

    const std::map<std::string, std::string>& entries() const { return m_entries; }
    // The written form save produces, before scrambling.
    std::string writtenForm() const;

private:
    std::map<std::string, std::string> m_entries;
};
