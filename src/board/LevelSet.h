// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The version of the level set the build writes and packs (assets/levels).
// It goes up whenever the levels' data changes, so that a game saved on one
// set of levels can be told from one saved on another. Saved games of the
// first two sets carry no version.
inline constexpr int kLevelSetVersion = 3;
