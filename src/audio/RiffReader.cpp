// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/RiffReader.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kRiff = RiffReader::fourCC("RIFF");
constexpr std::uint32_t kList = RiffReader::fourCC("LIST");

std::uint32_t littleEndian32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

} // namespace

RiffReader::~RiffReader()
{
    close();
}

bool RiffReader::open(const std::string& fileName)
{
    close();
    m_file = std::fopen(fileName.c_str(), "rb");
    if (m_file == nullptr) {
        return false;
    }
    if (std::fseek(m_file, 0, SEEK_END) != 0) {
        close();
        return false;
    }
    const long size = std::ftell(m_file);
    m_fileSize = size > 0 ? static_cast<std::uint32_t>(std::min<long>(size, 0x7FFFFFFF)) : 0;
    std::rewind(m_file);
    m_position = 0;
    return true;
}

void RiffReader::close()
{
    if (m_file != nullptr) {
        std::fclose(m_file);
        m_file = nullptr;
    }
    m_fileSize = 0;
    m_position = 0;
}

bool RiffReader::seek(std::uint32_t offset)
{
    if (m_file == nullptr || offset > m_fileSize ||
        std::fseek(m_file, static_cast<long>(offset), SEEK_SET) != 0) {
        return false;
    }
    m_position = offset;
    return true;
}

std::uint32_t RiffReader::read(void* destination, std::uint32_t bytes)
{
    if (m_file == nullptr) {
        return 0;
    }
    const std::uint32_t wanted = std::min(bytes, m_fileSize - m_position);
    const auto got = static_cast<std::uint32_t>(std::fread(destination, 1, wanted, m_file));
    m_position += got;
    return got;
}

bool RiffReader::readHeader(Chunk& chunk, std::uint32_t limit)
{
    std::uint8_t header[8];
    if (limit < m_position + 8 || read(header, 8) != 8) {
        return false;
    }
    chunk.id = littleEndian32(header);
    chunk.declaredSize = littleEndian32(header + 4);
    chunk.dataOffset = m_position;
    chunk.size = std::min(chunk.declaredSize, limit - m_position);
    chunk.formType = 0;
    if (chunk.id == kRiff || chunk.id == kList) {
        std::uint8_t form[4];
        if (chunk.size < 4 || read(form, 4) != 4) {
            return false;
        }
        chunk.formType = littleEndian32(form);
        chunk.dataOffset = m_position;
        chunk.size -= 4;
    }
    return true;
}

bool RiffReader::descendFirst(Chunk& chunk)
{
    return readHeader(chunk, m_fileSize);
}

bool RiffReader::descendTo(Chunk& chunk, std::uint32_t id, const Chunk* parent)
{
    const std::uint32_t limit = parent ? parent->dataOffset + parent->size : m_fileSize;
    while (readHeader(chunk, limit)) {
        if (chunk.id == id) {
            return true;
        }
        if (!ascend(chunk)) {
            return false;
        }
    }
    return false;
}

bool RiffReader::ascend(const Chunk& chunk)
{
    std::uint64_t end = std::uint64_t(chunk.dataOffset) + chunk.size;
    end += end & 1;
    return seek(static_cast<std::uint32_t>(std::min<std::uint64_t>(end, m_fileSize)));
}
