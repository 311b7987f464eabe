#include "ArtScratch.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(Assetgen, SameSourcesGiveTheSameBytes)
{
    Scratch scratch;
    const std::string art = VM_SOURCE_DIR "/assets/art";
    ToolRun run = assetgen(art + "/art.txt " + art + "/svg " + (scratch.path() / "out").string() + " " +
                       (scratch.path() / "sheet.png").string());
    ASSERT_EQ(run.status, 0) << run.output;
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(scratch.path() / "out")) {
        if (!entry.is_regular_file())
            continue;
        fs::path built = fs::path(VM_ART_OUTPUT) / fs::relative(entry.path(), scratch.path() / "out");
        EXPECT_EQ(readFile(entry.path()), readFile(built)) << built;
        ++compared;
    }
    EXPECT_GT(compared, 50);
    EXPECT_TRUE(fs::exists(scratch.path() / "sheet.png"));
}

TEST(Assetgen, ComposesSheetsWithGroupZeroAtTheBottom)
{
    Scratch scratch;
    scratch.write("svg/red.svg", kSquare);
    std::string blue = kSquare;
    blue.replace(blue.find("#ff0000"), 7, "#0000ff");
    scratch.write("svg/blue.svg", blue);
    ToolRun run = scratch.build("sheet a.tga 8 8 2 2\n  group\n  layer red.svg\n  group\n  layer blue.svg\n");
    ASSERT_EQ(run.status, 0) << run.output;
    std::string tga = readFile(scratch.path() / "out/a.tga");
    ASSERT_EQ(tga.size(), 18u + 16 * 16 * 4);
    EXPECT_EQ(tga[2], 2);
    // Rows are stored bottom-up: the first stored pixel is the bottom-left one, group 0 (red).
    EXPECT_EQ(static_cast<unsigned char>(tga[18 + 2]), 255);
    EXPECT_EQ(static_cast<unsigned char>(tga[18 + 0]), 0);
    // The last stored row is the top one, group 1 (blue).
    std::size_t top = 18 + std::size_t(15) * 16 * 4;
    EXPECT_EQ(static_cast<unsigned char>(tga[top + 0]), 255);
    EXPECT_EQ(static_cast<unsigned char>(tga[top + 2]), 0);
}

TEST(Assetgen, AtScaleTwoEverySheetHasTwiceThePixelsInTheSameLayout)
{
    Scratch scratch;
    scratch.write("svg/red.svg", kSquare);
    std::string blue = kSquare;
    blue.replace(blue.find("#ff0000"), 7, "#0000ff");
    scratch.write("svg/blue.svg", blue);
    ToolRun run = scratch.build(
        "sheet a.tga 8 8 2 2\n  group\n  layer red.svg\n  group\n  layer blue.svg\n", "--scale 2");
    ASSERT_EQ(run.status, 0) << run.output;
    std::string tga = readFile(scratch.path() / "out/a.tga");
    ASSERT_EQ(tga.size(), 18u + 32 * 32 * 4);
    EXPECT_EQ(static_cast<unsigned char>(tga[12]), 32);
    EXPECT_EQ(static_cast<unsigned char>(tga[14]), 32);
    // Group 0 (red) fills the bottom 16 rows, group 1 (blue) the top 16.
    auto blueAt = [&](int storedRow) {
        return static_cast<unsigned char>(tga[18 + std::size_t(storedRow) * 32 * 4 + 31 * 4]);
    };
    EXPECT_EQ(blueAt(15), 0);
    EXPECT_EQ(blueAt(16), 255);
    ToolRun bad = scratch.build("image b.png 8 8\n  layer red.svg\n", "--scale 9");
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
        EXPECT_NE(run.output.find(c.message), std::string::npos) << c.manifest << " -> " << run.output;
    }
}
