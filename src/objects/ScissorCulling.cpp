// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/ScissorCulling.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>

namespace {

// Antialiasing-free rasterisation reaches no further than this past a shape.
constexpr float kMargin = 2.0f;

using Matrix = std::array<GLfloat, 16>;

// Column-major matrix times (x, y, z, 1).
std::array<float, 4> transform(const Matrix& m, const std::array<float, 4>& v)
{
    std::array<float, 4> out{};
    for (int row = 0; row < 4; ++row)
        out[row] = m[row] * v[0] + m[4 + row] * v[1] + m[8 + row] * v[2] + m[12 + row] * v[3];
    return out;
}

} // namespace

namespace ScissorCulling {

bool outside(float x0, float y0, float x1, float y1, float z)
{
    GLint mode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &mode);
    if (mode != GL_RENDER || glIsEnabled(GL_SCISSOR_TEST) == GL_FALSE)
        return false;
    Matrix modelView{}, projection{};
    std::array<GLint, 4> viewport{}, scissor{};
    glGetFloatv(GL_MODELVIEW_MATRIX, modelView.data());
    glGetFloatv(GL_PROJECTION_MATRIX, projection.data());
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    glGetIntegerv(GL_SCISSOR_BOX, scissor.data());
    float left = 1e30f, right = -1e30f, bottom = 1e30f, top = -1e30f;
    for (const auto& [x, y] : {std::pair{x0, y0}, {x1, y0}, {x0, y1}, {x1, y1}}) {
        const auto clip = transform(projection, transform(modelView, {x, y, z, 1.0f}));
        if (clip[3] <= 0.0f)
            return false;
        const float wx =
            float(viewport[0]) + (clip[0] / clip[3] + 1.0f) * 0.5f * float(viewport[2]);
        const float wy =
            float(viewport[1]) + (clip[1] / clip[3] + 1.0f) * 0.5f * float(viewport[3]);
        left = std::min(left, wx);
        right = std::max(right, wx);
        bottom = std::min(bottom, wy);
        top = std::max(top, wy);
    }
    return right + kMargin < float(scissor[0]) || left - kMargin > float(scissor[0] + scissor[2]) ||
           top + kMargin < float(scissor[1]) || bottom - kMargin > float(scissor[1] + scissor[3]);
}

} // namespace ScissorCulling
