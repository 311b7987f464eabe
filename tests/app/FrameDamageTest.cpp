// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FrameDamage.h"
#include "objects/FrameRecording.h"
#include "objects/Texture.h"
#include "objects/VertexBatch.h"
#include "platform/GlContext.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kWidth = 200;
constexpr int kHeight = 100;

// One feedback vertex: window position, white, texture coordinates 0.
void addVertex(std::vector<float>& record, float x, float y)
{
    record.insert(record.end(), {x, y, 0.5f, 1, 1, 1, 1, 0, 0, 0, 1});
}

void addTriangle(std::vector<float>& record, float x, float y, float size)
{
    record.insert(record.end(), {float(GL_POLYGON_TOKEN), 3});
    addVertex(record, x, y);
    addVertex(record, x + size, y);
    addVertex(record, x, y + size);
}

std::vector<FrameDamage::Primitive> read(const std::vector<float>& record)
{
    std::vector<FrameDamage::Primitive> primitives;
    EXPECT_TRUE(FrameDamage::read(record.data(), int(record.size()), kWidth, kHeight, primitives));
    return primitives;
}

bool covers(const BufferRect& outer, const BufferRect& inner)
{
    return outer.x <= inner.x && outer.y <= inner.y &&
           outer.x + outer.width >= inner.x + inner.width &&
           outer.y + outer.height >= inner.y + inner.height;
}

} // namespace

TEST(FrameDamage, APrimitiveCoversThePixelsItCanReachWithinTheBufferAndACutRecordIsRefused)
{
    std::vector<float> record;
    addTriangle(record, 10.5f, 20.25f, 10.0f);
    addTriangle(record, 190.0f, 90.0f, 30.0f);
    const auto primitives = read(record);
    ASSERT_EQ(primitives.size(), 2u);
    EXPECT_EQ(primitives[0].bounds, (BufferRect{9, 19, 13, 13}));
    EXPECT_EQ(primitives[1].bounds, (BufferRect{189, 89, 11, 11}));
    // A record that does not read is refused.
    std::vector<FrameDamage::Primitive> refused;
    const std::vector<float> unknown = {12345.0f, 1, 2, 3};
    EXPECT_FALSE(FrameDamage::read(unknown.data(), int(unknown.size()), kWidth, kHeight, refused));
    record.pop_back();
    EXPECT_FALSE(FrameDamage::read(record.data(), int(record.size()), kWidth, kHeight, refused));
}

TEST(FrameDamage, TheSameShapeWithAnotherTextureOrColourIsAnotherPrimitive)
{
    std::vector<float> plain;
    addTriangle(plain, 10, 10, 10);
    std::vector<float> textured = {float(GL_PASS_THROUGH_TOKEN), 7};
    addTriangle(textured, 10, 10, 10);
    std::vector<float> red = plain;
    red[2 + 4] = 0.5f;
    EXPECT_NE(read(plain)[0].key, read(textured)[0].key);
    EXPECT_NE(read(plain)[0].key, read(red)[0].key);
    EXPECT_EQ(read(plain)[0], read(plain)[0]);
}

TEST(FrameDamage, AMovedPrimitiveMarksWhereItWasAndWhereItIsOneThatComesOrGoesItsOwnArea)
{
    std::vector<float> before, after;
    addTriangle(before, 10, 10, 10);
    addTriangle(before, 100, 50, 10);
    addTriangle(after, 10, 10, 10);
    addTriangle(after, 120, 50, 10);
    addTriangle(after, 160, 10, 10);
    auto changed = FrameDamage::changes(read(before), read(after));
    ASSERT_EQ(changed.size(), 3u);
    EXPECT_EQ(changed[0], read(before)[1].bounds);
    EXPECT_EQ(changed[1], read(after)[1].bounds);
    EXPECT_EQ(changed[2], read(after)[2].bounds);
    EXPECT_TRUE(FrameDamage::changes(read(after), read(after)).empty());

    // One that comes or goes marks only its own area.
    before.clear();
    after.clear();
    addTriangle(before, 10, 10, 10);
    addTriangle(before, 100, 50, 10);
    addTriangle(before, 200, 50, 10);
    addTriangle(after, 10, 10, 10);
    addTriangle(after, 150, 10, 10); // drawn now, before the others
    addTriangle(after, 100, 50, 10);
    addTriangle(after, 200, 50, 10);
    changed = FrameDamage::changes(read(before), read(after));
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], read(after)[1].bounds);
    changed = FrameDamage::changes(read(after), read(before));
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], read(after)[1].bounds);
}

TEST(FrameDamage, NearbyRegionsAreJoinedAndTheirNumberIsCapped)
{
    const std::vector<BufferRect> rects = {
        {0, 0, 40, 40}, {30, 30, 40, 40}, {500, 500, 10, 10}, {900, 0, 10, 10}, {0, 900, 10, 10}};
    const auto joined = FrameDamage::join(rects, 8);
    ASSERT_EQ(joined.size(), 4u);
    EXPECT_EQ(joined[0], (BufferRect{0, 0, 70, 70}));
    const auto capped = FrameDamage::join(rects, 2);
    ASSERT_EQ(capped.size(), 2u);
    for (const BufferRect& rect : rects)
        EXPECT_TRUE(covers(capped[0], rect) || covers(capped[1], rect));
}

