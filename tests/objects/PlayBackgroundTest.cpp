// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"
#include "game/BoardRenderer.h"
#include "objects/BackgroundCache.h"
#include "objects/Texture.h"

#include <GL/gl.h>

#include <vector>

namespace {

constexpr int kSide = 1024;

// Every texel tells where it is: red and green the low bits, blue the high.
Rgba texelAt(int x, int y)
{
    return Rgba{std::uint8_t(x), std::uint8_t(y), std::uint8_t((x >> 8) * 64 + (y >> 8) * 16), 255};
}

// The play screen's view, 800 x 600 units on a window of the given size.
class PlayBackgroundTest : public GlTest {
protected:
    void SetUp() override
    {
        GlTest::SetUp();
        if (!m_context)
            return;
        m_context = GlContext::createHidden(800, 600);
        if (!m_context)
            GTEST_SKIP() << "no OpenGL display: " << GlContext::lastError();
        Picture picture(kSide, kSide, Rgba{});
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                picture.at(x, y) = texelAt(x, y);
        m_files.add("dat/game_bg.tga", tgaFile(picture));
        m_texture = Texture::load(&m_files.pack(), "dat/game_bg.tga");
        m_art.background = m_texture.get();
    }
    void TearDown() override
    {
        m_texture.reset();
        GlTest::TearDown();
    }

    static void view(int width, int height)
    {
        glViewport(0, 0, width, height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 800, 600, 0, -50, 50);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    static std::vector<Rgba> window()
    {
        std::vector<Rgba> pixels(std::size_t(800) * 600);
        glFinish();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    static bool same(const Rgba& a, const Rgba& b)
    {
        return a.r == b.r && a.g == b.g && a.b == b.b;
    }

    TestPack m_files;
    std::unique_ptr<Texture> m_texture;
    PlayArt m_art;
};

} // namespace

TEST_F(PlayBackgroundTest, AtWindowSizeEveryPixelShowsOneTexel)
{
    BoardRenderer renderer(m_art);
    view(800, 600);
    const std::uint64_t copies = BackgroundCache::copiesDrawn();
    for (int i = 0; i < 3; ++i)
        renderer.drawBackground();
    EXPECT_EQ(BackgroundCache::copiesDrawn(), copies);
    const std::vector<Rgba> pixels = window();
    int wrong = 0;
    for (int y = 0; y < 600; ++y) // rows read bottom-up
        for (int x = 0; x < 800; ++x)
            wrong +=
                same(pixels[std::size_t(599 - y) * 800 + x], texelAt(x + 112, y + 212)) ? 0 : 1;
    EXPECT_EQ(wrong, 0);
}

TEST_F(PlayBackgroundTest, ScaledItIsPutBackFromACopyOfTheSamePixels)
{
    BoardRenderer renderer(m_art);
    view(640, 480);
    renderer.drawBackground();
    renderer.drawBackground();
    const std::vector<Rgba> drawn = window();
    const std::uint64_t copies = BackgroundCache::copiesDrawn();
    glClear(GL_COLOR_BUFFER_BIT);
    renderer.drawBackground();
    EXPECT_EQ(BackgroundCache::copiesDrawn(), copies + 1);
    const std::vector<Rgba> copied = window();
    int different = 0;
    for (std::size_t i = 0; i < drawn.size(); ++i)
        different += same(drawn[i], copied[i]) ? 0 : 1;
    EXPECT_EQ(different, 0);
}
