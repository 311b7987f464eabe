// SPDX-License-Identifier: GPL-3.0-or-later
#include "AssetPack.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

bool isNameByte(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == '/' ||
           c == '%';
}

// Every "dat/...", "mui/..." or "music/..." string literal in the game's sources.
std::set<std::string> namesInSources()
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(VM_SOURCE_DIR "/src")) {
        if (!entry.is_regular_file())
            continue;
        const std::string text = TempDir::readFile(entry.path().string());
        for (const char* folder : {"\"dat/", "\"mui/", "\"music/"})
            for (auto at = text.find(folder); at != std::string::npos;
                 at = text.find(folder, at + 1)) {
                auto end = at + 1;
                while (end < text.size() && isNameByte(text[end]))
                    ++end;
                if (end < text.size() && text[end] == '"')
                    names.insert(text.substr(at + 1, end - at - 1));
            }
    }
    return names;
}

} // namespace

TEST(AssetPack, EveryListedFileReadsBackWithItsFlag)
{
    const AssetPack& assets = AssetPack::instance();
    std::ifstream list(VM_PACK_LIST);
    ASSERT_TRUE(list) << VM_PACK_LIST;
    std::string line;
    int scrambled = 0, entries = 0;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        std::string flag, name, path;
        if (!(fields >> flag >> name >> path))
            continue;
        ++entries;
        auto entry = assets.pack().findFile(name);
        ASSERT_TRUE(entry) << name;
        EXPECT_EQ(entry->scrambled, flag[0]) << name;
        EXPECT_EQ(std::string(entry->chars(), entry->data.size()), TempDir::readFile(path)) << name;
        scrambled += flag == "y";
    }
    EXPECT_GT(entries, 50);
    EXPECT_GT(scrambled, 0) << "some entries must exercise the pack key";
}

TEST(AssetPack, HoldsEveryAssetNamedInTheSources)
{
    const AssetPack& assets = AssetPack::instance();
    for (std::string name : namesInSources()) {
        auto format = name.find("%02d");
        if (format != std::string::npos)
            name.replace(format, 4, "00");
        if (name.find('%') != std::string::npos || name.back() == '/')
            continue;
        EXPECT_TRUE(assets.has(name)) << name << " is named in src/ but not packed";
    }
}

TEST(AssetPack, PicturesHaveTheirFixedSizes)
{
    struct Expected {
        const char* name;
        int width, height;
    } expected[] = {
        {"dat/stat.png", 512, 512},     {"dat/game_bg.jpg", 1024, 1024},
        {"dat/dymamite.png", 128, 128}, {"dat/dymamite_gray.png", 128, 128},
        {"mui/icon.png", 256, 256},     {"mui/bgs/intro.jpg", 1024, 1024},
    };
    for (const auto& e : expected) {
        PictureSize size = pictureSize(e.name);
        ASSERT_TRUE(size.valid) << e.name;
        EXPECT_EQ(size.width, e.width) << e.name;
        EXPECT_EQ(size.height, e.height) << e.name;
    }
    PictureSize button = pictureSize("dat/maun_menu_btn.tga");
    ASSERT_TRUE(button.valid);
    EXPECT_EQ(button.height % 4, 0);
    EXPECT_TRUE(std::filesystem::exists(VM_GAME_DIR "/mui/icon.png"));
}
