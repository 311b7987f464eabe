// SPDX-License-Identifier: GPL-3.0-or-later
#include "image/Image.h"
#include "ImageBuilders.h"
#include "image/ImageHeader.h"
#include "image/TopDownRgba.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <array>
#include <cstdio>
#include <optional>

namespace {

const Rgba kRed{255, 0, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kGreen{0, 255, 0, 255};

Rgba pixelAt(const Image& image, int x, int row)
{
    const std::uint8_t* p =
        image.pixels() + (static_cast<std::size_t>(row) * image.width() + x) * image.components();
    if (image.components() == 1)
        return Rgba{p[0], p[0], p[0], 255};
    return Rgba{p[0], p[1], p[2], image.components() == 4 ? p[3] : std::uint8_t(255)};
}

void expectPixel(const Rgba& actual, const Rgba& expected, int tolerance = 0)
{
    EXPECT_NEAR(actual.r, expected.r, tolerance);
    EXPECT_NEAR(actual.g, expected.g, tolerance);
    EXPECT_NEAR(actual.b, expected.b, tolerance);
    EXPECT_NEAR(actual.a, expected.a, tolerance);
}

bool load(Image& image, const std::string& name, const Bytes& bytes)
{
    image.load(name, bytes.data(), bytes.size());
    return image.isValid();
}

bool decodes(const std::string& name, const Bytes& bytes)
{
    Image image;
    EXPECT_TRUE(image.load(name, bytes.data(), bytes.size()));
    return image.isValid();
}

// Top half red, bottom half blue: which half lands in row 0 shows the row order.
Picture redOverBlue(int width, int height)
{
    Picture picture(width, height, kBlue);
    for (int y = 0; y < height / 2; ++y)
        for (int x = 0; x < width; ++x)
            picture.at(x, y) = kRed;
    return picture;
}

struct Expected {
    int x, row;
    Rgba colour;
};

// Decodes the file and checks its size, its layout and the given pixels
// (row 0 is the bottom row).
void expectDecoded(const std::string& name, const Bytes& file, int width, int height,
                   PixelFormat format, std::initializer_list<Expected> pixels, int tolerance = 0)
{
    SCOPED_TRACE(name);
    Image image;
    ASSERT_TRUE(load(image, name, file));
    EXPECT_EQ(image.width(), width);
    EXPECT_EQ(image.height(), height);
    EXPECT_EQ(image.format(), format);
    EXPECT_EQ(Image::formatForComponents(image.components(), name), format);
    EXPECT_FALSE(image.isCompressed());
    EXPECT_EQ(image.dataSize(), std::size_t(width) * height * image.components());
    // The header alone must promise what the decoder delivers.
    const std::optional<ImageHeader> header = ImageHeader::read(name, file.data(), file.size());
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->width, width);
    EXPECT_EQ(header->height, height);
    EXPECT_EQ(header->components, image.components());
    for (const Expected& p : pixels)
        expectPixel(pixelAt(image, p.x, p.row), p.colour, tolerance);
}

} // namespace

// The decoder tests use every ending; here the ones they do not.
TEST(ImageKindTest, EndingChoosesTheDecoderInAnyCase)
{
    EXPECT_EQ(Image::kindForName("MUI/FONT.TGA"), ImageKind::Tga);
    EXPECT_EQ(Image::kindForName("x.jpeg"), ImageKind::Jpeg);
    EXPECT_EQ(Image::kindForName(""), ImageKind::Unknown);
}

TEST(TgaDecoderTest, TrueColourAlphaAndGreyPixelsBecomeRgbaInFileRowOrder)
{
    Bytes colour = tgaHeader(2, 2, 2, 24);
    colour.insert(colour.end(), {10, 20, 30, 1, 2, 3, 40, 50, 60, 4, 5, 6});
    expectDecoded("a.TGA", colour, 2, 2, PixelFormat::Rgba,
                  {{0, 0, {30, 20, 10, 255}}, {1, 0, {3, 2, 1, 255}}, {0, 1, {60, 50, 40, 255}}});
    Bytes alpha = tgaHeader(2, 2, 1, 32, 3);
    alpha.insert(alpha.end(), {'i', 'd', '!', 10, 20, 30, 40, 1, 2, 3, 4});
    expectDecoded("a.tga", alpha, 2, 1, PixelFormat::Rgba,
                  {{0, 0, {30, 20, 10, 40}}, {1, 0, {3, 2, 1, 4}}});
    Bytes grey = tgaHeader(3, 2, 1, 8);
    grey.insert(grey.end(), {7, 200});
    expectDecoded("g.tga", grey, 2, 1, PixelFormat::Rgba,
                  {{0, 0, {7, 7, 7, 255}}, {1, 0, {200, 200, 200, 255}}});
    EXPECT_FALSE(decodes("picture.bmp", colour)); // the ending, not the bytes, picks the decoder
}