class FrameDamageDrawing : public testing::Test {
protected:
    void SetUp() override
    {
        m_context = GlContext::createHidden(kWidth, kHeight);
        if (!m_context)
            GTEST_SKIP() << "no OpenGL display: " << GlContext::lastError();
        glViewport(0, 0, kWidth, kHeight);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, 0, kHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    FrameDamage::Regions frame(float squareX, float squareY = 10)
    {
        m_damage.begin(kWidth, kHeight);
        glClearColor(1, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glBegin(GL_TRIANGLE_STRIP);
        glVertex2f(squareX, squareY);
        glVertex2f(squareX + 20, squareY);
        glVertex2f(squareX, squareY + 20);
        glVertex2f(squareX + 20, squareY + 20);
        glEnd();
        return m_damage.finish();
    }

    std::unique_ptr<GlContext> m_context;
    FrameDamage m_damage;
};

TEST_F(FrameDamageDrawing, TheRecordingDrawsNothingAndFindsOnlyWhatMovedOrAllAfterAnUpload)
{
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(frame(10).whole);
    const FrameDamage::Regions same = frame(10);
    EXPECT_FALSE(same.whole);
    EXPECT_TRUE(same.rects.empty());
    const FrameDamage::Regions moved = frame(150, 70);
    ASSERT_FALSE(moved.whole);
    ASSERT_EQ(moved.rects.size(), 2u);
    EXPECT_TRUE(covers(moved.rects[0], {10, 10, 20, 20}) ||
                covers(moved.rects[1], {10, 10, 20, 20}));
    EXPECT_TRUE(covers(moved.rects[0], {150, 70, 20, 20}) ||
                covers(moved.rects[1], {150, 70, 20, 20}));
    // Neither the clear nor the square reached the pixels.
    GLubyte pixel[4] = {};
    glReadPixels(15, 15, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel);
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[2], 255);
    EXPECT_FALSE(glIsEnabled(GL_SCISSOR_TEST));

    // A forgotten buffer or an uploaded picture means a whole frame.
    frame(10);
    EXPECT_FALSE(frame(10).whole);
    m_damage.forget();
    EXPECT_TRUE(frame(10).whole);
    EXPECT_FALSE(frame(10).whole);
    // One opaque white pixel, uncompressed true colour.
    const std::vector<std::uint8_t> tga = {0, 0, 2, 0, 0, 0,  0, 0,   0,   0,   0,
                                           0, 1, 0, 1, 0, 32, 8, 255, 255, 255, 255};
    Texture picture("pixel.tga", tga, TextureWrap::Clamp, TextureMipmaps::None);
    picture.upload();
    EXPECT_TRUE(frame(10).whole);
}

// How a frame is drawn: state a screen may change with nothing moving.
struct Look {
    GLenum blendDestination = GL_ONE_MINUS_SRC_ALPHA;
    GLint environment = GL_MODULATE;
    float clearRed = 0.0f;
    GLint filter = GL_LINEAR;
};

void drawLook(const Texture& picture, const Look& look)
{
    glClearColor(look.clearRed, 0.2f, 0.1f, 1.0f);
    FrameRecording::clear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    picture.bind();
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, look.filter);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, look.environment);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, look.blendDestination);
    glColor4f(0.5f, 0.8f, 0.3f, 0.6f);
    VertexBatch quad(GL_TRIANGLE_STRIP);
    quad.texCoord(0, 0);
    quad.vertex(50, 30);
    quad.texCoord(1, 0);
    quad.vertex(90, 30);
    quad.texCoord(0, 1);
    quad.vertex(50, 70);
    quad.texCoord(1, 1);
    quad.vertex(90, 70);
    quad.draw();
    glColor4f(1, 1, 1, 1);
    glDisable(GL_BLEND);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
}

std::vector<GLubyte> buffer()
{
    std::vector<GLubyte> pixels(std::size_t(kWidth) * kHeight * 4);
    glFinish();
    glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

// The presenter's way: record the frame, then draw it whole or only the
// regions found changed over the last frame's pixels.
void present(FrameDamage& damage, const Texture& picture, const Look& look)
{
    damage.begin(kWidth, kHeight);
    drawLook(picture, look);
    const FrameDamage::Regions regions = damage.finish();
    if (regions.whole) {
        drawLook(picture, look);
        return;
    }
    glEnable(GL_SCISSOR_TEST);
    for (const BufferRect& rect : regions.rects) {
        glScissor(rect.x, rect.y, rect.width, rect.height);
        drawLook(picture, look);
    }
    glDisable(GL_SCISSOR_TEST);
}

TEST_F(FrameDamageDrawing, AChangeOfDrawingStateAloneLeavesNoStalePixel)
{
    // 2 x 2 texels of different colours and alphas, true colour with alpha.
    const std::vector<std::uint8_t> tga = {0, 0,   2, 0, 0,   0,  0,   0,   0,   0,   0, 0,
                                           2, 0,   2, 0, 32,  8,  255, 0,   0,   255, 0, 255,
                                           0, 128, 0, 0, 255, 60, 200, 200, 200, 255};
    Texture picture("look.tga", tga, TextureWrap::Clamp, TextureMipmaps::None);
    const Look plain;
    Look additive, replaced, cleared, nearest;
    additive.blendDestination = GL_ONE;
    replaced.environment = GL_REPLACE;
    cleared.clearRed = 0.6f;
    nearest.filter = GL_NEAREST;
    for (const Look& changed : {additive, replaced, cleared, nearest}) {
        m_damage.forget();
        present(m_damage, picture, plain);
        present(m_damage, picture, plain);
        present(m_damage, picture, changed);
        const std::vector<GLubyte> shown = buffer();
        drawLook(picture, changed);
        EXPECT_TRUE(shown == buffer())
            << "blend " << changed.blendDestination << ", environment " << changed.environment
            << ", clear " << changed.clearRed << ", filter " << changed.filter;
    }
}
