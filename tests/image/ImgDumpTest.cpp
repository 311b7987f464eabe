#include "ImageBuilders.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

std::string tempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() /
            ("vm_imgdump_" + std::to_string(getpid()) + "_" + name))
        .string();
}

int runImgDump(const std::string& in, const std::string& out)
{
    const std::string command = std::string(VM_TOOLS_DIR) + "/imgdump " + in + " " + out +
                                " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

Bytes readAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), {});
}

} // namespace

TEST(ImgDumpTest, WritesTheDecodedPixelsTopDown)
{
    Picture picture(2, 2, Rgba{0, 255, 0, 255});
    picture.at(0, 0) = Rgba{255, 0, 0, 10}; // top left
    for (const char* name : {"pic.tga", "pic.png"}) {
        const std::string in = tempPath(name);
        const std::string out = tempPath("out.ppm");
        writeFile(in, std::string(name).back() == 'a' ? tgaFile(picture)
                                                     : pngFile(picture, PNG_COLOR_TYPE_RGB_ALPHA));
        ASSERT_EQ(runImgDump(in, out), 0) << name;
        const Bytes ppm = readAll(out);
        const std::string header = "P6\n2 2\n255\n";
        ASSERT_EQ(ppm.size(), header.size() + 12);
        EXPECT_EQ(std::string(ppm.begin(), ppm.begin() + header.size()), header);
        EXPECT_EQ(ppm[header.size()], 255);
        EXPECT_EQ(ppm[header.size() + 1], 0);
        EXPECT_EQ(ppm[header.size() + 4], 255); // top right is green
        std::remove(in.c_str());
        std::remove(out.c_str());
    }
}

TEST(ImgDumpTest, AFileTheGameCannotDecodeFails)
{
    const std::string in = tempPath("broken.png");
    writeFile(in, Bytes{1, 2, 3, 4});
    EXPECT_NE(runImgDump(in, tempPath("x.ppm")), 0);
    EXPECT_NE(runImgDump(tempPath("absent.tga"), tempPath("x.ppm")), 0);
    std::remove(in.c_str());
}

TEST(ImgDumpTest, CompressedBlocksAreExpanded)
{
    const std::string in = tempPath("red.dds");
    const std::string out = tempPath("red.ppm");
    writeFile(in, ddsCompressedFile("DXT1", 4, 4, dxt1SolidBlock(0xf800)));
    ASSERT_EQ(runImgDump(in, out), 0);
    const Bytes ppm = readAll(out);
    ASSERT_EQ(ppm.size(), std::string("P6\n4 4\n255\n").size() + 48);
    EXPECT_EQ(ppm.back(), 0);
    EXPECT_EQ(ppm[ppm.size() - 3], 255);
    std::remove(in.c_str());
    std::remove(out.c_str());
}
