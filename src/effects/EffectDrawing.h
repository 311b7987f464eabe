// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class Font;
class Insect;
class ParticleSystem;
class Sprite;

// The drawing of the board's short-lived decorations. The effects themselves
// hold no pictures: these take the shared play-screen sprite or font, set it
// up for each entry (group, frame, size) and draw it there.
namespace EffectDrawing {

// Every particle additively in list order, then every floating text.
void drawParticleSystem(const ParticleSystem& system, Sprite& particleSprite, const Font& font);
void drawParticles(const ParticleSystem& system, Sprite& particleSprite);
void drawTexts(const ParticleSystem& system, const Font& font);
// At its position, turned by its heading, with its wing-beat frame.
void drawInsect(const Insect& insect, Sprite& insectSprite);

// The frame an animation clock has reached at the given rate, looping.
int frameAt(float milliseconds, float framesPerSecond, int frames);

} // namespace EffectDrawing
