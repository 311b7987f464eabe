// SPDX-License-Identifier: GPL-3.0-or-later
#include "ArtScratch.h"

#include "image/Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

const char* kSquare =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"><rect width=\"8\" "
    "height=\"8\" fill=\"#ff0000\"/></svg>";

// A sheet of 8 × 8 frames, two frames wide: group 0 red, group 1 blue.
ToolRun buildRedBlueSheet(const Scratch& scratch, const std::string& options)
{
    scratch.write("svg/red.svg", kSquare);
    std::string blue = kSquare;
    blue.replace(blue.find("#ff0000"), 7, "#0000ff");
    scratch.write("svg/blue.svg", blue);
    return scratch.build(
        "sheet a.tga 8 8 2 2\n  group\n  layer red.svg\n  group\n  layer blue.svg\n", options);
}

} // namespace

TEST(Assetgen, SameSourcesGiveTheSameBytes)
{
    Scratch scratch;
    const std::string art = VM_SOURCE_DIR "/assets/art";
    ToolRun run = assetgen(art + "/art.txt " + art + "/svg " + (scratch.path() / "out").string() +
                           " " + (scratch.path() / "sheet.png").string());
    ASSERT_EQ(run.status, 0) << run.output;
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(scratch.path() / "out")) {
        if (!entry.is_regular_file())
            continue;
        fs::path built =
            fs::path(VM_ART_OUTPUT) / fs::relative(entry.path(), scratch.path() / "out");
        EXPECT_EQ(readFile(entry.path()), readFile(built)) << built;
        ++compared;
    }
    EXPECT_GT(compared, 50);
    EXPECT_TRUE(fs::exists(scratch.path() / "sheet.png"));
}

TEST(Assetgen, ComposesSheetsWithGroupZeroAtTheBottomAtEveryScale)
{
    for (int scale : {1, 2}) {
        Scratch scratch;
        ToolRun run = buildRedBlueSheet(scratch, scale == 1 ? "" : "--scale 2");
        ASSERT_EQ(run.status, 0) << run.output;
        const std::string tga = readFile(scratch.path() / "out/a.tga");
        EXPECT_EQ(tga[2], 10); // run-length packed, which the game's reader unpacks
        Image image;
        image.load("a.tga", reinterpret_cast<const std::uint8_t*>(tga.data()), tga.size());
        const int side = 16 * scale;
        ASSERT_EQ(image.width(), side);
        ASSERT_EQ(image.height(), side);
        // Rows come bottom-up (R, G, B, A): group 0 (red) fills the bottom
        // half, group 1 (blue) the top half.
        auto channel = [&](int row, int column, int c) {
            return image.pixels()[(std::size_t(row) * side + column) * 4 + c];
        };
        EXPECT_EQ(channel(0, 0, 0), 255);
        EXPECT_EQ(channel(0, 0, 2), 0);
        EXPECT_EQ(channel(side / 2 - 1, side - 1, 2), 0);
        EXPECT_EQ(channel(side / 2, side - 1, 2), 255);
        EXPECT_EQ(channel(side - 1, 0, 2), 255);
        EXPECT_EQ(channel(side - 1, 0, 0), 0);
    }
    Scratch scratch;
    ToolRun bad = buildRedBlueSheet(scratch, "--scale 9");
    EXPECT_NE(bad.status, 0);
    EXPECT_NE(bad.output.find("usage"), std::string::npos) << bad.output;
}

TEST(Assetgen, BrokenInputGetsAClearMessage)
{
    Scratch scratch;
    scratch.write("svg/ok.svg", kSquare);
    scratch.write("svg/broken.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect");
    struct Case {
        const char* manifest;
        const char* message;
    } cases[] = {
        {"picture a.png 8 8\n", "unknown item"},
        {"image a.png 8 eight\n  layer ok.svg\n", "line 1"},
        {"image a.png 8 8\n  layer missing.svg\n", "missing.svg"},
        {"image a.png 8 8\n  layer broken.svg\n", "broken.svg"},
        {"sheet a.png 8 8 1 2\n  group\n  layer ok.svg\n", "groups"},
        {"image a.png 8 8\n  layer ok.svg sub=#00ff00|#000000\n", "#00ff00"},
        {"image a.png 8 8\n  layer ok.svg wobble=3\n", "wobble"},
        {"image a.png 8 8\n\n  layer ok.svg rot=lots\n", "line 3"},
        {"image a.png 8 8\n  layer ok.svg move=1,2\n", "move needs 4 numbers"},
        {"image a.bmp 8 8\n  layer ok.svg\n", "a.bmp"},
        {"gray b.png a.png\n", "not built"},
        {"  layer ok.svg\n", "before any item"},
    };
    for (const Case& c : cases) {
        ToolRun run = scratch.build(c.manifest);
        EXPECT_NE(run.status, 0) << c.manifest;
        EXPECT_NE(run.output.find(c.message), std::string::npos)
            << c.manifest << " -> " << run.output;
    }
}

