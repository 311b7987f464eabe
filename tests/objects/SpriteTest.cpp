// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "objects/FrameSequenceSprite.h"
#include "objects/GridSprite.h"
#include "objects/Texture.h"
#include "platform/GlDriver.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

const Rgba kRed{255, 0, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kBlack{0, 0, 0, 255};

std::unique_ptr<Sprite> loadGrid(TestPack& files, const std::string& description, int width = 256,
                                 int height = 128)
{
    files.add("dat/grid.tga", tgaFile(Picture(width, height, kRed)));
    files.add("dat/grid.spr", description);
    return Sprite::load(files.pack(), "dat/grid.spr");
}

// 2 frames x 2 groups of 8 x 8, red but for group 0, frame 1 (the bottom
// right of the picture) in blue; drawn the right way up.
std::unique_ptr<Sprite> loadCells(TestPack& files)
{
    Picture picture(16, 16, kRed);
    for (int y = 8; y < 16; ++y)
        for (int x = 8; x < 16; ++x)
            picture.at(x, y) = kBlue;
    files.add("dat/cells.tga", tgaFile(picture));
    files.add("dat/cells.spr", std::string("file_name dat/cells.tga\nframes 2\ngroups 2\n"));
    auto sprite = Sprite::load(files.pack(), "dat/cells.spr");
    sprite->setFlipped(true);
    return sprite;
}

// The drawing of a software or an accelerated renderer, whichever draws the
// test: VELLOMAR_RENDERER for the context made next, as long as it lives.
class RendererChoice {
public:
    explicit RendererChoice(const char* kind)
    {
        if (const char* old = std::getenv("VELLOMAR_RENDERER"))
            m_old = old;
        setenv("VELLOMAR_RENDERER", kind, 1);
    }
    ~RendererChoice()
    {
        if (m_old.empty())
            unsetenv("VELLOMAR_RENDERER");
        else
            setenv("VELLOMAR_RENDERER", m_old.c_str(), 1);
    }

private:
    std::string m_old;
};

// A 4 x 2 grid of 16 x 16 cells whose texels vary in colour and alpha.
std::unique_ptr<Sprite> loadGlow(TestPack& files, const std::string& name)
{
    Picture picture(64, 32, kBlack);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x)
            picture.at(x, y) = Rgba{std::uint8_t(x * 4), std::uint8_t(255 - y * 8), 200,
                                    std::uint8_t(std::min(255, (x % 16 + y % 16) * 9))};
    files.add("dat/glow.tga", tgaFile(picture));
    files.add(name, std::string("file_name dat/glow.tga\nframes 4\ngroups 2\n"));
    return Sprite::load(files.pack(), name);
}

std::vector<Rgba> readBuffer(int width, int height)
{
    std::vector<Rgba> pixels(std::size_t(width) * std::size_t(height));
    glFinish();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

std::vector<int> framesOverUpdates(Sprite& sprite, int updates, float dt)
{
    std::vector<int> frames;
    for (int i = 0; i < updates; ++i) {
        sprite.update(dt);
        frames.push_back(sprite.frame());
    }
    return frames;
}

} // namespace

TEST(SpriteDescriptionTest, DefaultsAndCountsBelowOne)
{
    const std::string text = "file_name dat/a.tga\ngroups 0\nframes -3\ntex_wrap 2\n";
    const SpriteDescription description = SpriteDescription::parse(text.data(), text.size());
    EXPECT_EQ(description.fileName, "dat/a.tga");
    EXPECT_EQ(description.groups, 1);
    EXPECT_EQ(description.frames, 1);
    EXPECT_TRUE(description.wrap);
    EXPECT_FALSE(description.dynamic);

    const SpriteDescription empty = SpriteDescription::parse("", 0);
    EXPECT_EQ(empty.fileName, "0");
    EXPECT_EQ(empty.frames, 1);
    EXPECT_EQ(empty.groups, 1);
}

