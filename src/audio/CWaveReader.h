// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/RiffReader.h"
#include "platform/WaveFormat.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Reads the data chunk of a RIFF/WAVE file from the disk.
class CWaveReader {
public:
    CWaveReader();
    ~CWaveReader();

    // Opens the file and finds its format and data chunks; false when it is
    // missing or malformed (the size is then 0).
    bool open(const std::string& fileName);
    // Bytes of the data chunk as declared; a file that holds fewer is read
    // as far as it goes.
    std::uint32_t size() const { return m_dataSize; }
    const WaveFormat& format() const { return m_format; }
    // The extra format bytes after the 18-byte record (non-PCM formats).
    const std::vector<std::uint8_t>& formatExtra() const { return m_extra; }
    // Back to the first data byte.
    bool rewind();
    // Reads at most bytes, never past the data chunk; returns the count read.
    std::uint32_t read(void* destination, std::uint32_t bytes);
    void close();
    bool isOpen() const;

private:
    bool readFormat();

    std::unique_ptr<RiffReader> m_riff;
    WaveFormat m_format;
    std::vector<std::uint8_t> m_extra;
    std::uint32_t m_riffContents = 0; // first byte after the form type
    std::uint32_t m_riffSize = 0;
    std::uint64_t m_riffDeclaredEnd = 0;
    std::uint32_t m_dataAvailable = 0; // what the file really holds
    std::uint32_t m_dataStart = 0;
    std::uint32_t m_dataSize = 0;
    std::uint32_t m_dataRead = 0;
};
