// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/CWaveReader.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kWave = RiffReader::fourCC("WAVE");
constexpr std::uint32_t kFmt = RiffReader::fourCC("fmt ");
constexpr std::uint32_t kData = RiffReader::fourCC("data");
constexpr std::uint32_t kRiff = RiffReader::fourCC("RIFF");
constexpr std::uint64_t kMaxDataBytes = 8u << 20;

std::uint16_t le16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t le32(const std::uint8_t* p)
{
    return std::uint32_t(le16(p)) | std::uint32_t(le16(p + 2)) << 16;
}

} // namespace

CWaveReader::CWaveReader() = default;

CWaveReader::~CWaveReader()
{
    close();
}

bool CWaveReader::open(const std::string& fileName)
{
    close();
    m_riff = std::make_unique<RiffReader>();
    RiffReader::Chunk riff;
    if (!m_riff->open(fileName) || !m_riff->descendFirst(riff) || riff.id != kRiff ||
        riff.formType != kWave) {
        close();
        return false;
    }
    m_riffContents = riff.dataOffset;
    m_riffSize = riff.size;
    m_riffDeclaredEnd = std::uint64_t(riff.dataOffset) + riff.declaredSize - 4;
    if (!readFormat() || !rewind()) {
        close();
        return false;
    }
    return true;
}

bool CWaveReader::readFormat()
{
    RiffReader::Chunk riff;
    riff.dataOffset = m_riffContents;
    riff.size = m_riffSize;
    RiffReader::Chunk fmt;
    std::uint8_t record[16];
    if (!m_riff->seek(m_riffContents) || !m_riff->descendTo(fmt, kFmt, &riff) || fmt.size < 16 ||
        m_riff->read(record, 16) != 16) {
        return false;
    }
    m_format.formatTag = le16(record);
    m_format.channels = le16(record + 2);
    m_format.samplesPerSecond = le32(record + 4);
    m_format.bytesPerSecond = le32(record + 8);
    m_format.blockAlign = le16(record + 12);
    m_format.bitsPerSample = le16(record + 14);
    m_extra.clear();
    if (m_format.formatTag == WaveFormat::kPcm) {
        return true;
    }
    std::uint8_t sizeField[2];
    if (fmt.size < 18 || m_riff->read(sizeField, 2) != 2) {
        return false;
    }
    const std::uint16_t extraSize = le16(sizeField);
    if (extraSize > fmt.size - 18) {
        return false;
    }
    m_extra.resize(extraSize);
    return m_riff->read(m_extra.data(), extraSize) == extraSize;
}

bool CWaveReader::rewind()
{
    if (!isOpen()) {
        return false;
    }
    RiffReader::Chunk riff;
    riff.dataOffset = m_riffContents;
    riff.size = m_riffSize;
    RiffReader::Chunk data;
    if (!m_riff->seek(m_riffContents) || !m_riff->descendTo(data, kData, &riff)) {
        m_dataSize = 0;
        return false;
    }
    m_dataStart = data.dataOffset;
    // A file cut short keeps its declared size (the tail plays as silence),
    // but never beyond the RIFF chunk's own declared end or a sane limit.
    const std::uint64_t riffRoom =
        m_riffDeclaredEnd > data.dataOffset ? m_riffDeclaredEnd - data.dataOffset : 0;
    m_dataSize = static_cast<std::uint32_t>(std::min<std::uint64_t>(
        {data.declaredSize, std::max<std::uint64_t>(riffRoom, data.size), kMaxDataBytes}));
    m_dataAvailable = std::min(data.size, m_dataSize);
    m_dataRead = 0;
    return true;
}

std::uint32_t CWaveReader::read(void* destination, std::uint32_t bytes)
{
    if (!isOpen()) {
        return 0;
    }
    const std::uint32_t wanted = std::min(bytes, m_dataAvailable - m_dataRead);
    const std::uint32_t got = m_riff->read(destination, wanted);
    m_dataRead += got;
    return got;
}

void CWaveReader::close()
{
    m_riff.reset();
    m_dataSize = 0;
    m_dataAvailable = 0;
    m_dataRead = 0;
}

bool CWaveReader::isOpen() const
{
    return m_riff != nullptr && m_riff->isOpen();
}
