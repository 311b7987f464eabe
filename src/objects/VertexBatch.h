// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <vector>

// Vertices gathered in our own memory and drawn from there in one call, the
// way glBegin ... glEnd would draw them. Mesa's software renderer (22.3) never
// frees a buffer of immediate-mode vertices once a draw in feedback mode (the
// recording of a frame to find what changed) has read it: megabytes a minute
// on the menus. Vertices in our own memory are no buffer of its own.
//
// As between glBegin and glEnd, a texture coordinate or colour holds for the
// vertices after it; one that is given at all is given before the first vertex.
class VertexBatch {
public:
    explicit VertexBatch(GLenum mode, std::size_t expectedVertices = 4) : m_mode(mode)
    {
        m_vertices.reserve(expectedVertices);
    }

    void texCoord(float s, float t);
    void colour(float red, float green, float blue, float alpha);
    void vertex(float x, float y, float z = 0.0f);
    // Draws the vertices and empties the batch for more of the same kind; the
    // last colour and texture coordinates given stay current, as after glEnd.
    void draw();

private:
    struct Vertex {
        float x, y, z;
        float s, t;
        float red, green, blue, alpha;
    };

    GLenum m_mode;
    Vertex m_current{};
    bool m_textured = false;
    bool m_coloured = false;
    std::vector<Vertex> m_vertices;
};
