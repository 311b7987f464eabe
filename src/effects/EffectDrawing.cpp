// SPDX-License-Identifier: GPL-3.0-or-later
#include "effects/EffectDrawing.h"

#include "board/Insect.h"
#include "effects/ParticleSystem.h"
#include "objects/Font.h"
#include "objects/Sprite.h"

#include <GL/gl.h>

#include <vector>

namespace EffectDrawing {

namespace {
constexpr float kInsectFps = 60.0f;
} // namespace

void drawParticleSystem(const ParticleSystem& system, Sprite& particleSprite, const Font& font)
{
    drawParticles(system, particleSprite);
    drawTexts(system, font);
}

void drawParticles(const ParticleSystem& system, Sprite& particleSprite)
{
    const float baseWidth = particleSprite.frameWidth();
    const float baseHeight = particleSprite.frameHeight();
    std::vector<Sprite::AdditiveQuad> quads;
    quads.reserve(system.particles().size());
    for (const auto& particle : system.particles()) {
        const Vec4& p = particle->position();
        const Vec4& c = particle->colour();
        const float width = particle->size() > 0.0f ? particle->size() : baseWidth;
        const float height = particle->size() > 0.0f ? particle->size() : baseHeight;
        quads.push_back({p.x, p.y, p.z, width, height, particle->group(), particle->frame(), c.x,
                         c.y, c.z, c.w});
    }
    particleSprite.setBlend(true);
    particleSprite.setFlipped(true);
    particleSprite.drawAdditiveQuads(quads);
    particleSprite.setFrameSize(baseWidth, baseHeight);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
}

void drawTexts(const ParticleSystem& system, const Font& font)
{
    for (const auto& text : system.texts()) {
        const Vec4& p = text->position();
        const Vec4& c = text->colour();
        const float x = p.x - font.measure(text->text().c_str(), text->size()) / 2.0f;
        // Outlined: the points rise over the white flash of the burst they name.
        font.drawOutlined(text->text().c_str(), text->size(), x, p.y, p.z, {c.x, c.y, c.z, c.w});
    }
}

void drawInsect(const Insect& insect, Sprite& insectSprite)
{
    const Vec4& p = insect.position();
    insectSprite.setBlend(true);
    insectSprite.setFlipped(true);
    insectSprite.setFrame(frameAt(insect.animationTime(), kInsectFps, insectSprite.frames()));
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPushMatrix();
    glTranslatef(p.x, p.y, p.z);
    glRotatef(insect.heading(), 0.0f, 0.0f, 1.0f);
    insectSprite.draw();
    glPopMatrix();
}

int frameAt(float milliseconds, float framesPerSecond, int frames)
{
    if (frames <= 1 || milliseconds <= 0.0f)
        return 0;
    const auto step = static_cast<long long>(milliseconds * framesPerSecond / 1000.0f);
    return static_cast<int>(step % frames);
}

} // namespace EffectDrawing
