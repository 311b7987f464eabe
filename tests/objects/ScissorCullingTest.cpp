// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/ScissorCulling.h"
#include "TestSupport.h"

#include <GL/gl.h>

#include <vector>

namespace {

class ScissorCullingTest : public GlTest {};

} // namespace

TEST_F(ScissorCullingTest, OnlyWhatLandsWhollyOutsideTheScissorBoxIsLeftOut)
{
    EXPECT_FALSE(ScissorCulling::outside(200, 10, 220, 20, 0)) << "no scissor, nothing left out";
    glEnable(GL_SCISSOR_TEST);
    // The view runs y downwards: rows 100 … 139 from the top are 100 … 139 from the bottom of 240.
    glScissor(100, 100, 40, 40);
    EXPECT_TRUE(ScissorCulling::outside(200, 10, 220, 20, 0));
    EXPECT_TRUE(ScissorCulling::outside(10, 110, 90, 120, 0));
    EXPECT_FALSE(ScissorCulling::outside(10, 110, 101, 120, 0)) << "reaches into the box";
    EXPECT_FALSE(ScissorCulling::outside(0, 0, 320, 240, 0)) << "covers the box";
    glPushMatrix();
    glTranslatef(100, 0, 0);
    EXPECT_FALSE(ScissorCulling::outside(10, 110, 90, 120, 0)) << "moved into the box";
    glPopMatrix();
    glDisable(GL_SCISSOR_TEST);
}

TEST_F(ScissorCullingTest, NothingIsLeftOutWhilePrimitivesAreRecorded)
{
    std::vector<GLfloat> record(1024);
    glFeedbackBuffer(GLsizei(record.size()), GL_3D, record.data());
    glRenderMode(GL_FEEDBACK);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 0, 0, 0);
    const bool leftOut = ScissorCulling::outside(200, 10, 220, 20, 0);
    glDisable(GL_SCISSOR_TEST);
    glRenderMode(GL_RENDER);
    EXPECT_FALSE(leftOut);
}