TEST(SpriteLoadTest, GridCellsAndTheirTextureCoordinates)
{
    TestPack files;
    auto sprite = loadGrid(files, "file_name dat/grid.tga\nframes 8\ngroups 2\n");
    EXPECT_EQ(sprite->name(), "dat/grid.spr");
    EXPECT_TRUE(sprite->ownsTexture());
    EXPECT_EQ(sprite->frameWidth(), 32.0f);
    EXPECT_EQ(sprite->frameHeight(), 64.0f);
    sprite->setFrame(3);
    sprite->setGroup(1);
    const auto coords = static_cast<GridSprite&>(*sprite).cellCoords();
    EXPECT_FLOAT_EQ(coords.uLeft, 0.375f);
    EXPECT_FLOAT_EQ(coords.uRight, 0.5f);
    EXPECT_FLOAT_EQ(coords.vLow, 0.5f);
    EXPECT_FLOAT_EQ(coords.vHigh, 1.0f);
}

TEST(SpriteLoadTest, OnlyAFileNameGivesOneCellOfTheImageSize)
{
    TestPack files;
    auto sprite = loadGrid(files, "file_name dat/grid.tga\n", 40, 24);
    EXPECT_EQ(sprite->frameWidth(), 40.0f);
    EXPECT_EQ(sprite->frameHeight(), 24.0f);
    EXPECT_FALSE(sprite->blend());
    EXPECT_FALSE(sprite->flipped());
    EXPECT_FLOAT_EQ(sprite->frameDuration(), 1000.0f / 3.0f);
}

TEST(SpriteDeathTest, ADescriptionWithoutFileNameAsksForFileZero)
{
    TestPack files;
    files.add("dat/empty.spr", std::string("frames 2\n"));
    EXPECT_EXIT(Sprite::load(files.pack(), "dat/empty.spr"), testing::ExitedWithCode(1),
                "file != 0.*file: 0\\)");
}

// Four frames at ten a second, three groups.
class SpriteTimingTest : public testing::Test {
protected:
    void SetUp() override { sprite->setFps(10); }
    TestPack files;
    std::unique_ptr<Sprite> sprite =
        loadGrid(files, "file_name dat/grid.tga\nframes 4\ngroups 3\n");
};

TEST_F(SpriteTimingTest, ForwardPlayStepsAndLoops)
{
    EXPECT_EQ(framesOverUpdates(*sprite, 14, 30.0f),
              (std::vector<int>{0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 3, 0}));
    EXPECT_NEAR(sprite->time(), 420.0f - 400.0f, 0.01f); // past 400 ms: frame 0 again
}

TEST_F(SpriteTimingTest, ReversePlayRunsBackwardsAndWraps)
{
    sprite->setReverse(true);
    // From time 0 the first step wraps to the end of the loop.
    EXPECT_EQ(framesOverUpdates(*sprite, 5, 50.0f), (std::vector<int>{3, 3, 2, 2, 1}));
    sprite->update(1000.0f); // longer than the loop: still a valid frame
    EXPECT_GE(sprite->frame(), 0);
    EXPECT_LT(sprite->frame(), 4);
}

TEST_F(SpriteTimingTest, FrameAndGroupOutOfRangeFallBackToZero)
{
    sprite->setFrame(2);
    EXPECT_EQ(sprite->frame(), 2);
    EXPECT_FLOAT_EQ(sprite->time(), 200.0f);
    sprite->setFrame(4);
    EXPECT_EQ(sprite->frame(), 0);
    EXPECT_FLOAT_EQ(sprite->time(), 0.0f);
    sprite->setGroup(2);
    EXPECT_EQ(sprite->group(), 2);
    sprite->setGroup(3);
    EXPECT_EQ(sprite->group(), 0);
    sprite->setGroup(-1);
    EXPECT_EQ(sprite->group(), 0);
    sprite->setFps(0);
    EXPECT_FLOAT_EQ(sprite->frameDuration(), 1000.0f / 0.001f);
}

