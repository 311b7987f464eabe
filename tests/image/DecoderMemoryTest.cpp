// SPDX-License-Identifier: GPL-3.0-or-later
// Files whose headers announce more than they hold must be refused without
// the decoder first claiming the memory they announce.
#include "ImageBuilders.h"
#include "image/Image.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <sys/resource.h>

#include <cstring>
#include <iterator>
#include <string>

namespace {

constexpr long kAllowedGrowthKb = 16 * 1024;

long peakMemoryKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void appendU32BigEndian(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendChunk(Bytes& out, const char* type, const Bytes& data)
{
    appendU32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    appendU32BigEndian(
        out, static_cast<std::uint32_t>(crc32(0, out.data() + start, out.size() - start)));
}

// Signature, a 1 x 1 header, then a chunk that announces `length` bytes and
// holds 16: 57 bytes in all.
Bytes pngAnnouncing(const char* type, std::uint32_t length)
{
    constexpr std::uint8_t kSignature[] = {137, 'P', 'N', 'G', 13, 10, 26, 10};
    Bytes out(std::begin(kSignature), std::end(kSignature));
    out.reserve(64);
    Bytes header;
    appendU32BigEndian(header, 1);
    appendU32BigEndian(header, 1);
    header.insert(header.end(), {8, PNG_COLOR_TYPE_RGB, 0, 0, 0});
    appendChunk(out, "IHDR", header);
    appendU32BigEndian(out, length);
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), 16, 'x');
    return out;
}

bool decodes(const std::string& name, const Bytes& bytes)
{
    Image image;
    image.load(name, bytes.data(), bytes.size());
    return image.isValid();
}

} // namespace

TEST(DecoderMemoryTest, PngChunksAnnouncingAGigabyteAreRefusedCheaply)
{
    for (const char* type :
         {"tEXt", "zTXt", "iTXt", "sPLT", "pCAL", "sCAL", "eXIf", "iCCP", "vpAg"}) {
        const Bytes bomb = pngAnnouncing(type, 0x3fffffff);
        ASSERT_EQ(bomb.size(), 57u);
        const long before = peakMemoryKb();
        EXPECT_FALSE(decodes("bomb.png", bomb)) << type;
        EXPECT_LT(peakMemoryKb() - before, kAllowedGrowthKb) << type;
    }
}

TEST(DecoderMemoryTest, PngMetadataTheGameDoesNotUseIsSkipped)
{
    const Bytes plain = pngFile(Picture(2, 2, Rgba{1, 2, 3, 255}), PNG_COLOR_TYPE_RGB);
    constexpr std::size_t kAfterHeader = 8 + 25;
    Bytes withText(plain.begin(), plain.begin() + kAfterHeader);
    // More than the limit a 2 x 2 picture gets for the chunks it keeps.
    Bytes text(3 << 20, 'z');
    std::memcpy(text.data(), "Comment", 8);
    appendChunk(withText, "tEXt", text);
    withText.insert(withText.end(), plain.begin() + kAfterHeader, plain.end());
    EXPECT_TRUE(decodes("text.png", withText));
}

TEST(DecoderMemoryTest, JpegCoefficientsAreBoundedByThePicturesSize)
{
    EXPECT_TRUE(decodes("narrow.jpg", jpegPaddedProgressiveFile(256)));
    // 48 KB of pixels would need 3 MB of coefficients.
    EXPECT_FALSE(decodes("narrow.jpg", jpegPaddedProgressiveFile(16384)));
}
