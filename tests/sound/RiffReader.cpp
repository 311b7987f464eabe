#include "RiffReader.h"

#include <fstream>
#include <iterator>

namespace {

uint32_t le32(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

unsigned le16(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8;
}

bool tagAt(const std::vector<uint8_t>& b, size_t at, const char* tag)
{
    return at + 4 <= b.size() && std::string(b.begin() + at, b.begin() + at + 4) == tag;
}

} // namespace

std::vector<uint8_t> readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<WaveInfo> parseWave(const std::vector<uint8_t>& b, std::string& problem)
{
    if (b.size() < 12 || !tagAt(b, 0, "RIFF") || !tagAt(b, 8, "WAVE")) {
        problem = "not a RIFF/WAVE file";
        return std::nullopt;
    }
    if (le32(b, 4) + 8 != b.size()) {
        problem = "RIFF size does not match the file size";
        return std::nullopt;
    }
    WaveInfo info;
    bool haveFormat = false, haveData = false;
    for (size_t at = 12; at + 8 <= b.size();) {
        const uint32_t size = le32(b, at + 4);
        if (at + 8 + size > b.size()) {
            problem = "a chunk runs past the end";
            return std::nullopt;
        }
        if (tagAt(b, at, "fmt ") && size >= 16) {
            info.formatTag = le16(b, at + 8), info.channels = le16(b, at + 10);
            info.sampleRate = le32(b, at + 12), info.byteRate = le32(b, at + 16);
            info.blockAlign = le16(b, at + 20), info.bits = le16(b, at + 22);
            haveFormat = true;
        } else if (tagAt(b, at, "data") && haveFormat) {
            for (size_t i = 0; i + 1 < size; i += 2)
                info.samples.push_back(static_cast<int16_t>(le16(b, at + 8 + i)));
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFormat || !haveData) {
        problem = "the fmt or data chunk is missing";
        return std::nullopt;
    }
    return info;
}
