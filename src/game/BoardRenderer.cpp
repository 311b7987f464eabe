// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/BoardRenderer.h"

#include "board/Field.h"
#include "effects/EffectDrawing.h"
#include "effects/ParticleSystem.h"
#include "game/HudLayout.h"
#include "objects/BackgroundCache.h"
#include "objects/Font.h"
#include "objects/Sprite.h"
#include "objects/Texture.h"
#include "objects/VertexBatch.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kBlinkPeriod = 20000;
constexpr int kBlinkStart = 18000;
constexpr float kTrailInset = 10.0f;
constexpr float kTrailLead = 18.0f;
constexpr int kTrailSteps = 8;
constexpr float kRingRadius = 18.0f;
constexpr int kViewWidth = 800;
constexpr int kViewHeight = 600;

float randomUnit()
{
    return static_cast<float>(std::rand() % 100) / 100.0f;
}

Vec4 randomDirection()
{
    const float dx = static_cast<float>(std::rand() % 100 - 50);
    const float dy = static_cast<float>(std::rand() % 100 - 50);
    return normalise(Vec4{dx, dy, 0.0f, 1.0f});
}

Vec4 towards(const Vec4& from, const Vec4& to, float distance)
{
    return from + normalise(to - from) * distance;
}

// One quad with its top-left at (x0, y0); v runs from vTop to vBottom.
void drawQuad(Texture& texture, float x0, float y0, float x1, float y1, float vTop, float vBottom,
              float uLeft = 0.0f, float uRight = 1.0f)
{
    glEnable(GL_TEXTURE_2D);
    texture.bind();
    VertexBatch strip(GL_TRIANGLE_STRIP);
    strip.texCoord(uLeft, vTop);
    strip.vertex(x0, y0, 0.0f);
    strip.texCoord(uLeft, vBottom);
    strip.vertex(x0, y1, 0.0f);
    strip.texCoord(uRight, vTop);
    strip.vertex(x1, y0, 0.0f);
    strip.texCoord(uRight, vBottom);
    strip.vertex(x1, y1, 0.0f);
    strip.draw();
    glDisable(GL_TEXTURE_2D);
}

void drawSpriteAt(Sprite& sprite, const Vec4& at, float scale = 1.0f)
{
    glPushMatrix();
    glTranslatef(at.x, at.y, at.z);
    if (scale != 1.0f)
        glScalef(scale, scale, 1.0f);
    sprite.draw();
    glPopMatrix();
}

void prepare(Sprite& sprite)
{
    sprite.setBlend(true);
    sprite.setFlipped(true);
}

template <typename Visit> void forEachCell(const Field& field, Visit visit)
{
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c)
            visit(r, c);
}

// A band between two hexagons standing on a corner, as the cells do.
void drawHexRing(const Vec4& centre, float inner, float outer, const Vec4& colour)
{
    glColor4f(colour.x, colour.y, colour.z, colour.w);
    VertexBatch strip(GL_TRIANGLE_STRIP, 14);
    for (int corner = 0; corner <= 6; ++corner) {
        const float angle = (90.0f + 60.0f * float(corner)) * 3.14159265f / 180.0f;
        const float dx = std::cos(angle);
        const float dy = std::sin(angle);
        strip.vertex(centre.x + dx * inner, centre.y + dy * inner, 0.0f);
        strip.vertex(centre.x + dx * outer, centre.y + dy * outer, 0.0f);
    }
    strip.draw();
}

// Where the board background lies in the 800 x 600 view.
struct Placement {
    float x0, y0, x1, y1;
};
constexpr Placement kBackground{-112.0f, -212.0f, 912.0f, 812.0f};

// Whether a texture drawn unrotated over `place` in the 2D view lands one
// texel on each pixel of the viewport, texel centres on pixel centres.
bool texelPerPixel(const Texture& texture, const Placement& place)
{
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const bool onePixelAUnit = viewport[2] == kViewWidth && viewport[3] == kViewHeight;
    const bool wholeUnits = place.x0 == std::floor(place.x0) && place.y0 == std::floor(place.y0);
    return onePixelAUnit && wholeUnits && float(texture.width()) == place.x1 - place.x0 &&
           float(texture.height()) == place.y1 - place.y0;
}

bool lit(const Field& field, const GridPos& p)
{
    const PathPoint* point = field.pathPointAt(p.row, p.col);
    return point && point->opacity() > 0.0f;
}

} // namespace

void BoardRenderer::drawBackground() const
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    Texture& background = *m_art.background;
    const auto drawDirect = [&background] {
        drawQuad(background, kBackground.x0, kBackground.y0, kBackground.x1, kBackground.y1, 1.0f,
                 0.0f);
    };
    background.bind();
    // One texel a pixel on texel centres: nearest sampling gives the same
    // pixels as linear filtering, and a software renderer fetches a quarter.
    const bool oneToOne = texelPerPixel(background, kBackground);
    const GLint filter = oneToOne ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    // Scaled, it is cheaper to put back a copy of the pixels it gave.
    if (oneToOne)
        drawDirect();
    else
        BackgroundCache::draw(background, drawDirect);
}

