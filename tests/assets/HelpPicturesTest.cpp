// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArtScratch.h"
#include "AssetPack.h"
#include "image/Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <vector>

namespace {

// One help picture of the art manifest: its caption layer and the boxes of
// the art drawn beside the captions.
struct HelpPicture {
    std::string name;
    int width = 0, height = 0;
    std::string captionSvg;
    std::vector<Rect> artBoxes;
};

std::vector<HelpPicture> helpPictures()
{
    std::ifstream manifest(VM_SOURCE_DIR "/assets/art/art.txt");
    std::vector<HelpPicture> pictures;
    std::string line;
    bool inside = false;
    while (std::getline(manifest, line)) {
        std::istringstream words(line);
        std::string kind, name;
        words >> kind >> name;
        if (kind == "image" || kind == "sheet" || kind == "sequence" || kind == "gray" ||
            kind == "font") {
            inside = kind == "image" && name.rfind("mui/help/", 0) == 0;
            if (inside) {
                HelpPicture picture;
                picture.name = name;
                words >> picture.width >> picture.height;
                pictures.push_back(picture);
            }
        } else if (inside && kind == "layer") {
            if (name.rfind("help/", 0) == 0)
                pictures.back().captionSvg = name;
            const auto at = line.find(" at=");
            Rect box;
            if (at != std::string::npos && std::sscanf(line.c_str() + at, " at=%f,%f,%f,%f", &box.x,
                                                       &box.y, &box.w, &box.h) == 4)
                pictures.back().artBoxes.push_back(box);
        }
    }
    return pictures;
}

// The caption SVG cut into one document per text element.
std::vector<std::string> captionDocuments(const std::string& svg)
{
    const std::string header = svg.substr(0, svg.find('>') + 1);
    std::vector<std::string> documents;
    for (auto start = svg.find("<text"); start != std::string::npos;
         start = svg.find("<text", start + 1)) {
        const auto end = svg.find("</text>", start);
        documents.push_back(header + svg.substr(start, end + 7 - start) + "</svg>");
    }
    return documents;
}

// Where a rendered picture has any ink, y downwards (the decoder keeps rows bottom-up).
Rect inkBox(const std::string& path)
{
    const std::string bytes = readFile(path);
    Image image;
    image.load(path, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    if (!image.isValid() || image.components() != 4)
        return {};
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixels()[(std::size_t(y) * image.width() + x) * 4 + 3] != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return {float(left), float(image.height() - 1 - bottom), float(right + 1 - left),
            float(bottom + 1 - top)};
}

} // namespace

TEST(HelpPictures, CaptionsStandApartFromEachOtherAndFromTheArt)
{
    const std::vector<HelpPicture> pictures = helpPictures();
    ASSERT_GE(pictures.size(), 4u);
    // Every caption alone in a picture of its own, rendered by the art tool.
    Scratch scratch;
    std::string manifest;
    std::vector<std::vector<std::string>> captions(pictures.size());
    for (std::size_t p = 0; p < pictures.size(); ++p) {
        ASSERT_FALSE(pictures[p].captionSvg.empty()) << pictures[p].name;
        const auto documents =
            captionDocuments(readFile(VM_SOURCE_DIR "/assets/art/svg/" + pictures[p].captionSvg));
        for (std::size_t c = 0; c < documents.size(); ++c) {
            const std::string name = "caption" + std::to_string(p) + "_" + std::to_string(c);
            scratch.write("svg/" + name + ".svg", documents[c]);
            manifest += "image " + name + ".png " + std::to_string(pictures[p].width) + " " +
                        std::to_string(pictures[p].height) + "\n  layer " + name + ".svg\n";
            captions[p].push_back(name);
        }
    }
    const ToolRun run = scratch.build(manifest);
    ASSERT_EQ(run.status, 0) << run.output;
    for (std::size_t p = 0; p < pictures.size(); ++p) {
        const HelpPicture& picture = pictures[p];
        const Rect frame{6, 6, float(picture.width - 12), float(picture.height - 12)};
        std::vector<Rect> inks;
        for (const std::string& name : captions[p])
            inks.push_back(inkBox((scratch.path() / "out" / (name + ".png")).string()));
        for (std::size_t a = 0; a < inks.size(); ++a) {
            EXPECT_GT(inks[a].w, 0) << picture.name << " caption " << a << " shows nothing";
            EXPECT_TRUE(inks[a].inside(frame))
                << picture.name << " caption " << a << " leaves the frame";
            for (std::size_t b = a + 1; b < inks.size(); ++b)
                EXPECT_FALSE(inks[a].overlaps(inks[b]))
                    << picture.name << ": captions " << a << " and " << b << " run into each other";
            for (const Rect& art : picture.artBoxes)
                EXPECT_FALSE(inks[a].overlaps(art))
                    << picture.name << ": caption " << a << " covers art";
        }
    }
}