TEST_F(SpriteTimingTest, InstancesShareTheTextureAndAnimateIndependently)
{
    sprite->setBlend(true);
    auto first = sprite->newInstance();
    auto second = sprite->newInstance();
    EXPECT_EQ(first->texture(), sprite->texture());
    EXPECT_FALSE(first->ownsTexture());
    EXPECT_TRUE(first->name().empty());
    EXPECT_TRUE(first->blend());
    first->update(150.0f);
    second->setFrame(3);
    EXPECT_EQ(first->frame(), 1);
    EXPECT_EQ(second->frame(), 3);
    EXPECT_EQ(sprite->frame(), 0);

    const std::size_t textures = Texture::registeredCount();
    first->unload();
    first.reset();
    EXPECT_EQ(Texture::registeredCount(), textures);
    EXPECT_EQ(second->texture(), sprite->texture());
    sprite->unload();
    EXPECT_EQ(sprite->texture(), nullptr);
    EXPECT_EQ(Texture::registeredCount(), textures - 1);
}

TEST(FrameSequenceSpriteTest, GroupsOfFrameImages)
{
    TestPack files;
    files.add("dat/hints/a.tga", tgaFile(Picture(20, 10, kRed)));
    files.add("dat/hints/b.tga", tgaFile(Picture(30, 30, kBlue)));
    files.add("dat/hints/gameplay.xml",
              std::string("<anim texWrap=\"false\" texDynamic=\"true\">"
                          "<group><frame>dat/hints/a.tga</frame><frame>dat/hints/b.tga</frame>"
                          "<frame>dat/hints/a.tga</frame></group>"
                          "<group><frame> dat/hints/b.tga </frame></group></anim>"));
    auto sprite = Sprite::loadFrameSequence(files.pack(), "dat/hints/gameplay.xml");
    EXPECT_EQ(sprite->groups(), 2);
    EXPECT_EQ(sprite->frames(), 3);
    EXPECT_EQ(sprite->frameWidth(), 20.0f);
    EXPECT_EQ(sprite->frameHeight(), 10.0f);
    auto& sequence = static_cast<FrameSequenceSprite&>(*sprite);
    sprite->setFrame(1);
    EXPECT_EQ(sequence.currentTexture()->width(), 30);
    EXPECT_EQ(sequence.currentTexture()->mipmaps(), TextureMipmaps::Build);
    sprite->setGroup(1);
    EXPECT_EQ(sprite->frames(), 1);
    EXPECT_EQ(sprite->frame(), 0);

    auto instance = sprite->newInstance();
    instance->setGroup(0);
    instance->setFrame(2);
    EXPECT_EQ(static_cast<FrameSequenceSprite&>(*instance).currentTexture()->width(), 20);
    EXPECT_EQ(sprite->frames(), 1);
}

using SpriteDrawTest = GlTest;

TEST_F(SpriteDrawTest, AFlippedSpriteShowsItsPictureUpright)
{
    TestPack files;
    Picture picture(16, 16, kBlue);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 16; ++x)
            picture.at(x, y) = kRed; // the top half
    files.add("dat/pic.tga", tgaFile(picture));
    files.add("dat/pic.spr", std::string("file_name dat/pic.tga\n"));
    auto sprite = Sprite::load(files.pack(), "dat/pic.spr");
    sprite->setFlipped(true);
    clear(0, 0, 0);
    glPushMatrix();
    glTranslatef(100, 100, 0);
    sprite->draw();
    glPopMatrix();
    EXPECT_TRUE(sameColour(pixel(100, 94), kRed));
    EXPECT_TRUE(sameColour(pixel(100, 105), kBlue));
    EXPECT_TRUE(sameColour(pixel(91, 100), kBlack));
    EXPECT_TRUE(sameColour(pixel(108, 100), kBlack));

    sprite->setFlipped(false);
    glTranslatef(200, 100, 0);
    sprite->draw();
    EXPECT_TRUE(sameColour(pixel(200, 94), kBlue));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) == GL_FALSE);
}

TEST_F(SpriteDrawTest, GroupsAndFramesPickTheirCell)
{
    TestPack files;
    auto sprite = loadCells(files);
    sprite->setFrame(1);
    clear(0, 0, 0);
    glTranslatef(50, 50, 0);
    sprite->draw();
    EXPECT_TRUE(sameColour(pixel(50, 50), kBlue));
    sprite->setGroup(1);
    glTranslatef(50, 0, 0);
    sprite->draw();
    EXPECT_TRUE(sameColour(pixel(100, 50), kRed));
}

