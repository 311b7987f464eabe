// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "SourceText.h"
#include "XmModule.h"

namespace soundgen {

// Compiles a text score (see assets/music/README) into a module with synthesized instruments.
XmModule compileScore(const SourceText& score);

// Seconds from the first row to the song's end, following speed and tempo changes and
// pattern breaks.
double songSeconds(const XmModule& module);

} // namespace soundgen
