#include "image/ImageHeader.h"
#include "ImageBuilders.h"
#include "image/Image.h"

#include <gtest/gtest.h>
#include <png.h>

#include <optional>

namespace {

// The header must promise exactly what the decoder later delivers.
void expectHeaderMatchesDecoding(const std::string& name, const Bytes& bytes)
{
    SCOPED_TRACE(name);
    const std::optional<ImageHeader> header = ImageHeader::read(name, bytes.data(), bytes.size());
    Image image;
    image.load(name, bytes.data(), bytes.size());
    ASSERT_TRUE(image.isValid());
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->width, image.width());
    EXPECT_EQ(header->height, image.height());
    EXPECT_EQ(header->components, image.components());
}

} // namespace

TEST(ImageHeaderTest, SizeAndComponentsAgreeWithTheDecoders)
{
    Picture picture(7, 5, Rgba{10, 20, 30, 128});
    expectHeaderMatchesDecoding("a.tga", tgaFile(picture));
    expectHeaderMatchesDecoding("a.png", pngFile(picture, PNG_COLOR_TYPE_RGB));
    expectHeaderMatchesDecoding("a.png", pngFile(picture, PNG_COLOR_TYPE_RGB_ALPHA, 16));
    expectHeaderMatchesDecoding("a.png", pngFile(picture, PNG_COLOR_TYPE_GRAY));
    expectHeaderMatchesDecoding("a.png", pngFile(picture, PNG_COLOR_TYPE_GRAY_ALPHA));
    expectHeaderMatchesDecoding("a.jpg", jpegFile(picture));
    expectHeaderMatchesDecoding("a.jpg", jpegFile(picture, true));
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
