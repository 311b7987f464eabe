// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/FrameRecording.h"

#include "utils/WordHash.h"

#include <GL/glext.h>

#include <initializer_list>

namespace {

int bufferWidth = 0;
int bufferHeight = 0;
std::uint64_t lastMarked = 0;
bool marked = false;

// The drawing state, read back from OpenGL.
class Digest : public WordHash {
public:
    void enabled(GLenum capability) { add(glIsEnabled(capability)); }
    void integers(GLenum name, int count = 1)
    {
        GLint values[4] = {};
        glGetIntegerv(name, values);
        addWords(values, count);
    }
    void floats(GLenum name, int count = 1)
    {
        GLfloat values[4] = {};
        glGetFloatv(name, values);
        addWords(values, count);
    }
};

void addTextureState(Digest& digest)
{
    digest.enabled(GL_TEXTURE_2D);
    digest.integers(GL_TEXTURE_BINDING_2D);
    GLint environment = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &environment);
    digest.addWords(&environment, 1);
    GLfloat environmentColour[4] = {};
    glGetTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, environmentColour);
    digest.addWords(environmentColour, 4);
    for (const GLenum parameter :
         {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER, GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T,
          GL_TEXTURE_BASE_LEVEL, GL_TEXTURE_MAX_LEVEL}) {
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
        digest.addWords(&value, 1);
    }
}

} // namespace

void FrameRecording::start(int width, int height)
{
    bufferWidth = width;
    bufferHeight = height;
    marked = false;
    s_on = true;
}

void FrameRecording::stop()
{
    s_on = false;
}

std::uint64_t FrameRecording::stateDigest()
{
    Digest digest;
    digest.enabled(GL_BLEND);
    digest.integers(GL_BLEND_SRC_RGB);
    digest.integers(GL_BLEND_DST_RGB);
    digest.integers(GL_BLEND_SRC_ALPHA);
    digest.integers(GL_BLEND_DST_ALPHA);
    digest.integers(GL_BLEND_EQUATION_RGB);
    digest.floats(GL_BLEND_COLOR, 4);
    digest.enabled(GL_ALPHA_TEST);
    digest.integers(GL_ALPHA_TEST_FUNC);
    digest.floats(GL_ALPHA_TEST_REF);
    digest.integers(GL_COLOR_WRITEMASK, 4);
    digest.enabled(GL_COLOR_LOGIC_OP);
    digest.enabled(GL_DEPTH_TEST);
    digest.enabled(GL_DITHER);
    addTextureState(digest);
    return digest.value();
}

// Three tokens of 24, 24 and 16 bits: each a whole number a float holds exactly.
void FrameRecording::pass(std::uint64_t digest)
{
    glPassThrough(GLfloat(digest & 0xffffff));
    glPassThrough(GLfloat((digest >> 24) & 0xffffff));
    glPassThrough(GLfloat(digest >> 48));
}

void FrameRecording::markState()
{
    if (!s_on)
        return;
    const std::uint64_t digest = stateDigest();
    if (marked && digest == lastMarked)
        return;
    pass(digest);
    lastMarked = digest;
    marked = true;
}

// The clear's colour and buffers, then a quad over the whole buffer in its place.
void FrameRecording::clear(GLbitfield mask)
{
    glClear(mask);
    if (!s_on)
        return;
    Digest digest;
    digest.add(mask);
    digest.floats(GL_COLOR_CLEAR_VALUE, 4);
    digest.integers(GL_COLOR_WRITEMASK, 4);
    pass(digest.value());
    marked = false;
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    glViewport(0, 0, bufferWidth, bufferHeight);
    // The same colour and texture coordinates every frame: only the clear's
    // own values tell one clear from another.
    glPushAttrib(GL_CURRENT_BIT);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glTexCoord2f(0.0f, 0.0f);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const GLfloat corners[] = {-1, -1, 1, -1, -1, 1, 1, 1};
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, corners);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_VERTEX_ARRAY);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
}