void BoardRenderer::drawBoard(const Field& field, Sparkles sparkles) const
{
    const Vec4 shake = field.shake().offset();
    glPushMatrix();
    glTranslatef(shake.x, shake.y, shake.z);
    drawCellBacks(field);
    drawBlink(field);
    if (sparkles == Sparkles::Emit) {
        emitTrail(field);
        emitSelectionRing(field);
    }
    drawAnnounced(field);
    drawFlowers(field);
    glPopMatrix();
    drawGauge(field);
    if (const Insect* insect = field.insect())
        EffectDrawing::drawInsect(*insect, *m_art.insect);
    drawCentred(std::to_string(field.score()), HudLayout::kNumberSize, HudLayout::kScore.centreX(),
                HudLayout::kScoreY);
    drawCentred(std::to_string(field.level()), HudLayout::kNumberSize, HudLayout::kLevel.centreX(),
                HudLayout::kLevelY);
    drawCentred(std::to_string(cellsToClear(field)), HudLayout::kNumberSize,
                HudLayout::kToClear.centreX(), HudLayout::kToClearY);
}

int BoardRenderer::cellsToClear(const Field& field)
{
    int count = 0;
    forEachCell(field, [&](int r, int c) {
        const CellBack* back = field.cellBackAt(r, c);
        count += back != nullptr && back->type() != CellType::Cleared;
    });
    return count;
}

