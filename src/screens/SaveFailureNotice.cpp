// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/SaveFailureNotice.h"

#include "app/LogicalScreen.h"
#include "objects/Font.h"
#include "utils/PlayerFile.h"
#include "utils/Translation.h"

#include <GL/gl.h>

#include <algorithm>
#include <cerrno>

namespace {

constexpr float kTextSize = 26.0f;
// Clear of the play screen's panels in both top corners.
constexpr float kMargin = 160.0f;
constexpr float kBaseline = 36.0f;
constexpr TextColour kColour{1.0f, 0.86f, 0.55f, 1.0f};

} // namespace

SaveFailureNotice::SaveFailureNotice(const Font& font) : m_font(font) {}

std::string SaveFailureNotice::textFor(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return tr("Could not save your progress: the disk is full");
    case EROFS:
        return tr("Could not save your progress: the disk is read-only");
    case EACCES:
    case EPERM:
        return tr("Could not save your progress: the folder is not yours to write");
    default:
        return tr("Could not save your progress");
    }
}

void SaveFailureNotice::update(float dt)
{
    if (!m_told && PlayerFile::firstFailure()) {
        m_told = true;
        m_text = textFor(PlayerFile::firstFailure()->error);
        m_generation = Translation::generation();
        m_remaining = kShownMilliseconds;
        return;
    }
    // The language changed while it shows: say it again in the new one.
    if (m_told && m_generation != Translation::generation()) {
        m_text = textFor(PlayerFile::firstFailure()->error);
        m_generation = Translation::generation();
    }
    m_remaining = std::max(0.0f, m_remaining - dt);
}

// Over the screen's own projection and state, which are left as they were.
void SaveFailureNotice::render()
{
    if (!isShowing())
        return;
    const float width = float(LogicalScreen::kWidth);
    const float size = m_font.sizeToFit(m_text.c_str(), kTextSize, width - 2.0f * kMargin);
    const float x = (width - m_font.measure(m_text.c_str(), size)) / 2.0f;
    TextColour colour = kColour;
    colour.a = std::min(1.0f, m_remaining / kFadeMilliseconds);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, double(width), double(LogicalScreen::kHeight), 0.0, -50.0, 50.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    m_font.drawOutlined(m_text.c_str(), size, x, kBaseline, 0.0f, colour);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
