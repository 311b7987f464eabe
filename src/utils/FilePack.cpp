// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/FilePack.h"

#include "utils/AtomicFile.h"
#include "utils/FatalError.h"
#include "utils/Log.h"
#include "utils/RegularFile.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

namespace {

constexpr std::size_t kMaxNameLength = 99;

std::string toLower(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The stored name with every `from` turned into `to` equals the request.
bool equalsConverted(const std::string& stored, const std::string& request, char from, char to)
{
    if (stored.size() != request.size())
        return false;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const char c = stored[i] == from ? to : stored[i];
        if (c != request[i])
            return false;
    }
    return true;
}

bool readU32(std::FILE* file, std::uint32_t& value)
{
    std::uint8_t b[4];
    if (std::fread(b, 1, 4, file) != 4)
        return false;
    value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

void appendU32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::optional<std::vector<std::uint8_t>> readDiskFile(const std::string& path)
{
    std::string problem;
    auto bytes = RegularFile::read(path, FilePack::kMaxEntrySize, problem);
    if (!bytes && !problem.empty())
        Log::write("Cannot use %s: it %s.", path.c_str(), problem.c_str());
    return bytes;
}

std::map<std::string, std::unique_ptr<FilePack>>& registry()
{
    static std::map<std::string, std::unique_ptr<FilePack>> packs;
    return packs;
}

} // namespace

void PackEntry::release()
{
    data.clear();
    data.shrink_to_fit();
}

// Two passes of the key, each through its own table; both folded into one
// table and one pass, as the large scrambled pictures are read at start-up.
void FilePack::scrambleInPlace(std::uint8_t* data, std::size_t size, const std::string& key)
{
    const std::size_t length = key.size();
    if (length == 0)
        return;
    auto signedByte = [&](std::size_t j) { return static_cast<std::int8_t>(key[j]); };
    std::uint32_t sum = 0;
    for (std::size_t j = 0; j < length; ++j)
        sum += static_cast<std::uint32_t>(signedByte(j));
    const std::int8_t second = length > 1 ? signedByte(1) : 0;
    std::vector<std::uint8_t> table(length, 0);
    for (const std::int8_t t : {second, std::int8_t{0}}) {
        for (std::size_t j = 0; j < length; ++j) {
            const std::uint32_t index =
                static_cast<std::uint32_t>(signedByte(j)) + sum + static_cast<std::uint32_t>(t);
            table[j] ^= static_cast<std::uint8_t>(key[index % length]);
        }
    }
    for (std::size_t i = 0, j = 0; i < size; ++i) {
        data[i] ^= table[j];
        if (++j == length)
            j = 0;
    }
}

bool FilePack::load(const std::string& packPath)
{
    m_damage.clear();
    RegularFile file(packPath, kMaxPackSize);
    if (!file.isOpen()) {
        m_damage = file.problem();
        return false;
    }
    char magic[2];
    if (std::fread(magic, 1, 2, file.stream()) != 2 || magic[0] != 'L' || magic[1] != 'B') {
        m_damage = file.size() == 0 ? "is empty" : "is not a game data pack";
        return false;
    }
    m_path = packPath;
    m_entries.clear();
    m_names.clear();
    std::uint32_t count = 0;
    if (!readU32(file.stream(), count))
        m_damage = "has no table of contents";
    else if (!readTable(file.stream(), count, file.size()))
        m_damage = "has a damaged table of contents: " + std::to_string(m_entries.size()) +
                   " of its " + std::to_string(count) + " files are whole";
    return true;
}

// Entries are kept while they are whole; a damaged tail falls through to the disk.
bool FilePack::readTable(std::FILE* file, std::uint32_t count, std::uint64_t total)
{
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t nameLength = 0;
        if (!readU32(file, nameLength) || nameLength > kMaxNameLength)
            return false;
        std::string name(nameLength, '\0');
        PackEntry entry;
        if (std::fread(name.data(), 1, nameLength, file) != nameLength ||
            !readU32(file, entry.size) || std::fread(&entry.scrambled, 1, 1, file) != 1)
            return false;
        const long offset = std::ftell(file);
        if (offset < 0 || entry.size > kMaxEntrySize ||
            entry.size > total - static_cast<std::uint64_t>(offset))
            return false;
        entry.offset = static_cast<std::uint32_t>(offset);
        m_names.push_back(toLower(std::move(name)));
        m_entries.push_back(std::move(entry));
        if (std::fseek(file, offset + static_cast<long>(m_entries.back().size), SEEK_SET) != 0)
            return false;
    }
    return true;
}

