// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/BackgroundCache.h"
#include "TestSupport.h"
#include "objects/Texture.h"

#include <GL/gl.h>

#include <vector>

namespace {

// Every pixel different, so any shift or filtering change shows.
Bytes pattern(int width, int height)
{
    Picture picture(width, height, Rgba{0, 0, 0, 255});
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.at(x, y) = Rgba{std::uint8_t(x * 37 + y * 11), std::uint8_t(x * 5 + y * 53),
                                    std::uint8_t((x ^ y) * 29), 255};
    return tgaFile(picture);
}

class BackgroundCacheTest : public GlTest {
protected:
    // A view that does not start at the window's corner, with a picture
    // scaled by an odd factor and reaching past the view on every side.
    std::vector<std::uint8_t> drawFrame(const Texture& texture, int viewWidth)
    {
        clear(0, 0, 0);
        glViewport(7, 11, viewWidth, 190);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, 80, 60, 0, -50, 50);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        BackgroundCache::draw(texture, [&texture] {
            glEnable(GL_TEXTURE_2D);
            texture.bind();
            glBegin(GL_TRIANGLE_STRIP);
            glTexCoord2f(0, 1);
            glVertex3f(-11, -17, 0);
            glTexCoord2f(0, 0);
            glVertex3f(-11, 81, 0);
            glTexCoord2f(1, 1);
            glVertex3f(93, -17, 0);
            glTexCoord2f(1, 0);
            glVertex3f(93, 81, 0);
            glEnd();
            glDisable(GL_TEXTURE_2D);
        });
        std::vector<std::uint8_t> pixels(std::size_t(kWidth) * kHeight * 4);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
};

} // namespace

// The kept copy puts back exactly the pixels of the picture, and another
// view or context draws the picture again.
TEST_F(BackgroundCacheTest, TheKeptCopyIsExactAndRedrawnForAnotherViewOrContext)
{
    Texture texture("bg.tga", pattern(61, 47), TextureWrap::Clamp, TextureMipmaps::None);
    drawFrame(texture, 250);
    drawFrame(texture, 250);
    auto copies = BackgroundCache::copiesDrawn();
    const auto wider = drawFrame(texture, 260);
    EXPECT_EQ(BackgroundCache::copiesDrawn(), copies);

    recreateContext();
    const auto direct = drawFrame(texture, 260);
    drawFrame(texture, 260);
    copies = BackgroundCache::copiesDrawn();
    EXPECT_TRUE(drawFrame(texture, 260) == direct);
    EXPECT_EQ(BackgroundCache::copiesDrawn(), copies + 1);
    EXPECT_TRUE(direct == wider);
}

TEST_F(BackgroundCacheTest, AFrameDrawnOnlyInsideAScissorIsNeverKept)
{
    Texture texture("bg.tga", pattern(61, 47), TextureWrap::Clamp, TextureMipmaps::None);
    const auto direct = drawFrame(texture, 250);
    // Outside the redrawn corner the buffer holds something else entirely.
    clear(1, 0, 0);
    glEnable(GL_SCISSOR_TEST);
    glScissor(20, 20, 30, 30);
    drawFrame(texture, 250);
    glDisable(GL_SCISSOR_TEST);
    EXPECT_TRUE(drawFrame(texture, 250) == direct);
    const auto copies = BackgroundCache::copiesDrawn();
    EXPECT_TRUE(drawFrame(texture, 250) == direct);
    EXPECT_EQ(BackgroundCache::copiesDrawn(), copies + 1);
}
