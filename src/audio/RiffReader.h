// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// Buffered RIFF chunk navigation over a file: descend into a chunk by its
// identifier or form type, ascend, seek and read. Chunk sizes are clamped to
// the file and to the enclosing chunk.
class RiffReader {
public:
    struct Chunk {
        std::uint32_t id = 0;
        std::uint32_t formType = 0; // RIFF and LIST chunks only
        std::uint32_t size = 0;     // clamped to what the file holds
        std::uint32_t declaredSize = 0;
        std::uint32_t dataOffset = 0; // first byte after the header (and form type)
    };

    static constexpr std::uint32_t fourCC(const char (&s)[5])
    {
        return std::uint32_t(std::uint8_t(s[0])) | std::uint32_t(std::uint8_t(s[1])) << 8 |
               std::uint32_t(std::uint8_t(s[2])) << 16 | std::uint32_t(std::uint8_t(s[3])) << 24;
    }

    RiffReader() = default;
    ~RiffReader();
    RiffReader(const RiffReader&) = delete;
    RiffReader& operator=(const RiffReader&) = delete;

    bool open(const std::string& fileName);
    void close();
    bool isOpen() const { return m_file != nullptr; }
    std::uint32_t fileSize() const { return m_fileSize; }

    // Reads the chunk header at the current position; with a form type, the
    // chunk must be RIFF or LIST with that form.
    bool descendFirst(Chunk& chunk);
    // Looks for a chunk with the given identifier between the current
    // position and the end of parent (the whole file without one).
    bool descendTo(Chunk& chunk, std::uint32_t id, const Chunk* parent);
    // Moves to the byte after the chunk (and its pad byte).
    bool ascend(const Chunk& chunk);
    bool seek(std::uint32_t offset);
    std::uint32_t tell() const { return m_position; }
    std::uint32_t read(void* destination, std::uint32_t bytes);

private:
    bool readHeader(Chunk& chunk, std::uint32_t limit);

    std::FILE* m_file = nullptr;
    std::uint32_t m_fileSize = 0;
    std::uint32_t m_position = 0;
};
