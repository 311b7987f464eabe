// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <string>
#include <vector>

// One SVG drawn into a frame, with its text substitutions and animation.
struct Layer {
    std::string svg;
    std::vector<std::pair<std::string, std::string>> substitutions;
    // Every other option (rot, spin, pulse, sx, sy, move, fade, grow, shift, at, pivot)
    // as written; several moves, fades and grows may be given, hence the multimap.
    std::multimap<std::string, std::string> options;
    int line = 0; // in the manifest, for messages
};

enum class ItemKind { Image, Sheet, Sequence, Gray, Font };

// One output of the asset build (a sequence is several numbered outputs).
struct Item {
    ItemKind kind = ItemKind::Image;
    std::string output; // name in the pack; a sequence's holds one %02d
    int width = 0;      // image size, or frame size for sheets
    int height = 0;
    int frames = 1;     // sheets: columns; sequences: number of files
    int groups = 1;     // sheets: rows, group 0 at the bottom of the picture
    std::string source; // gray: the built image to desaturate; font: the TTF path
    int quality = 90;   // JPEG quality
    std::vector<std::vector<Layer>> groupLayers; // one list per group (images: one)
    int line = 0;

    std::vector<std::string> outputs() const;
};

// Reads the manifest; throws std::runtime_error naming the line on any mistake.
std::vector<Item> readManifest(const std::string& path);
