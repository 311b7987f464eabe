// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/SaveFailureNotice.h"

#include "app/LogicalScreen.h"
#include "objects/Font.h"
#include "utils/PlayerFile.h"
#include "utils/Translation.h"

#include <GL/gl.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace {

// Clear of the play screen's panels in both top corners.
constexpr float kMargin = 160.0f;
constexpr float kBaseline = 36.0f;
// Two lines stand from here down, inside the top corner plaques' height.
constexpr float kTwoLinesTop = 4.0f;
constexpr float kLeastScale = 0.75f;
constexpr TextColour kColour{1.0f, 0.86f, 0.55f, 1.0f};

constexpr float kRoom = float(LogicalScreen::kWidth) - 2.0f * kMargin;

// The text's two lines, the second empty when it has no place to break.
std::pair<std::string, std::string> halves(const std::string& text)
{
    std::size_t at = text.find(": ");
    if (at != std::string::npos)
        return {text.substr(0, at + 1), text.substr(at + 2)};
    at = text.rfind(' ', text.size() / 2);
    if (at == std::string::npos || at == 0)
        return {text, ""};
    return {text.substr(0, at), text.substr(at + 1)};
}

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
    if (isShowing())
        drawLine(m_font, m_text, std::min(1.0f, m_remaining / kFadeMilliseconds));
}

SaveFailureNotice::Layout SaveFailureNotice::layout(const Font& font, const std::string& text)
{
    const float oneLine = font.sizeToFit(text.c_str(), kTextSize, kRoom);
    if (oneLine >= kTextSize * kLeastScale)
        return {{text}, oneLine};
    auto [first, second] = halves(text);
    const float twoLines = std::min(font.sizeToFit(first.c_str(), kTextSize, kRoom),
                                    font.sizeToFit(second.c_str(), kTextSize, kRoom));
    if (second.empty() || twoLines <= oneLine)
        return {{text}, oneLine};
    return {{std::move(first), std::move(second)}, twoLines};
}

void SaveFailureNotice::drawLine(const Font& font, const std::string& text, float alpha)
{
    const float width = float(LogicalScreen::kWidth);
    const Layout shown = layout(font, text);
    TextColour colour = kColour;
    colour.a = alpha;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, double(width), double(LogicalScreen::kHeight), 0.0, -50.0, 50.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    for (std::size_t i = 0; i < shown.lines.size(); ++i) {
        const std::string& line = shown.lines[i];
        const float x = (width - font.measure(line.c_str(), shown.size)) / 2.0f;
        const float y =
            shown.lines.size() == 1 ? kBaseline : kTwoLinesTop + float(i + 1) * shown.size;
        font.drawOutlined(line.c_str(), shown.size, x, y, 0.0f, colour);
    }
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopAttrib();
}
