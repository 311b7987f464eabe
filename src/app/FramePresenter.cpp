// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/FramePresenter.h"

#include "platform/PlatformWindow.h"
#include "ui/WindowStack.h"

#include <GL/gl.h>

FramePresenter::FramePresenter(PlatformWindow& window, WindowStack& windows)
    : m_window(window), m_windows(windows)
{
}

void FramePresenter::present(bool earlier, bool minimized)
{
    // The program's first frame is drawn whole: recording it to compare the
    // next one with costs about as much again the first time, and can wait
    // until the picture is on the screen.
    if (earlier && drawsChangesOnly(minimized))
        drawChanges();
    else
        drawWhole(minimized);
}

bool FramePresenter::drawsChangesOnly(bool minimized) const
{
    if (minimized || !m_window.hasContext() || !m_window.canPresentRegions())
        return false;
    return m_windows.rendersStateOnly();
}

void FramePresenter::drawWhole(bool minimized)
{
    ++m_drawCounts.whole;
    render(minimized);
    if (m_window.hasContext()) {
        glFlush();
        m_window.swapBuffers();
        m_resizeSwapPending = false;
    }
}

// The frame's drawing runs first in feedback mode to find what changed, then
// again clipped to each changed region; an unchanged frame draws nothing.
void FramePresenter::drawChanges()
{
    if (m_window.swapCount() != m_swapsSeen) {
        m_swapsSeen = m_window.swapCount();
        m_damage.forget();
    }
    const int width = m_window.drawableWidth();
    const int height = m_window.drawableHeight();
    m_damage.begin(width, height);
    m_windows.render();
    const FrameDamage::Regions regions = m_damage.finish();
    if (!regions.whole) {
        ++(regions.rects.empty() ? m_drawCounts.unchanged : m_drawCounts.regions);
        drawRegions(regions.rects);
        return;
    }
    ++m_drawCounts.whole;
    render(false);
    if (m_resizeSwapPending) {
        m_resizeSwapPending = false;
        m_window.swapBuffers();
        return;
    }
    m_window.presentRegion({0, 0, width, height});
}

void FramePresenter::drawRegions(const std::vector<BufferRect>& rects)
{
    if (rects.empty())
        return;
    glEnable(GL_SCISSOR_TEST);
    for (const BufferRect& rect : rects) {
        glScissor(rect.x, rect.y, rect.width, rect.height);
        m_windows.render();
    }
    glDisable(GL_SCISSOR_TEST);
    for (const BufferRect& rect : rects)
        m_window.presentRegion(rect);
}

void FramePresenter::render(bool minimized)
{
    if (minimized)
        return;
    m_windows.render();
    blackOutBars();
}

void FramePresenter::blackOutBars() const
{
    const ScreenRect client = m_window.clientRect();
    if (!m_window.hasContext() || (client.left == 0 && client.top == 0))
        return;
    GLfloat clearColour[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    glEnable(GL_SCISSOR_TEST);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    const ScreenRect outer = m_window.outerRect();
    const int width = outer.right - outer.left;
    const int height = m_window.drawableHeight();
    const int glBottom = height - client.bottom;
    // Left, right, top and bottom bars in OpenGL's bottom-up rows.
    const int bars[4][4] = {{0, 0, client.left, height},
                            {client.right, 0, width - client.right, height},
                            {0, height - client.top, width, client.top},
                            {0, 0, width, glBottom}};
    for (const auto& bar : bars) {
        if (bar[2] <= 0 || bar[3] <= 0)
            continue;
        glScissor(bar[0], bar[1], bar[2], bar[3]);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glClearColor(clearColour[0], clearColour[1], clearColour[2], clearColour[3]);
    if (!scissor)
        glDisable(GL_SCISSOR_TEST);
}
