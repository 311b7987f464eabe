// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/NewElementNotice.h"

#include "board/Field.h"
#include "board/Flower.h"
#include "objects/Font.h"
#include "objects/VertexBatch.h"
#include "utils/Translation.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

constexpr float kFadeIn = 300.0f;
constexpr float kHold = 3500.0f;
constexpr float kFadeOut = 700.0f;
constexpr float kSize = 20.0f;
constexpr float kBaseline = 36.0f;
constexpr float kBandTop = 12.0f;
constexpr float kBandBottom = 43.0f;
constexpr float kBandPadding = 16.0f;

using Element = NewElementNotice::Element;

bool shows(const Field& field, Element element)
{
    if (element == Element::Insect)
        return field.insect() != nullptr;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            const CellBack* back = field.cellBackAt(r, c);
            if (back == nullptr)
                continue;
            const int colour = field.colourAt(r, c);
            if ((element == Element::StoneCells && back->type() == CellType::Locked) ||
                (element == Element::Rainbow && colour == kWildcard) ||
                (element == Element::ColourBomb && colour == kBombFlower) ||
                (element == Element::Blast && colour == kBlastFlower))
                return true;
        }
    return false;
}

float opacityAt(float age)
{
    if (age < kFadeIn)
        return age / kFadeIn;
    return std::clamp((kFadeIn + kHold + kFadeOut - age) / kFadeOut, 0.0f, 1.0f);
}

} // namespace

const char* NewElementNotice::words(Element element)
{
    switch (element) {
    case Element::StoneCells:
        return tr("Flowers on stone cells cannot move");
    case Element::Insect:
        return tr("An insect! Click it before it lands");
    case Element::Rainbow:
        return tr("The rainbow flower matches every colour");
    case Element::ColourBomb:
        return tr("A colour bomb clears its whole colour");
    default:
        return tr("A blast flower clears all around it");
    }
}

void NewElementNotice::check(const Field& field)
{
    // Not while the board fades in: the player should see what is meant.
    if (field.state() != FieldState::Idle)
        return;
    for (std::size_t i = 0; i < m_told.size(); ++i) {
        const auto element = static_cast<Element>(i);
        if (!m_told[i] && shows(field, element)) {
            m_told[i] = true;
            m_waiting.emplace_back(words(element));
        }
    }
}

void NewElementNotice::update(float dt)
{
    if (!m_text.empty()) {
        m_age += dt;
        if (m_age < kFadeIn + kHold + kFadeOut)
            return;
        m_text.clear();
    }
    if (!m_waiting.empty()) {
        m_text = m_waiting.front();
        m_waiting.pop_front();
        m_age = 0.0f;
    }
}

// Smaller when the band would otherwise reach the plaques.
float NewElementNotice::textSize(const Font& font, const std::string& words)
{
    const float room = HudLayout::kGauge.x0 - HudLayout::kScore.x1 - 2.0f * kBandPadding;
    return font.sizeToFit(words.c_str(), kSize, room);
}

HudLayout::Box NewElementNotice::band(const Font& font, const std::string& words)
{
    const float size = textSize(font, words);
    const float half = font.measure(words.c_str(), size) / 2.0f + kBandPadding;
    return {400.0f - half, kBandTop, 400.0f + half, kBandBottom};
}

void NewElementNotice::render(const Font& font) const
{
    if (!m_text.empty())
        drawBanner(font, m_text, opacityAt(m_age));
}

void NewElementNotice::drawBanner(const Font& font, const std::string& words, float alpha)
{
    const HudLayout::Box box = band(font, words);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.05f, 0.12f, 0.06f, 0.7f * alpha);
    VertexBatch rect(GL_QUADS);
    rect.vertex(box.x0, box.y0);
    rect.vertex(box.x1, box.y0);
    rect.vertex(box.x1, box.y1);
    rect.vertex(box.x0, box.y1);
    rect.draw();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    font.drawOutlined(words.c_str(), textSize(font, words), box.x0 + kBandPadding, kBaseline, 0.0f,
                      TextColour{0.95f, 0.76f, 0.31f, alpha});
}
