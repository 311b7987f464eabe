// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/HexGrid.h"
#include "board/Vec4.h"
#include "game/PlayArt.h"

#include <string>
#include <vector>

class Field;
class Flower;

// Whether this drawing adds the path and selection sparkles.
enum class Sparkles { Emit, Skip };

// Draws a board the way the play screen shows it, back to front, and the
// small preview of the level choice. The path and selection sparkles are
// emitted into the particle system while drawing.
class BoardRenderer {
public:
    explicit BoardRenderer(const PlayArt& art) : m_art(art) {}

    // Advances the clock the flowers' idle animation runs on.
    void update(float dt) { m_clock += dt; }

    // "dat/game_bg.jpg" over the whole screen and beyond.
    void drawBackground() const;
    // Cells, blink, sparkles, announced flowers, flowers, then the gauge,
    // the insect, score, level and the cells still to clear.
    void drawBoard(const Field& field, Sparkles sparkles = Sparkles::Emit) const;
    // The keyboard's cell cursor: a ring around the cell, over its flower.
    void drawCursor(const Field& field, GridPos cell) const;
    // The level choice screen's picture of a board: small cells, no flowers.
    void drawPreview(const Field& field) const;
    // The lives count of the HUD.
    void drawLives(int lives) const;

    // The points of the sparkle trail along a previewed path (empty when
    // fewer than two cells of it are lit).
    static std::vector<Vec4> trailPoints(const Field& field);
    // True while the uncleared cells flash red after a long idle time.
    static bool blinkOn(int idleTime);
    // What the gauge shows beside the dynamite: explosions still needed, or "!".
    static std::string streakText(int streak);
    // The cells not yet cleared, which the level needs cleared (the HUD's count).
    static int cellsToClear(const Field& field);

private:
    void drawCellBacks(const Field& field) const;
    void drawBlink(const Field& field) const;
    void emitTrail(const Field& field) const;
    void emitSelectionRing(const Field& field) const;
    void drawAnnounced(const Field& field) const;
    void drawFlowers(const Field& field) const;
    void drawFlower(const Flower& flower, float scale, int frame) const;
    void drawGauge(const Field& field) const;
    void drawCentred(const std::string& text, float size, float x, float y) const;

    PlayArt m_art;
    float m_clock = 0.0f;
};