TEST(TgaDecoderTest, RunLengthPacketsRepeatAndCrossRowEnds)
{
    Bytes file = tgaHeader(10, 2, 3, 24);
    // 130: the next pixel three times (crossing the end of row 0), then 3 literals.
    file.insert(file.end(), {130, 10, 20, 30, 2, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    Image image;
    ASSERT_TRUE(load(image, "a.tga", file));
    const Rgba expected[6] = {{30, 20, 10, 255}, {30, 20, 10, 255}, {30, 20, 10, 255},
                              {3, 2, 1, 255},    {6, 5, 4, 255},    {9, 8, 7, 255}};
    for (int i = 0; i < 6; ++i)
        expectPixel(pixelAt(image, i % 2, i / 2), expected[i]);
}

TEST(PngDecoderTest, RowsComeOutBottomUpWithAlphaGreyAndSixteenBitChannels)
{
    expectDecoded("dat/dymamite.png", pngFile(redOverBlue(3, 4), PNG_COLOR_TYPE_RGB), 3, 4,
                  PixelFormat::Rgb, {{0, 0, kBlue}, {2, 3, kRed}});
    const Rgba dark{10, 10, 10, 128}, light{250, 250, 250, 255};
    Picture picture(2, 1, dark);
    picture.at(1, 0) = light;
    expectDecoded("a.png", pngFile(picture, PNG_COLOR_TYPE_RGB_ALPHA, 16), 2, 1, PixelFormat::Rgba,
                  {{0, 0, dark}, {1, 0, light}});
    expectDecoded("a.png", pngFile(picture, PNG_COLOR_TYPE_GRAY), 2, 1, PixelFormat::Rgb,
                  {{1, 0, light}});
    expectDecoded("a.png", pngFile(picture, PNG_COLOR_TYPE_GRAY_ALPHA), 2, 1, PixelFormat::Rgba,
                  {{0, 0, dark}});
}

TEST(JpegDecoderTest, RowsComeOutBottomUpAndGreyFilesHaveOneComponent)
{
    expectDecoded("dat/game_bg.jpg", jpegFile(redOverBlue(16, 16)), 16, 16, PixelFormat::Rgb,
                  {{4, 1, kBlue}, {4, 14, kRed}}, 12);
    expectDecoded("a.JPG", jpegFile(Picture(8, 8, Rgba{100, 0, 0, 255}), true), 8, 8,
                  PixelFormat::Luminance, {{0, 0, {100, 100, 100, 255}}}, 2);
}

TEST(DdsDecoderTest, PlainLayoutsAndTheirFormatCodes)
{
    // Stored top row first: B G R A of the top row, then the bottom row.
    const Bytes rows{1, 2, 3, 4, 5, 6, 7, 8};
    Image image;
    Bytes file = ddsPlainFile(1, 2, 32, rows);
    ASSERT_TRUE(load(image, "a.dds", file));
    EXPECT_EQ(image.format(), PixelFormat::Bgra);
    EXPECT_EQ(image.components(), 4);
    EXPECT_EQ(image.pixels()[0], 5); // flipped: the bottom row first
    EXPECT_EQ(image.pixels()[4], 1);

    file = ddsPlainFile(2, 1, 24, Bytes{1, 2, 3, 4, 5, 6});
    ASSERT_TRUE(load(image, "a.DDS", file));
    EXPECT_EQ(image.format(), PixelFormat::Bgr);
    EXPECT_EQ(image.components(), 3);

    file = ddsPlainFile(2, 2, 8, Bytes{1, 2, 3, 4});
    ASSERT_TRUE(load(image, "a.dds", file));
    EXPECT_EQ(image.format(), PixelFormat::Luminance);
    EXPECT_EQ(image.pixels()[0], 3);
}

TEST(DdsDecoderTest, CompressedLevelsGoToTheMipmaps)
{
    Bytes blocks;
    for (int i = 0; i < 4 + 1 + 1; ++i) // 8x8, 4x4 and 2x2 levels
        for (std::uint8_t b : dxt1SolidBlock(0xf800))
            blocks.push_back(b);
    const Bytes file = ddsCompressedFile("DXT1", 8, 8, blocks, 3);
    Image image;
    ASSERT_TRUE(load(image, "a.dds", file));
    EXPECT_TRUE(image.isCompressed());
    EXPECT_EQ(image.format(), PixelFormat::Dxt1);
    EXPECT_EQ(image.dataSize(), 32u);
    ASSERT_EQ(image.mipmapCount(), 2);
    EXPECT_EQ(image.mipmap(0).width, 4);
    EXPECT_EQ(image.mipmap(1).width, 2);
    EXPECT_EQ(image.mipmap(1).dataSize(), 8u);
    // Missing further levels end the chain and keep the base.
    ASSERT_TRUE(load(image, "a.dds", ddsCompressedFile("DXT5", 4, 4, Bytes(16, 0), 3)));
    EXPECT_EQ(image.mipmapCount(), 0);
}

TEST(DdsDecoderTest, FlippingReversesTheRowsInsideBlocks)
{
    Bytes block = dxt1SolidBlock(0x001f);
    block[4] = 0x00;
    block[5] = 0x55;
    block[6] = 0xaa;
    block[7] = 0xff;
    const Bytes file = ddsCompressedFile("DXT1", 4, 4, block);
    Image image;
    ASSERT_TRUE(load(image, "a.dds", file));
    EXPECT_EQ(image.pixels()[4], 0xff);
    EXPECT_EQ(image.pixels()[7], 0x00);
}

namespace {

// A DXT1 block between red and blue; every pixel of row r takes index rows[r].
Bytes dxt1Rows(const std::array<int, 4>& rows)
{
    Bytes block{0x00, 0xf8, 0x1f, 0x00}; // red, then blue: four-colour mode
    for (const int index : rows)
        block.push_back(static_cast<std::uint8_t>(index * 0x55));
    return block;
}

// A DXT5 block: alpha end points 255 and 0, row r taking alpha index rows[r];
// the colour half is plain white.
Bytes dxt5Rows(const std::array<int, 4>& rows)
{
    std::uint64_t bits = 0;
    for (int i = 0; i < 16; ++i)
        bits |= static_cast<std::uint64_t>(rows[i / 4]) << (3 * i);
    Bytes block{255, 0};
    for (int i = 0; i < 6; ++i)
        block.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
    block.insert(block.end(), {0xff, 0xff, 0xff, 0xff, 0, 0, 0, 0});
    return block;
}

Bytes joined(const Bytes& first, const Bytes& second)
{
    Bytes out = first;
    out.insert(out.end(), second.begin(), second.end());
    return out;
}

} // namespace

// Six rows span two rows of blocks, the second half padding: the picture
// must come out whole and upside down, padding nowhere.
TEST(DdsDecoderTest, HeightsBetweenBlockRowsFlipRowByRow)
{
    const Rgba third{170, 0, 85, 255}; // two thirds red
    const Rgba twoThirds{85, 0, 170, 255};
    const Bytes colour =
        ddsCompressedFile("DXT1", 4, 6, joined(dxt1Rows({0, 2, 3, 1}), dxt1Rows({0, 1, 2, 2})));
    Image image;
    ASSERT_TRUE(load(image, "a.dds", colour));
    ASSERT_FALSE(image.isCompressed());
    EXPECT_EQ(image.format(), PixelFormat::Rgba);
    EXPECT_EQ(image.height(), 6);
    ASSERT_EQ(image.dataSize(), 4u * 6 * 4);
    const Rgba bottomUp[6] = {kBlue, kRed, kBlue, twoThirds, third, kRed};
    for (int row = 0; row < 6; ++row)
        for (int x = 0; x < 4; ++x)
            expectPixel(pixelAt(image, x, row), bottomUp[row], 1);

    const Bytes alpha =
        ddsCompressedFile("DXT5", 4, 6, joined(dxt5Rows({0, 1, 7, 2}), dxt5Rows({1, 0, 6, 6})));
    ASSERT_TRUE(load(image, "a.dds", alpha));
    const int alphaBottomUp[6] = {255, 0, 218, 36, 0, 255};
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(pixelAt(image, 2, row).a, alphaBottomUp[row]) << "row " << row;
}

// A 4 x 12 picture is whole blocks, but its 2 x 6 level is not: the chain
// must stay of one kind, so every level is decoded.
TEST(DdsDecoderTest, ALevelBetweenBlockRowsDecodesTheWholeChain)
{
    Bytes blocks;
    for (int i = 0; i < 3 + 2 + 1 + 1; ++i) // 4x12, 2x6, 1x3 and 1x1
        blocks = joined(blocks, i % 2 == 0 ? dxt1Rows({0, 0, 1, 1}) : dxt1Rows({1, 1, 0, 0}));
    const Bytes file = ddsCompressedFile("DXT1", 4, 12, blocks, 4);
    Image image;
    ASSERT_TRUE(load(image, "a.dds", file));
    EXPECT_FALSE(image.isCompressed());
    ASSERT_EQ(image.mipmapCount(), 3);
    EXPECT_EQ(image.mipmap(0).dataSize(), 2u * 6 * 4);
    EXPECT_EQ(image.mipmap(2).dataSize(), 4u);
    // Level 2 x 6 reads blue, blue, red, red, red, red from the top.
    const Bytes& level = image.mipmap(0).data;
    EXPECT_EQ(level[0], 255); // bottom row red
    EXPECT_EQ(level[5 * 2 * 4], 0);
    EXPECT_EQ(level[5 * 2 * 4 + 2], 255); // top row blue

    const Bytes whole = ddsCompressedFile("DXT1", 8, 8, Bytes(4 * 8, 0), 1);
    image.load("a.dds", whole.data(), whole.size());
    EXPECT_TRUE(image.isCompressed()); // whole blocks stay compressed
}

namespace {

Bytes withPixels(Bytes header, std::size_t count, std::uint8_t value = 9)
{
    header.insert(header.end(), count, value);
    return header;
}

// Files that are cut short, lie about their size or use a layout the game
// does not read.
std::vector<std::pair<std::string, Bytes>> refusedFiles()
{
    std::vector<std::pair<std::string, Bytes>> files = {
        {"a.tga", withPixels(tgaHeader(2, 2, 2, 24), 11)}, // one byte short of four pixels
        {"a.tga", withPixels(tgaHeader(10, 4, 1, 32), 0)},
        {"a.tga", withPixels(tgaHeader(2, 1, 1, 32, 200), 4, 0)}, // the id runs past the end
        {"a.tga", tgaHeader(2, 0, 5, 32)},
        {"a.tga", tgaHeader(2, 65535, 65535, 32)}, // no 16 GB allocation
        {"a.tga", Bytes{0, 0, 2}},
        {"a.png", Bytes{137, 'P', 'N', 'G', 13, 10, 26, 10}},
        {"a.png", Bytes{1, 2, 3}},
        {"a.jpg", Bytes{0xff, 0xd8, 0xff, 0x00, 1, 2, 3}},
        {"a.jpg", Bytes{'n', 'o', 'p', 'e'}},
        {"a.jpg", jpegUnknownLayoutFile(2)}, // channel counts without a pixel format
        {"a.jpg", jpegUnknownLayoutFile(4)},
        {"a.dds", ddsCompressedFile("DXT1", 8, 8, dxt1SolidBlock(0xffff))}, // needs 4 blocks
        {"a.dds", ddsCompressedFile("ATI2", 4, 4, Bytes(16, 0))},
        {"a.dds", ddsPlainFile(1, 1, 16, Bytes(2, 0))},
        {"a.dds", ddsPlainFile(100000, 1, 8, Bytes(16, 0))},
    };
    Bytes packetPastEnd = tgaHeader(10, 4, 1, 32);
    packetPastEnd.insert(packetPastEnd.end(), {3, 1, 2, 3, 4, 5, 6}); // 4 literals, 1.5 given
    files.emplace_back("a.tga", packetPastEnd);
    // Colour-mapped, run-length colour-mapped and grey, and no such type.
    for (const int type : {0, 1, 9, 11, 32, 255})
        files.emplace_back("type " + std::to_string(type) + ".tga",
                           withPixels(tgaHeader(type, 2, 2, 32), 64));
    // Fifteen- and sixteen-bit pixels (and odd depths) are not grey bytes.
    for (const int bits : {0, 7, 12, 15, 16, 20, 31, 40})
        files.emplace_back(std::to_string(bits) + " bits.tga",
                           withPixels(tgaHeader(2, 2, 2, bits), 64));
    const Bytes png = pngFile(redOverBlue(8, 8), PNG_COLOR_TYPE_RGB);
    files.emplace_back("half.png", Bytes(png.begin(), png.begin() + png.size() / 2));
    files.emplace_back("crc.png", png);
    files.back().second[40] ^= 0xff; // inside IDAT: the CRC no longer matches
    const Bytes jpeg = jpegFile(redOverBlue(16, 16));
    files.emplace_back("cut.jpg", Bytes(jpeg.begin(), jpeg.begin() + 20));
    files.emplace_back("magic.dds", ddsPlainFile(1, 1, 8, Bytes{1}));
    files.back().second[0] = 'X';
    return files;
}

} // namespace

TEST(ImageLoadTest, BrokenFilesGiveAnInvalidImageWithoutEndingTheProgram)
{
    for (const auto& [name, bytes] : refusedFiles())
        EXPECT_FALSE(decodes(name, bytes)) << name << ", " << bytes.size() << " bytes";
    EXPECT_TRUE(decodes("a.jpg", jpegUnknownLayoutFile(1)));
}

TEST(ImageHeaderTest, BrokenUnknownAndDdsFilesGiveNothing)
{
    const Bytes png = pngFile(Picture(4, 4, Rgba{1, 2, 3, 255}), PNG_COLOR_TYPE_RGB);
    const Bytes cut(png.begin(), png.begin() + 20);
    EXPECT_FALSE(ImageHeader::read("a.png", cut.data(), cut.size()));
    EXPECT_FALSE(ImageHeader::read("a.jpg", png.data(), png.size()));
    EXPECT_FALSE(ImageHeader::read("a.txt", png.data(), png.size()));
    EXPECT_FALSE(ImageHeader::read("a.tga", tgaHeader(1, 4, 4, 8).data(), 18));
    const Bytes huge = tgaHeader(2, 20000, 20000, 32);
    EXPECT_FALSE(ImageHeader::read("a.tga", huge.data(), huge.size()));
    const Bytes unknownLayout = jpegUnknownLayoutFile(2);
    EXPECT_FALSE(ImageHeader::read("a.jpg", unknownLayout.data(), unknownLayout.size()));
    const Bytes dds = ddsPlainFile(4, 4, 32, Bytes(64, 0));
    EXPECT_FALSE(ImageHeader::read("a.dds", dds.data(), dds.size()));
    // A segment that claims to run past the end of the file.
    const Bytes longSegment{0xff, 0xd8, 0xff, 0xe0, 0xff, 0xff};
    EXPECT_FALSE(ImageHeader::read("a.jpg", longSegment.data(), longSegment.size()));
}

TEST(ImageLoadTest, SizeZeroReadsTheNamedFileFromDisk)
{
    TempDir dir;
    writeFile("disk.tga", tgaFile(Picture(3, 1, kGreen)));
    Image image;
    EXPECT_TRUE(image.load("disk.tga", nullptr, 0));
    ASSERT_TRUE(image.isValid());
    EXPECT_EQ(image.width(), 3);
    std::remove("disk.tga");
    image.load("disk.tga", nullptr, 0);
    EXPECT_FALSE(image.isValid());
}

TEST(ImageDeathTest, FailedConditionsNameTheConditionAndTheFile)
{
    Image image;
    image.load("dat/broken.png", nullptr, 0);
    EXPECT_EXIT(image.width(), testing::ExitedWithCode(1), "\"m_valid\".*dat/broken.png");
    EXPECT_EXIT(image.pixels(), testing::ExitedWithCode(1), "m_valid");
    EXPECT_EXIT(image.mipmap(0), testing::ExitedWithCode(1),
                "index < \\(int\\)m_mipmaps.size\\(\\)");
    EXPECT_EXIT(Image::formatForComponents(2, "odd.png"), testing::ExitedWithCode(1),
                "Unknow format.*odd.png");
}

// The window icon's rows: the top of the picture first, RGB made opaque.
TEST(TopDownRgbaTest, RowsRunFromTheTopAndOnlyDecodedPicturesConvert)
{
    const Bytes file = pngFile(redOverBlue(3, 4), PNG_COLOR_TYPE_RGB);
    Image image;
    image.load("mui/icon.png", file.data(), file.size());
    const std::optional<TopDownRgba> icon = TopDownRgba::from(image);
    ASSERT_TRUE(icon);
    EXPECT_EQ(icon->width, 3);
    EXPECT_EQ(icon->height, 4);
    ASSERT_EQ(icon->pixels.size(), 48u);
    EXPECT_EQ(std::vector<std::uint8_t>(icon->pixels.begin(), icon->pixels.begin() + 4),
              (std::vector<std::uint8_t>{255, 0, 0, 255}));
    EXPECT_EQ(std::vector<std::uint8_t>(icon->pixels.end() - 4, icon->pixels.end()),
              (std::vector<std::uint8_t>{0, 0, 255, 255}));

    const Bytes dxt = ddsCompressedFile("DXT1", 4, 4, dxt1SolidBlock(0xF800));
    Image compressed;
    compressed.load("icon.dds", dxt.data(), dxt.size());
    ASSERT_TRUE(compressed.isCompressed());
    EXPECT_FALSE(TopDownRgba::from(compressed));
    Image broken;
    broken.load("broken.png", file.data(), 8);
    EXPECT_FALSE(TopDownRgba::from(broken));
}
