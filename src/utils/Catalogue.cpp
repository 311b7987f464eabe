// SPDX-License-Identifier: GPL-3.0-or-later
#include "utils/Catalogue.h"

#include "utils/Utf8.h"

#include <cstring>
#include <optional>

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kSwappedMagic = 0xde120495;
constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kTableEntrySize = 8;

class MoBytes {
public:
    MoBytes(const std::uint8_t* bytes, std::size_t size, bool swapped)
        : m_bytes(bytes), m_size(size), m_swapped(swapped)
    {
    }

    std::uint32_t word(std::size_t offset) const
    {
        std::uint32_t value;
        std::memcpy(&value, m_bytes + offset, sizeof value);
        return m_swapped ? __builtin_bswap32(value) : value;
    }

    // Entry `index` of the table at `table`: a string of the stated length,
    // inside the file and followed by its terminating zero, as gettext writes it.
    std::optional<std::string> string(std::uint32_t table, std::uint32_t index) const
    {
        const std::size_t at = table + std::size_t{index} * kTableEntrySize;
        const std::uint64_t length = word(at);
        const std::uint64_t offset = word(at + 4);
        if (offset + length >= m_size || m_bytes[offset + length] != '\0')
            return std::nullopt;
        return std::string(reinterpret_cast<const char*>(m_bytes + offset), length);
    }

    bool holdsTable(std::uint32_t table, std::uint32_t count) const
    {
        return table <= m_size && (m_size - table) / kTableEntrySize >= count;
    }

private:
    const std::uint8_t* m_bytes;
    std::size_t m_size;
    bool m_swapped;
};

// The header's charset, e.g. "UTF-8" from "Content-Type: text/plain; charset=UTF-8".
std::string charsetOf(const std::string& header)
{
    const std::string label = "charset=";
    const std::size_t start = header.find(label);
    if (start == std::string::npos)
        return {};
    const std::size_t from = start + label.size();
    return header.substr(from, header.find_first_of(" ;\n", from) - from);
}

// A plural entry holds its forms separated by zeros; the game asks for the first.
std::string firstForm(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

} // namespace

bool Catalogue::fail(const char* problem)
{
    m_translations.clear();
    m_problem = problem;
    return false;
}

bool Catalogue::load(const std::uint8_t* bytes, std::size_t size)
{
    m_translations.clear();
    m_dropped = 0;
    m_problem.clear();
    if (bytes == nullptr || size < kHeaderSize)
        return fail("too short for a catalogue");
    if (size > kMaxSize)
        return fail("larger than any catalogue");
    std::uint32_t magic;
    std::memcpy(&magic, bytes, sizeof magic);
    if (magic != kMagic && magic != kSwappedMagic)
        return fail("not a compiled catalogue");
    const MoBytes mo(bytes, size, magic == kSwappedMagic);
    if (mo.word(4) >> 16 > 1)
        return fail("of an unknown revision");
    const std::uint32_t count = mo.word(8);
    const std::uint32_t originals = mo.word(12);
    const std::uint32_t translations = mo.word(16);
    if (!mo.holdsTable(originals, count) || !mo.holdsTable(translations, count))
        return fail("with its tables outside the file");
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto english = mo.string(originals, i);
        const auto translation = mo.string(translations, i);
        if (!english || !translation)
            return fail("with a string outside the file");
        if (english->empty()) {
            if (charsetOf(*translation) != "UTF-8")
                return fail("not in UTF-8");
            continue;
        }
        add(firstForm(*english), firstForm(*translation));
    }
    return true;
}

void Catalogue::add(const std::string& english, const std::string& translation)
{
    if (translation.empty())
        return;
    if (!isUtf8(translation) || conversions(english) != conversions(translation)) {
        ++m_dropped;
        return;
    }
    m_translations[english] = translation;
}

const std::string* Catalogue::find(const std::string& english) const
{
    const auto found = m_translations.find(english);
    return found == m_translations.end() ? nullptr : &found->second;
}

std::string Catalogue::conversions(const std::string& text)
{
    std::string found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%')
            continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        const std::size_t end = text.find_first_of("diouxXeEfFgGaAcspn", i + 1);
        found += text.substr(i, end == std::string::npos ? std::string::npos : end + 1 - i);
        if (end == std::string::npos)
            break;
        i = end;
    }
    return found;
}

bool Catalogue::isUtf8(const std::string& text)
{
    return Utf8::valid(text) == text;
}
