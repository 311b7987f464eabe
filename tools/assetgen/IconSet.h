// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LayerRenderer.h"
#include "Manifest.h"

#include <string>
#include <vector>

// The desktop icon for the hicolor theme: one image item of the manifest drawn
// at each size as OUTPUT/NxN/apps/NAME.png, and as vectors in
// OUTPUT/scalable/apps/NAME.svg.
void writeIconSet(const Item& item, LayerRenderer& renderer, const std::string& outputDir,
                  const std::string& name, const std::vector<int>& sizes);
