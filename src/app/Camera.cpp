// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Camera.h"

#include <GL/gl.h>

void Camera::setLogicalSize(int width, int height)
{
    m_logicalWidth = width;
    m_logicalHeight = height;
}

void Camera::set2DView(float width, float height, bool flip)
{
    applyViewport(width, height);
    m_viewportWidth = width;
    m_viewportHeight = height;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    const double bottom = flip ? -double(m_logicalHeight) : double(m_logicalHeight);
    glOrtho(0.0, double(m_logicalWidth), bottom, 0.0, -50.0, 50.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void Camera::applyViewport(float width, float height) const
{
    glViewport(m_originX, m_originY, GLsizei(width), GLsizei(height));
}

void Camera::setViewportOrigin(int x, int y)
{
    m_originX = x;
    m_originY = y;
}
