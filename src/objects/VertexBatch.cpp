// SPDX-License-Identifier: GPL-3.0-or-later
#include "objects/VertexBatch.h"

#include "objects/FrameRecording.h"

void VertexBatch::texCoord(float s, float t)
{
    m_current.s = s;
    m_current.t = t;
    m_textured = true;
}

void VertexBatch::colour(float red, float green, float blue, float alpha)
{
    m_current.red = red;
    m_current.green = green;
    m_current.blue = blue;
    m_current.alpha = alpha;
    m_coloured = true;
}

void VertexBatch::vertex(float x, float y, float z)
{
    m_current.x = x;
    m_current.y = y;
    m_current.z = z;
    m_vertices.push_back(m_current);
}

void VertexBatch::draw()
{
    if (m_vertices.empty())
        return;
    FrameRecording::markState();
    constexpr GLsizei stride = sizeof(Vertex);
    const Vertex& first = m_vertices.front();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, stride, &first.x);
    if (m_textured) {
        glEnableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoordPointer(2, GL_FLOAT, stride, &first.s);
    }
    if (m_coloured) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(4, GL_FLOAT, stride, &first.red);
    }
    glDrawArrays(m_mode, 0, GLsizei(m_vertices.size()));
    glDisableClientState(GL_VERTEX_ARRAY);
    if (m_textured) {
        glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        glTexCoord2f(m_current.s, m_current.t);
    }
    if (m_coloured) {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(m_current.red, m_current.green, m_current.blue, m_current.alpha);
    }
    m_vertices.clear();
}
