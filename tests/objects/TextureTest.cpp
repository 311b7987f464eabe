// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/Texture.h"
#include "TestSupport.h"
#include "objects/ImagePrefetch.h"
#include "utils/TempDir.h"

#include <GL/gl.h>
#include <png.h>

namespace {

const Rgba kRed{255, 0, 0, 255};
const Rgba kGreen{0, 255, 0, 255};
const Rgba kBlack{0, 0, 0, 255};
const Rgba kWhite{255, 255, 255, 255};

// Green with a red bottom row: the bottom row is the buffer's first row.
Bytes greenWithRedBottomRow(int width, int height)
{
    Picture picture(width, height, kGreen);
    for (int x = 0; x < width; ++x)
        picture.at(x, height - 1) = kRed;
    return tgaFile(picture);
}

// A 64 x 32 strip, clamped, without mipmaps.
std::unique_ptr<Texture> strip()
{
    return std::make_unique<Texture>("strip.tga", greenWithRedBottomRow(64, 32), TextureWrap::Clamp,
                                     TextureMipmaps::None);
}

} // namespace

TEST(TextureDeathTest, MissingOrUndecodableFilesEndTheProgramNamingTheFile)
{
    TestPack files;
    files.add("dat/broken.png", Bytes{1, 2, 3});
    EXPECT_EXIT(Texture::load(&files.pack(), "dat/broken.png"), testing::ExitedWithCode(1),
                "m_valid.*dat/broken.png");
    EXPECT_EXIT(Texture::load(&files.pack(), "dat/absent.png"), testing::ExitedWithCode(1),
                "file != 0.*dat/absent.png");
}

using TextureDrawTest = GlTest;

TEST_F(TextureDrawTest, LoadedTexturesAreUploadedOnTheirFirstBindAndCoverTheirSize)
{
    TestPack files;
    files.add("dat/strip.tga", greenWithRedBottomRow(64, 32));
    files.add("dat/unused.tga", greenWithRedBottomRow(8, 8));
    auto texture = Texture::load(&files.pack(), "dat/strip.tga");
    ImagePrefetch::start(files.pack(), {"dat/unused.tga"}); // its texture takes it decoded
    auto unused = Texture::load(&files.pack(), "dat/unused.tga");
    EXPECT_FALSE(texture->isUploaded());
    clear(0, 0, 0);
    texture->draw(100, 50, 0);
    EXPECT_TRUE(texture->isUploaded());
    EXPECT_FALSE(unused->isUploaded());
    // The first row of the buffer runs along the quad's bottom edge.
    EXPECT_TRUE(sameColour(pixel(100, 50), kGreen));
    EXPECT_TRUE(sameColour(pixel(163, 50), kGreen));
    EXPECT_TRUE(sameColour(pixel(130, 81), kRed)); // the last row on screen, y 81..82
    EXPECT_TRUE(sameColour(pixel(130, 79), kGreen));
    EXPECT_TRUE(sameColour(pixel(99, 60), kBlack));
    EXPECT_TRUE(sameColour(pixel(164, 60), kBlack));
    EXPECT_TRUE(sameColour(pixel(130, 49), kBlack));
    EXPECT_TRUE(sameColour(pixel(130, 82), kBlack));
    unused->draw(0, 0, 0);
    EXPECT_TRUE(unused->isUploaded());
    EXPECT_TRUE(sameColour(pixel(4, 2), kGreen));
    EXPECT_EQ(ImagePrefetch::untakenCount(), 0u);
    ImagePrefetch::stop();
}

TEST_F(TextureDrawTest, OddRowLengthsUploadWithoutSkewAndShowThePictureUpright)
{
    Picture picture(3, 3, kGreen);
    picture.at(2, 0) = kRed;   // top right
    picture.at(0, 2) = kWhite; // bottom left
    // RGB rows of 9 bytes, not a multiple of 4.
    Texture texture("odd.png", pngFile(picture, PNG_COLOR_TYPE_RGB), TextureWrap::Clamp,
                    TextureMipmaps::None);
    texture.upload();
    ASSERT_EQ(texture.components(), 3);
    clear(0, 0, 0);
    texture.draw(10, 10, 0);
    EXPECT_TRUE(sameColour(pixel(12, 10), kRed));
    EXPECT_TRUE(sameColour(pixel(10, 12), kWhite));
    EXPECT_TRUE(sameColour(pixel(10, 10), kGreen));
    EXPECT_TRUE(sameColour(pixel(12, 12), kGreen));
    EXPECT_TRUE(sameColour(pixel(11, 11), kGreen));
}