namespace {

// A word on a transparent strip, anchored at its middle, with 80 units of room.
const char* kWordStrip =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"200\" height=\"40\" viewBox=\"0 0 200 "
    "40\"><text x=\"100\" y=\"28\" font-family=\"DejaVu Sans\" font-size=\"20\" "
    "text-anchor=\"middle\" fill=\"#ffffff\" data-max-width=\"80\">LABEL</text></svg>";

const char* kWordManifest = "image short.tga 200 40\n  layer word.svg \"sub=LABEL|Play\"\n"
                            "image long.tga 200 40\n  layer word.svg \"sub=LABEL|Quit\"\n"
                            "image untranslated.tga 200 40\n  layer word.svg \"sub=LABEL|Back\"\n"
                            "image back.tga 200 40\n  layer word.svg \"sub=LABEL|Back\"\n"
                            "image plain.tga 8 8\n  layer red.svg\n";

// The columns where a picture has any ink, as [first, last].
std::pair<int, int> inkColumns(const std::string& tga)
{
    Image image;
    image.load("ink.tga", reinterpret_cast<const std::uint8_t*>(tga.data()), tga.size());
    int first = image.width(), last = -1;
    for (int row = 0; row < image.height(); ++row)
        for (int column = 0; column < image.width(); ++column)
            if (image.pixels()[(std::size_t(row) * image.width() + column) * 4 + 3] != 0) {
                first = std::min(first, column);
                last = std::max(last, column);
            }
    return {first, last};
}

} // namespace

// Only the pictures with a translated word are drawn in the language.
TEST(Assetgen, DrawsACataloguesWordsInsideTheirRoomAndOnlyThosePictures)
{
    Scratch scratch;
    scratch.write("svg/word.svg", kWordStrip);
    scratch.write("svg/red.svg", kSquare);
    scratch.write("de.po", "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n"
                           "msgid \"Play\"\nmsgstr \"Spiel\"\n\n"
                           "msgid \"Quit\"\nmsgstr \"Das Spiel jetzt wirklich ganz beenden\"\n");
    const fs::path dir = scratch.path();
    ASSERT_EQ(
        runTool("msgfmt -o " + (dir / "de.mo").string() + " " + (dir / "de.po").string()).status,
        0);
    ASSERT_EQ(scratch.build(kWordManifest).status, 0);
    for (int scale : {1, 2}) {
        const fs::path lang = dir / ("de" + std::to_string(scale));
        const ToolRun run =
            assetgen("--scale " + std::to_string(scale) + " --catalogue " +
                     (dir / "de.mo").string() + " " + (dir / "art.txt").string() + " " +
                     (dir / "svg").string() + " " + lang.string() + " " + lang.string() + ".txt");
        ASSERT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(readFile(lang.string() + ".txt"), "short.tga\nlong.tga\n");
        // A word left English is said once, with every picture that shows it.
        EXPECT_EQ(readFile(lang / "lang/untranslated.txt"), "Back\tuntranslated.tga, back.tga\n");
        if (scale == 1) {
            EXPECT_NE(readFile(lang / "short.tga"), readFile(dir / "out/short.tga"));
        }
        // Unshrunk, the long translation would run far past the strip's 80 units.
        const auto [first, last] = inkColumns(readFile(lang / "long.tga"));
        EXPECT_GE(first, 60 * scale);
        EXPECT_LE(last, 140 * scale);
        EXPECT_GT(last - first, 60 * scale);
    }
    for (const char* catalogue : {"absent.mo", "svg/word.svg"}) {
        const ToolRun bad =
            assetgen(std::string("--catalogue ") + (dir / catalogue).string() + " " +
                     (dir / "art.txt").string() + " " + (dir / "svg").string() + " " +
                     (dir / "x").string() + " " + (dir / "x.txt").string());
        EXPECT_NE(bad.status, 0);
        EXPECT_NE(bad.output.find(catalogue), std::string::npos) << bad.output;
    }
}
