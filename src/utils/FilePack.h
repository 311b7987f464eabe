// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One file handed out by a pack: the receiver owns the bytes.
struct PackEntry {
    std::vector<std::uint8_t> data;
    std::uint32_t size = 0;
    std::uint32_t offset = 0; // position of the data in the pack file; 0 for disk files
    char scrambled = 'n';     // 'y' when stored scrambled with the pack key

    const char* chars() const { return reinterpret_cast<const char*>(data.data()); }
    void release();
};

// The directory of one pack file ("LB" layout). Requests are served from the
// pack when it holds the name, else from the disk under the lower-cased name
// in the pack's disk folder.
class FilePack {
public:
    // Far above the game's own packs (about 5 and 13 MB) and within the
    // layout's 32-bit offsets; no pack is ever read whole.
    static constexpr std::uint64_t kMaxPackSize = 1u << 30;
    // Any one file, in a pack or on the disk: the largest picture the
    // decoders accept is 64 MB unpacked, and no stored file comes near.
    static constexpr std::uint32_t kMaxEntrySize = 64u << 20;

    void setKey(const std::string& key) { m_key = key; }
    // Where names the pack lacks are read from (ends with '/'); empty: the working directory.
    void setDiskFolder(const std::string& folder) { m_diskFolder = folder; }
    // False when the file is missing or no pack at all. A pack whose table
    // of contents breaks off keeps its whole entries and loads; damage()
    // says what was wrong either way.
    bool load(const std::string& packPath);
    // Empty after a load that read the whole table or found no file.
    const std::string& damage() const { return m_damage; }
    // The pack's copy, else the disk file; a name found nowhere is fatal ("file != 0").
    PackEntry getFile(const std::string& name) const;
    // Like getFile, but an absent file gives nothing instead of ending the program.
    std::optional<PackEntry> findFile(const std::string& name) const;
    bool contains(const std::string& name) const;

    // A pack laid over this one (a language's): the names it holds are read
    // from it, every other name from this pack. Null takes it away. Not while
    // another thread reads this pack.
    void setOverlay(std::unique_ptr<FilePack> overlay) { m_overlay = std::move(overlay); }
    const FilePack* overlay() const { return m_overlay.get(); }

    bool addFile(const std::string& diskPath, const std::string& nameInPack, bool scramble);
    bool save(const std::string& packPath) const;

    std::size_t entryCount() const { return m_entries.size(); }
    const std::vector<PackEntry>& entries() const { return m_entries; }
    const std::vector<std::string>& names() const { return m_names; }

    // The pack scrambling: the same call scrambles and unscrambles.
    static void scrambleInPlace(std::uint8_t* data, std::size_t size, const std::string& key);

private:
    int indexOf(const std::string& name) const;
    bool readTable(std::FILE* file, std::uint32_t count, std::uint64_t total);
    std::optional<PackEntry> readEntry(std::size_t index) const;

    std::vector<PackEntry> m_entries;
    std::vector<std::string> m_names;
    std::string m_path;
    std::string m_key;
    std::string m_diskFolder;
    std::string m_damage;
    std::unique_ptr<FilePack> m_overlay;
};

// The key of the game's own pack, data/data.pk.
inline constexpr const char* kMainPackKey = "58#^&*9071zkpmvut904#^317ql";

// The registry of packs by name; the game uses one, "main". Creating a
// name again replaces its pack; getting one never created ends the program.
FilePack& createPack(const std::string& name);
FilePack& getPack(const std::string& name);
bool packExists(const std::string& name);
void destroyPack(const std::string& name);