TEST_F(SpriteDrawTest, BatchedAdditiveQuadsLandLikeSingleDraws)
{
    TestPack files;
    auto sprite = loadCells(files);
    sprite->setBlend(true);
    clear(0, 0, 0);
    sprite->drawAdditiveQuads(
        {{50, 50, 0, 20, 20, 0, 1, 1, 1, 1, 1}, {100, 50, 0, 10, 10, 1, 0, 1, 1, 1, 0.5f}});
    EXPECT_TRUE(sameColour(pixel(50, 50), kBlue));
    EXPECT_TRUE(sameColour(pixel(58, 50), kBlue));
    EXPECT_TRUE(sameColour(pixel(62, 50), Rgba{0, 0, 0, 255}));
    EXPECT_NEAR(pixel(100, 50).r, 128, 3);
    EXPECT_TRUE(sameColour(pixel(107, 50), Rgba{0, 0, 0, 255}));
    EXPECT_EQ(sprite->frameWidth(), 10.0f);
    EXPECT_TRUE(glIsEnabled(GL_BLEND) == GL_FALSE);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) == GL_FALSE);
    GLint shading = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shading);
    EXPECT_EQ(shading, GL_SMOOTH); // what later drawing, gradients included, expects
}

// Sparkles drawn from premultiplied texels, grouped by colour, one nearest
// texel a pixel from the level of their size, must add the same light as each
// texel modulated by its quad's colour. Quads on whole pixels, one texel a
// pixel or two across, make both filters sample the same texels.
TEST_F(SpriteDrawTest, PremultipliedAdditiveQuadsAddTheSameLight)
{
    const RendererChoice software("software");
    recreateContext();
    TestPack files;
    Picture picture(16, 16, kBlack);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            picture.at(x, y) = Rgba{std::uint8_t(x * 16), std::uint8_t(255 - y * 16), 200,
                                    std::uint8_t(std::min(255, (x + y) * 9))};
    files.add("dat/glow.tga", tgaFile(picture));
    files.add("dat/straight.spr", std::string("file_name dat/glow.tga\n"));
    files.add("dat/premultiplied.spr", std::string("file_name dat/glow.tga\n"));
    auto straight = Sprite::load(files.pack(), "dat/straight.spr");
    auto premultiplied = Sprite::load(files.pack(), "dat/premultiplied.spr");
    premultiplied->texture()->usePremultipliedAlpha();
    clear(0.1f, 0.1f, 0.1f);
    auto quadsAt = [](float y) {
        // Overlapping quads of two colours, a half-size one, and one too
        // faint to add anything.
        return std::vector<Sprite::AdditiveQuad>{{40, y, 0, 16, 16, 0, 0, 1, 1, 1, 0.7f},
                                                 {48, y, 0, 16, 16, 0, 0, 1, 0.5f, 0.25f, 0.9f},
                                                 {44, y + 8, 0, 8, 8, 0, 0, 1, 1, 1, 1},
                                                 {44, y, 0, 16, 16, 0, 0, 1, 1, 1, 0.001f}};
    };
    for (auto* sprite : {straight.get(), premultiplied.get()})
        sprite->setBlend(true);
    straight->drawAdditiveQuads(quadsAt(60));
    premultiplied->drawAdditiveQuads(quadsAt(160));
    ASSERT_TRUE(premultiplied->texture()->hasPremultipliedAlpha());
    EXPECT_EQ(premultiplied->texture()->levels(), 5);
    // Up to three quads overlap, each rounding once.
    for (int y = 48; y < 76; ++y)
        for (int x = 28; x < 60; ++x)
            ASSERT_TRUE(sameColour(pixel(x, y), pixel(x, y + 100), 4)) << x << "," << y;
    // Later sprites are tinted by their colour and filtered again.
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);
    premultiplied->texture()->bind();
    GLint filter = 0;
    GLint baseLevel = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, &baseLevel);
    EXPECT_EQ(filter, GL_LINEAR);
    EXPECT_EQ(baseLevel, 0);
    GLfloat blendColour[4] = {1, 1, 1, 1};
    glGetFloatv(GL_BLEND_COLOR, blendColour);
    EXPECT_EQ(blendColour[3], 0.0f);
}