int FilePack::indexOf(const std::string& name) const
{
    const std::string request = toLower(name);
    for (std::size_t i = 0; i < m_names.size(); ++i) {
        if (equalsConverted(m_names[i], request, '/', '\\') ||
            equalsConverted(m_names[i], request, '\\', '/'))
            return static_cast<int>(i);
    }
    return -1;
}

bool FilePack::contains(const std::string& name) const
{
    return (m_overlay != nullptr && m_overlay->contains(name)) || indexOf(name) >= 0;
}

std::optional<PackEntry> FilePack::readEntry(std::size_t index) const
{
    const PackEntry& stored = m_entries[index];
    PackEntry entry;
    entry.offset = stored.offset;
    entry.scrambled = stored.scrambled;
    if (stored.offset == 0) {
        entry.data = stored.data; // added in memory (possibly empty), not yet saved
    } else {
        RegularFile file(m_path, kMaxPackSize);
        if (!file.isOpen())
            return std::nullopt;
        entry.data.resize(stored.size);
        std::fseek(file.stream(), static_cast<long>(stored.offset), SEEK_SET);
        entry.data.resize(std::fread(entry.data.data(), 1, stored.size, file.stream()));
        if (entry.scrambled == 'y')
            scrambleInPlace(entry.data.data(), entry.data.size(), m_key);
    }
    entry.size = static_cast<std::uint32_t>(entry.data.size());
    return entry;
}

std::optional<PackEntry> FilePack::findFile(const std::string& name) const
{
    // Only the overlay's own entries: its disk fallback is this pack's.
    if (m_overlay != nullptr && m_overlay->contains(name))
        return m_overlay->findFile(name);
    const int index = indexOf(name);
    if (index >= 0)
        return readEntry(static_cast<std::size_t>(index));
    auto bytes = readDiskFile(m_diskFolder + toLower(name));
    if (!bytes)
        return std::nullopt;
    PackEntry entry;
    entry.size = static_cast<std::uint32_t>(bytes->size());
    entry.data = std::move(*bytes);
    return entry;
}

PackEntry FilePack::getFile(const std::string& name) const
{
    auto entry = findFile(name);
    if (!entry)
        FatalError::raise("file != 0", "utils/FilePack", m_diskFolder + toLower(name));
    return std::move(*entry);
}

bool FilePack::addFile(const std::string& diskPath, const std::string& nameInPack, bool scramble)
{
    auto bytes = readDiskFile(diskPath);
    if (!bytes)
        return false;
    PackEntry entry;
    entry.size = static_cast<std::uint32_t>(bytes->size());
    entry.data = std::move(*bytes);
    entry.scrambled = scramble ? 'y' : 'n';
    m_entries.push_back(std::move(entry));
    m_names.push_back(nameInPack);
    return true;
}

bool FilePack::save(const std::string& packPath) const
{
    std::vector<std::uint8_t> out{'L', 'B'};
    appendU32(out, static_cast<std::uint32_t>(m_entries.size()));
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        auto entry = readEntry(i);
        if (!entry)
            return false;
        appendU32(out, static_cast<std::uint32_t>(m_names[i].size()));
        out.insert(out.end(), m_names[i].begin(), m_names[i].end());
        appendU32(out, entry->size);
        out.push_back(static_cast<std::uint8_t>(entry->scrambled));
        const std::size_t start = out.size();
        out.insert(out.end(), entry->data.begin(), entry->data.end());
        if (entry->scrambled == 'y')
            scrambleInPlace(out.data() + start, entry->data.size(), m_key);
    }
    return AtomicFile::write(packPath, out.data(), out.size());
}

FilePack& createPack(const std::string& name)
{
    auto& slot = registry()[name];
    slot = std::make_unique<FilePack>();
    return *slot;
}

FilePack& getPack(const std::string& name)
{
    const auto it = registry().find(name);
    if (it == registry().end())
        FatalError::raise("pack \"" + name + "\" created", "utils/FilePack");
    return *it->second;
}

bool packExists(const std::string& name)
{
    return registry().count(name) != 0;
}

void destroyPack(const std::string& name)
{
    registry().erase(name);
}