void BoardRenderer::drawCellBacks(const Field& field) const
{
    Sprite& sprite = *m_art.cellBack;
    prepare(sprite);
    forEachCell(field, [&](int r, int c) {
        if (const CellBack* back = field.cellBackAt(r, c)) {
            glColor4f(1.0f, 1.0f, 1.0f, back->opacity());
            sprite.setGroup(static_cast<int>(back->type()));
            drawSpriteAt(sprite, field.cellCentre(r, c));
        }
    });
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

bool BoardRenderer::blinkOn(int idleTime)
{
    const int t = idleTime % kBlinkPeriod;
    return t >= kBlinkStart && (t - kBlinkStart) % 400 <= 200;
}

void BoardRenderer::drawBlink(const Field& field) const
{
    if (!blinkOn(field.idleTime()))
        return;
    Sprite& sprite = *m_art.cellBack;
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    forEachCell(field, [&](int r, int c) {
        const CellBack* back = field.cellBackAt(r, c);
        if (back && back->type() != CellType::Cleared) {
            sprite.setGroup(static_cast<int>(back->type()));
            drawSpriteAt(sprite, field.cellCentre(r, c));
        }
    });
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

std::vector<Vec4> BoardRenderer::trailPoints(const Field& field)
{
    const std::vector<GridPos>& trail = field.trail();
    std::vector<Vec4> points;
    if (trail.size() < 2)
        return points;
    auto centre = [&](std::size_t i) { return field.cellCentre(trail[i].row, trail[i].col); };
    if (lit(field, trail.front()))
        points.push_back(centre(0));
    for (std::size_t i = 1; i + 1 < trail.size(); ++i) {
        if (!lit(field, trail[i]))
            continue;
        if (lit(field, trail[i - 1]))
            points.push_back(towards(centre(i), centre(i - 1), kTrailInset));
        if (lit(field, trail[i + 1]))
            points.push_back(towards(centre(i), centre(i + 1), kTrailInset));
    }
    if (lit(field, trail.back()))
        points.push_back(centre(trail.size() - 1));
    if (points.size() >= 2)
        points[0] = towards(points[0], points[1], kTrailLead);
    return points;
}

void BoardRenderer::emitTrail(const Field& field) const
{
    const std::vector<Vec4> points = trailPoints(field);
    if (!ParticleSystem::exists() || points.size() < 2)
        return;
    ParticleSystem& particles = ParticleSystem::get();
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const Vec4 stepVector = (points[i + 1] - points[i]) * (1.0f / kTrailSteps);
        Vec4 at = points[i];
        for (int s = 0; s < kTrailSteps; ++s, at += stepVector) {
            if (std::rand() % 100 >= 50)
                continue;
            const Vec4 direction = randomDirection();
            const Vec4 velocity = direction * randomUnit();
            const float size = static_cast<float>(std::rand() % 100) / 25.0f + 2.0f;
            particles.emit(size, at, velocity);
        }
    }
}

void BoardRenderer::emitSelectionRing(const Field& field) const
{
    if (!ParticleSystem::exists())
        return;
    ParticleSystem& particles = ParticleSystem::get();
    const Flower* selected = nullptr;
    forEachCell(field, [&](int r, int c) {
        if (const Flower* f = field.flowerAt(r, c); f && f->selected() && !f->isMoving())
            selected = f;
    });
    if (!selected)
        return;
    float angle = 0.0f;
    Vec4 arm{kRingRadius, 0.0f, 0.0f, 1.0f};
    while (angle < 360.0f) {
        const float d = static_cast<float>(std::rand() % 100) / 10.0f;
        angle += d;
        arm = rotated(arm, d);
        const Vec4 velocity = normalise(arm) * randomUnit();
        const float size = static_cast<float>(std::rand() % 100) / 50.0f + 2.0f;
        particles.emit(size, selected->position() + arm, velocity);
    }
}

void BoardRenderer::drawAnnounced(const Field& field) const
{
    glColor4f(1.0f, 1.0f, 1.0f, field.previewAlpha());
    for (const auto& flower : field.newCells())
        drawFlower(*flower, 0.5f, 0);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void BoardRenderer::drawFlowers(const Field& field) const
{
    Sprite& block = *m_art.block;
    prepare(block);
    forEachCell(field, [&](int r, int c) {
        const Flower* flower = field.flowerAt(r, c);
        if (!flower || (flower->state() == FlowerState::Appearing && flower->startDelay() > 0.0f))
            return;
        glColor4f(1.0f, 1.0f, 1.0f, flower->opacity());
        const Sprite* skin = m_art.skins[static_cast<std::size_t>(flower->skin() % 3)];
        const int frame = EffectDrawing::frameAt(m_clock, flower->animationFps(), skin->frames());
        drawFlower(*flower, flower->scale(), frame);
        const CellBack* back = field.cellBackAt(r, c);
        if (back && back->type() == CellType::Locked) {
            glColor4f(1.0f, 1.0f, 1.0f, back->opacity());
            drawSpriteAt(block, flower->position());
        }
    });
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void BoardRenderer::drawFlower(const Flower& flower, float scale, int frame) const
{
    Sprite& skin = *m_art.skins[static_cast<std::size_t>(flower.skin() % 3)];
    prepare(skin);
    skin.setGroup(flower.colour());
    skin.setFrame(frame);
    drawSpriteAt(skin, flower.position(), scale);
}

std::string BoardRenderer::streakText(int streak)
{
    return streak == 4 ? "!" : std::to_string(5 - streak);
}

void BoardRenderer::drawGauge(const Field& field) const
{
    const float gauge = field.streakGauge();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    m_art.dynamiteGrey->draw(660.0f, 20.0f, 0.0f);
    glEnable(GL_BLEND);
    drawQuad(*m_art.dynamite, 660.0f, 148.0f - 128.0f * gauge, 788.0f, 148.0f, gauge, 0.0f);
    glDisable(GL_BLEND);
    const bool ready = field.streak() == 4;
    const TextColour colour = ready ? TextColour{1.0f, 0.0f, 0.0f, 1.0f} : TextColour{};
    m_art.font->draw(streakText(field.streak()).c_str(), 30.0f, 750.0f, 60.0f, 0.0f, colour);
}

void BoardRenderer::drawLives(int lives) const
{
    drawCentred(std::to_string(lives < 0 ? 0 : lives), HudLayout::kNumberSize,
                HudLayout::kLives.centreX(), HudLayout::kLivesY);
}

void BoardRenderer::drawCentred(const std::string& text, float size, float x, float y) const
{
    const float width = m_art.font->measure(text.c_str(), size);
    m_art.font->draw(text.c_str(), size, x - width / 2.0f, y, 0.0f, TextColour{});
}

void BoardRenderer::drawPreview(const Field& field) const
{
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_BLEND);
    drawQuad(*m_art.smallBackground, 0.0f, 0.0f, 800.0f, 600.0f, 0.79296875f, 0.20703125f,
             0.109375f, 0.890625f);
    Sprite& sprite = *m_art.cellBackSmall;
    prepare(sprite);
    forEachCell(field, [&](int r, int c) {
        if (const CellBack* back = field.cellBackAt(r, c)) {
            sprite.setGroup(back->type() == CellType::Cleared ? 1 : 0);
            drawSpriteAt(sprite, field.cellCentre(r, c));
        }
    });
}

void BoardRenderer::drawCursor(const Field& field, GridPos cell) const
{
    if (!field.isCell(cell))
        return;
    const Vec4 centre = field.cellCentre(cell.row, cell.col) + field.shake().offset();
    const float pulse = 0.85f + 0.15f * std::sin(m_clock / 160.0f);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    drawHexRing(centre, 19.0f, 25.0f, {0.1f, 0.05f, 0.0f, 0.55f});
    drawHexRing(centre, 20.5f, 23.5f, {1.0f, 0.85f, 0.3f, pulse});
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}
