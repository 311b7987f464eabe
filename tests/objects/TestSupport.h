// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A pack of files written by the test, and a hidden OpenGL window with the 2D
// view (one unit a pixel, y downwards) whose pixels can be read back.

#include "../image/ImageBuilders.h"
#include "platform/GlContext.h"
#include "utils/FilePack.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class TestPack {
public:
    void add(const std::string& name, const Bytes& bytes);
    void add(const std::string& name, const std::string& text);
    FilePack& pack() { return m_pack; }

private:
    FilePack m_pack;
};

class GlTest : public testing::Test {
protected:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 240;

    void SetUp() override;
    void TearDown() override;
    // Destroys the context and makes a new one, as a display-mode change does.
    void recreateContext();
    void clear(float r, float g, float b);
    // x, y in the 2D view (y downwards).
    Rgba pixel(int x, int y) const;
    // The left-most and right-most columns of row y whose colour differs from the background.
    std::pair<int, int> inkSpan(int y, const Rgba& background) const;

    std::unique_ptr<GlContext> m_context;
};

bool sameColour(const Rgba& a, const Rgba& b, int tolerance = 2);
