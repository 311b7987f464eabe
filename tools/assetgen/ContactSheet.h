// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cairo.h>

#include <string>
#include <utility>
#include <vector>

// One picture of every generated image, each scaled into a labelled tile
// over a checkerboard, so the whole set can be judged at a glance.
void writeContactSheet(const std::vector<std::pair<std::string, cairo_surface_t*>>& images,
                       const std::string& path);
