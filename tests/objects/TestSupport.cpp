// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "objects/Texture.h"

#include <GL/gl.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Keeps the display and the GL driver loaded until the process ends: a driver
// unloaded before exit leaves its own at-exit allocations without names, and
// the leak checker could no longer tell them from ours. Made on the first
// drawing test, after the death tests have forked, and never destroyed.
void keepDisplayOpen()
{
    // Volatile, so the optimiser keeps the pointer and the leak checker sees it.
    static GlContext* volatile keeper = [] {
        GlContext* context = GlContext::createHidden(1, 1).release();
        if (context != nullptr)
            context->releaseCurrent();
        return context;
    }();
    (void)keeper;
}

} // namespace

// The pack keeps the bytes it is given: the file is only their way in.
void TestPack::add(const std::string& name, const Bytes& bytes)
{
    const fs::path path = fs::temp_directory_path() / ("vm_objects_" + std::to_string(getpid()));
    writeFile(path.string(), bytes);
    m_pack.addFile(path.string(), name, false);
    fs::remove(path);
}

void TestPack::add(const std::string& name, const std::string& text)
{
    add(name, Bytes(text.begin(), text.end()));
}

void GlTest::SetUp()
{
    keepDisplayOpen();
    m_context = GlContext::createHidden(kWidth, kHeight);
    if (!m_context)
        GTEST_SKIP() << "no OpenGL display: " << GlContext::lastError();
    Texture::reloadAll();
    glViewport(0, 0, kWidth, kHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, kWidth, kHeight, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glReadBuffer(GL_BACK);
}

void GlTest::TearDown()
{
    Texture::deleteAll();
    m_context.reset();
}

void GlTest::recreateContext()
{
    Texture::deleteAll();
    m_context.reset();
    SetUp();
}

void GlTest::clear(float r, float g, float b)
{
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

Rgba GlTest::pixel(int x, int y) const
{
    std::uint8_t p[4] = {};
    glFinish();
    glReadPixels(x, kHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return Rgba{p[0], p[1], p[2], p[3]};
}

std::pair<int, int> GlTest::inkSpan(int y, const Rgba& background) const
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < kWidth; ++x) {
        if (!sameColour(pixel(x, y), background, 8)) {
            if (first < 0)
                first = x;
            last = x;
        }
    }
    return {first, last};
}

bool sameColour(const Rgba& a, const Rgba& b, int tolerance)
{
    auto near = [tolerance](int x, int y) { return std::abs(x - y) <= tolerance; };
    return near(a.r, b.r) && near(a.g, b.g) && near(a.b, b.b);
}
