// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the play screen's displays stand, in the 800 × 600 view. The plaques
// are painted into "dat/game_bg.jpg" (assets/art/svg/bg/game_hud.svg) at these
// places; the numbers are drawn centred on them.
namespace HudLayout {

struct Box {
    float x0, y0, x1, y1;
    constexpr float centreX() const { return (x0 + x1) / 2.0f; }
    constexpr float width() const { return x1 - x0; }
    constexpr bool overlaps(const Box& o) const
    {
        return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1;
    }
};

// One left edge; each plaque as wide as its number needs.
constexpr Box kScore{12.0f, 10.0f, 158.0f, 58.0f};
constexpr Box kLives{12.0f, 62.0f, 118.0f, 108.0f};
constexpr Box kLevel{12.0f, 112.0f, 98.0f, 158.0f};
constexpr Box kToClear{12.0f, 162.0f, 98.0f, 208.0f};
constexpr Box kGauge{652.0f, 12.0f, 796.0f, 156.0f};
constexpr Box kStreakLabel{652.0f, 160.0f, 796.0f, 180.0f};

// The numbers' bottom edges; the plaques' labels sit under them.
constexpr float kScoreY = 40.0f;
constexpr float kLivesY = 90.0f;
constexpr float kLevelY = 140.0f;
constexpr float kToClearY = 190.0f;
constexpr float kNumberSize = 24.0f;

} // namespace HudLayout