TEST_F(TextureDrawTest, BindingTheSameTextureTwiceIssuesOneBind)
{
    Texture first("a.tga", greenWithRedBottomRow(4, 4), TextureWrap::Clamp, TextureMipmaps::None);
    Texture second("b.tga", greenWithRedBottomRow(4, 4), TextureWrap::Clamp, TextureMipmaps::None);
    first.upload();
    second.upload();
    const auto before = Texture::bindsIssued();
    first.bind();
    first.bind();
    EXPECT_EQ(Texture::bindsIssued(), before + 1);
    second.bind();
    first.bind();
    EXPECT_EQ(Texture::bindsIssued(), before + 3);
}

TEST_F(TextureDrawTest, TexturesSurviveTheContextBeingRecreated)
{
    auto texture = strip();
    texture->upload();
    recreateContext();
    ASSERT_TRUE(texture->isUploaded());
    clear(0, 0, 0);
    texture->draw(100, 50, 0);
    EXPECT_TRUE(sameColour(pixel(120, 60), kGreen));
    EXPECT_TRUE(sameColour(pixel(120, 81), kRed));
}

TEST_F(TextureDrawTest, TexturesMadeWithoutAContextAreUploadedByReloadAll)
{
    m_context.reset();
    auto texture = strip();
    texture->upload();
    EXPECT_FALSE(texture->isUploaded());
    SetUp(); // a context appears; SetUp reloads all textures
    EXPECT_TRUE(texture->isUploaded());
    clear(0, 0, 0);
    texture->draw(0, 0, 0);
    EXPECT_TRUE(sameColour(pixel(10, 10), kGreen));
}

TEST_F(TextureDrawTest, ReloadAllWithTheContextInPlaceTakesEveryPictureAfreshFromItsFile)
{
    TempDir dir;
    FilePack disk; // holds nothing: every name comes from the disk
    const Bytes green = tgaFile(Picture(8, 8, kGreen));
    const Bytes red = tgaFile(Picture(16, 8, kRed));
    TempDir::writeFile("art/swatch.tga", std::string(green.begin(), green.end()));
    auto texture = Texture::load(&disk, "art/swatch.tga");
    texture->draw(0, 0, 0);
    TempDir::writeFile("art/swatch.tga", std::string(red.begin(), red.end()));
    Texture::reloadAll();
    ASSERT_TRUE(texture->isUploaded());
    EXPECT_EQ(texture->width(), 16);
    clear(0, 0, 0);
    texture->draw(0, 0, 0);
    EXPECT_TRUE(sameColour(pixel(4, 4), kRed));
    EXPECT_TRUE(sameColour(pixel(12, 4), kRed));
}

TEST_F(TextureDrawTest, MipmapChainsAndCompressedTexturesDraw)
{
    Texture built("m.tga", greenWithRedBottomRow(64, 64), TextureWrap::Repeat,
                  TextureMipmaps::Build);
    built.upload();
    clear(0, 0, 0);
    built.draw(0, 0, 0);
    EXPECT_TRUE(sameColour(pixel(10, 10), kGreen));

    if (!GlContext::hasExtension("GL_EXT_texture_compression_s3tc"))
        GTEST_SKIP() << "no S3TC on this driver";
    Bytes blocks;
    for (int i = 0; i < 4 + 1 + 1; ++i)
        for (std::uint8_t b : dxt1SolidBlock(0xf800)) // pure red
            blocks.push_back(b);
    Texture compressed("c.dds", ddsCompressedFile("DXT1", 8, 8, blocks, 3), TextureWrap::Clamp,
                       TextureMipmaps::Build);
    compressed.upload();
    compressed.draw(100, 100, 0);
    EXPECT_TRUE(sameColour(pixel(104, 104), kRed));
    // Stored levels without the mipmap flag: only the base is uploaded and still draws.
    Texture baseOnly("c.dds", ddsCompressedFile("DXT1", 8, 8, blocks, 3), TextureWrap::Clamp,
                     TextureMipmaps::None);
    baseOnly.upload();
    baseOnly.draw(200, 100, 0);
    EXPECT_TRUE(sameColour(pixel(204, 104), kRed));
}
