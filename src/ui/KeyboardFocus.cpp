// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/KeyboardFocus.h"

#include "objects/VertexBatch.h"
#include "ui/Control.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>

namespace {

float centreY(const Control& control)
{
    return control.y() + control.height() / 2.0f;
}

// Rows top to bottom; controls whose middles are closer than half a control's
// height share a row and go left to right.
std::vector<Control*> readingOrder(std::vector<Control*> controls)
{
    std::stable_sort(controls.begin(), controls.end(),
                     [](const Control* a, const Control* b) { return centreY(*a) < centreY(*b); });
    auto rowStart = controls.begin();
    while (rowStart != controls.end()) {
        const float tolerance = std::max((*rowStart)->height() / 2.0f, 1.0f);
        auto rowEnd = std::find_if(rowStart, controls.end(), [&](const Control* c) {
            return centreY(*c) - centreY(**rowStart) >= tolerance;
        });
        std::stable_sort(rowStart, rowEnd,
                         [](const Control* a, const Control* b) { return a->x() < b->x(); });
        rowStart = rowEnd;
    }
    return controls;
}

constexpr float kLineWidth = 2.5f;
constexpr float kGlowWidth = 8.0f;
constexpr int kCornerSteps = 8;

// Point `index` of a rounded rectangle grown by `grow` beyond the area.
void ringPoint(const FocusArea& a, float grow, int index, float& x, float& y)
{
    const float inset = std::min({a.radius, a.height / 2.0f, a.width / 2.0f});
    const float radius = inset + grow;
    const int corner = index / (kCornerSteps + 1);
    const float angle =
        (float(corner) + float(index % (kCornerSteps + 1)) / kCornerSteps) * float(M_PI) / 2.0f;
    const float cx = corner == 0 || corner == 3 ? a.x + a.width - inset : a.x + inset;
    const float cy = corner < 2 ? a.y + a.height - inset : a.y + inset;
    x = cx + radius * std::cos(angle);
    y = cy + radius * std::sin(angle);
}

struct RingEdge {
    float grow;
    float alpha;
};

void drawRing(const FocusArea& area, float z, RingEdge inner, RingEdge outer)
{
    const int points = 4 * (kCornerSteps + 1);
    VertexBatch strip(GL_TRIANGLE_STRIP, std::size_t(2 * (points + 1)));
    for (int i = 0; i <= points; ++i) {
        float x = 0.0f, y = 0.0f;
        ringPoint(area, inner.grow, i % points, x, y);
        strip.colour(1.0f, 0.86f, 0.4f, inner.alpha);
        strip.vertex(x, y, z);
        ringPoint(area, outer.grow, i % points, x, y);
        strip.colour(1.0f, 0.8f, 0.3f, outer.alpha);
        strip.vertex(x, y, z);
    }
    strip.draw();
}

// A bright golden line on the control's edge fading out into a soft halo.
void drawGlow(const FocusArea& area, float z, float strength)
{
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawRing(area, z, {-1.0f, strength}, {kLineWidth, strength});
    drawRing(area, z, {kLineWidth, strength * 0.8f}, {kLineWidth + kGlowWidth, 0.0f});
    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

} // namespace

void KeyboardFocus::moveTo(Control* control)
{
    if (m_current != nullptr)
        m_current->setFocused(false);
    m_current = control;
    if (m_current != nullptr)
        m_current->setFocused(true);
}

std::vector<Control*> KeyboardFocus::orderOf(const std::vector<Control*>& controls) const
{
    return m_order.empty() ? readingOrder(controls) : m_order;
}

Control* KeyboardFocus::ensure(const std::vector<Control*>& controls)
{
    if (m_current != nullptr && m_current->canFocus())
        return m_current;
    if (m_current == nullptr && m_initial != nullptr && m_initial->canFocus()) {
        moveTo(m_initial);
        return m_current;
    }
    // The focused control went away (a page button hidden): its nearest
    // predecessor takes over, else the first one that can.
    const std::vector<Control*> order = orderOf(controls);
    auto at = std::find(order.begin(), order.end(), m_current);
    Control* found = nullptr;
    if (at != order.end()) {
        auto before = std::find_if(std::make_reverse_iterator(at), order.rend(),
                                   [](const Control* c) { return c->canFocus(); });
        if (before != order.rend())
            found = *before;
    }
    if (found == nullptr) {
        auto first = std::find_if(order.begin(), order.end(),
                                  [](const Control* c) { return c->canFocus(); });
        found = first != order.end() ? *first : nullptr;
    }
    moveTo(found);
    return m_current;
}

void KeyboardFocus::step(const std::vector<Control*>& controls, int direction, Step mode)
{
    const std::vector<Control*> order = orderOf(controls);
    const auto count = int(order.size());
    const auto at = std::find(order.begin(), order.end(), m_current);
    int index = at == order.end() ? -1 : int(at - order.begin());
    for (int tried = 0; tried < count; ++tried) {
        index += direction;
        if (index < 0 || index >= count) {
            if (mode == Step::StopAtEnds)
                return;
            index = (index + count) % count;
        }
        if (order[std::size_t(index)]->canFocus()) {
            moveTo(order[std::size_t(index)]);
            return;
        }
    }
}

void KeyboardFocus::render() const
{
    if (!s_shown || m_current == nullptr || !m_current->canFocus())
        return;
    const float strength = 0.85f + 0.15f * std::sin(m_time / 250.0f);
    drawGlow(m_current->focusArea(), m_current->z(), strength);
}