// Off software renderers sparkles keep their looks: every one filtered and
// tinted by its own colour and alpha, exactly as drawn one at a time.
TEST_F(SpriteDrawTest, AcceleratedSparklesLandAsSingleDrawsPixelForPixel)
{
    const RendererChoice accelerated("accelerated");
    recreateContext();
    TestPack files;
    auto sprite = loadGlow(files, "dat/particles.spr");
    sprite->texture()->usePremultipliedAlpha(); // as the play screen asks
    sprite->setBlend(true);
    sprite->setFlipped(true);
    std::vector<Sprite::AdditiveQuad> quads;
    std::srand(7);
    for (int i = 0; i < 300; ++i) {
        const auto random = [](int range) { return float(std::rand() % (range * 100)) / 100.0f; };
        quads.push_back({random(kWidth), random(kHeight), 0, 4 + random(40), 4 + random(40),
                         std::rand() % 2, std::rand() % 4, 1 - random(1), 1 - random(1),
                         1 - random(1), random(1)});
    }
    clear(0.1f, 0.05f, 0.2f);
    sprite->drawAdditiveQuads(quads);
    EXPECT_FALSE(sprite->texture()->hasPremultipliedAlpha());
    const std::vector<Rgba> batched = readBuffer(kWidth, kHeight);
    clear(0.1f, 0.05f, 0.2f);
    sprite->Sprite::drawAdditiveQuads(quads); // one textured strip each
    const std::vector<Rgba> single = readBuffer(kWidth, kHeight);
    int differing = 0;
    for (std::size_t i = 0; i < single.size(); ++i)
        differing += sameColour(batched[i], single[i], 0) ? 0 : 1;
    EXPECT_EQ(differing, 0);
}

TEST(SparkleRenderer, SoftwareRenderersAreKnownByTheirNames)
{
    EXPECT_TRUE(GlDriver::isSoftwareRendererName("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(GlDriver::isSoftwareRendererName("Software Rasterizer"));
    EXPECT_TRUE(GlDriver::isSoftwareRendererName("softpipe"));
    EXPECT_FALSE(GlDriver::isSoftwareRendererName(
        "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6, DRM 3.49, 6.1.0)"));
    EXPECT_FALSE(GlDriver::isSoftwareRendererName("Mali-G52 r1 (Panfrost)"));
}

TEST_F(SpriteDrawTest, APictureWithoutAlphaStaysStraightAndStillDraws)
{
    TestPack files;
    files.add("dat/red.png", pngFile(Picture(8, 8, kRed), 2)); // colour type RGB
    files.add("dat/red.spr", std::string("file_name dat/red.png\n"));
    auto sprite = Sprite::load(files.pack(), "dat/red.spr");
    sprite->texture()->usePremultipliedAlpha();
    sprite->setBlend(true);
    clear(0, 0, 0);
    sprite->drawAdditiveQuads({{30, 30, 0, 8, 8, 0, 0, 1, 1, 1, 0.5f}});
    EXPECT_FALSE(sprite->texture()->hasPremultipliedAlpha());
    EXPECT_NEAR(pixel(30, 30).r, 128, 3);
}

TEST_F(SpriteDrawTest, BlendingModes)
{
    TestPack files;
    files.add("dat/half.tga", tgaFile(Picture(8, 8, Rgba{255, 0, 0, 128})));
    files.add("dat/half.spr", std::string("file_name dat/half.tga\n"));
    auto sprite = Sprite::load(files.pack(), "dat/half.spr");
    sprite->setBlend(true);
    clear(0, 0, 1);
    glTranslatef(20, 20, 0);
    sprite->draw();
    const Rgba normal = pixel(20, 20);
    EXPECT_NEAR(normal.r, 128, 3);
    EXPECT_NEAR(normal.b, 127, 3);
    glTranslatef(20, 0, 0);
    sprite->drawAdditive();
    const Rgba additive = pixel(40, 20);
    EXPECT_NEAR(additive.r, 128, 3);
    EXPECT_EQ(additive.b, 255);
    EXPECT_TRUE(glIsEnabled(GL_BLEND) == GL_FALSE);
}
