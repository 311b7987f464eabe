// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageBuilders.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <optional>

namespace {

// Runs the tool on the bytes saved under the name; the picture it wrote, or
// nothing when it failed.
std::optional<Bytes> imgDump(const std::string& name, const Bytes& bytes)
{
    TempDir dir;
    writeFile(name, bytes);
    const std::string command =
        std::string(VM_TOOLS_DIR) + "/imgdump " + name + " out.ppm >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    const std::string ppm = TempDir::readFile("out.ppm");
    return Bytes(ppm.begin(), ppm.end());
}

} // namespace

TEST(ImgDumpTest, WritesTheDecodedPixelsTopDownAndFailsOnWhatTheGameCannotDecode)
{
    Picture picture(2, 2, Rgba{0, 255, 0, 255});
    picture.at(0, 0) = Rgba{255, 0, 0, 10}; // top left
    const std::string header = "P6\n2 2\n255\n";
    for (const auto& [name, bytes] :
         {std::pair{"pic.tga", tgaFile(picture)},
          std::pair{"pic.png", pngFile(picture, PNG_COLOR_TYPE_RGB_ALPHA)}}) {
        const auto ppm = imgDump(name, bytes);
        ASSERT_TRUE(ppm) << name;
        ASSERT_EQ(ppm->size(), header.size() + 12);
        EXPECT_EQ(std::string(ppm->begin(), ppm->begin() + header.size()), header);
        EXPECT_EQ((*ppm)[header.size()], 255);
        EXPECT_EQ((*ppm)[header.size() + 1], 0);
        EXPECT_EQ((*ppm)[header.size() + 4], 255); // top right is green
    }
    // Compressed blocks are expanded.
    const auto red = imgDump("red.dds", ddsCompressedFile("DXT1", 4, 4, dxt1SolidBlock(0xf800)));
    ASSERT_TRUE(red);
    ASSERT_EQ(red->size(), std::string("P6\n4 4\n255\n").size() + 48);
    EXPECT_EQ(red->back(), 0);
    EXPECT_EQ((*red)[red->size() - 3], 255);
    EXPECT_FALSE(imgDump("broken.png", Bytes{1, 2, 3, 4}));
}
