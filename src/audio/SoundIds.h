// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Identifiers of the game's sound effects, as registered with CSoundManager.
namespace SoundId {
inline constexpr int GlassBreaks = 101;
inline constexpr int Pop = 102;
inline constexpr int WaterDrop = 103;
inline constexpr int Bonk = 104;
inline constexpr int Bowl = 105;
inline constexpr int Shot = 106;
inline constexpr int Select = 107;
inline constexpr int Unselect = 108;
inline constexpr int TakeOff = 109;
inline constexpr int ButtonClick = 1001;
} // namespace SoundId
