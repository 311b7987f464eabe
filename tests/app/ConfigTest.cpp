// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Config.h"
#include "audio/CSoundManager.h"
#include "audio/MusicPlaylist.h"
#include "platform/OfflineWaveOutput.h"
#include "utils/KeyValueFile.h"
#include "utils/Scrambler.h"
#include "utils/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class ConfigTest : public ::testing::Test {
protected:
    void writeConfig(const std::map<std::string, int>& values, const char* key = Config::kKey)
    {
        KeyValueFile file;
        for (const auto& [name, value] : values)
            file.setInt(name, value);
        std::filesystem::create_directories("data");
        ASSERT_TRUE(file.save("data/dx.cfg", key, 3));
    }
    void load() { config.load("data/dx.cfg", 800, 600, sound); }
    KeyValueFile readBack() const
    {
        KeyValueFile file;
        file.loadFromDisk("data/dx.cfg", true, Config::kKey, Config::kKeyLength);
        return file;
    }

    TempDir dir;
    CSoundManager sound;
    Config config;
};

TEST_F(ConfigTest, AFirstRunKeepsTheConstructionValuesWithTheLogicalSize)
{
    load();
    EXPECT_EQ(config.m_windowWidth, 800);
    EXPECT_EQ(config.m_windowHeight, 600);
    EXPECT_EQ(config.m_windowX, 0);
    EXPECT_EQ(config.m_windowY, 0);
    EXPECT_TRUE(config.m_fullScreen);
    EXPECT_TRUE(config.m_sound);
    EXPECT_FALSE(config.m_hints);
    EXPECT_TRUE(config.m_firstRun);
    EXPECT_TRUE(config.m_showDragons);
    EXPECT_EQ(config.m_musicVolume, 40);
    EXPECT_EQ(config.m_level, 3);
    EXPECT_EQ(config.m_backKey, 27);
    EXPECT_EQ(config.m_minimiseKey, 13);
}

TEST_F(ConfigTest, MissingKeysTakeTheirDefaultsOnceAFileExistsAndAnotherKeysFileGivesAll)
{
    writeConfig({{"m_level", 12}});
    load();
    EXPECT_FALSE(config.m_firstRun);
    EXPECT_TRUE(config.m_hints); // the file's default is "1"
    EXPECT_TRUE(config.m_sound);
    EXPECT_TRUE(config.m_fullScreen);
    EXPECT_EQ(config.m_musicVolume, 40);
    EXPECT_EQ(config.m_level, 12);
    EXPECT_EQ(config.m_windowWidth, 800);
    // A file written with another key gives every default.
    writeConfig({{"m_level", 50}, {"m_sound", 0}}, "xyz");
    config = Config();
    load();
    EXPECT_EQ(config.m_level, 3);
    EXPECT_TRUE(config.m_sound);
}

TEST_F(ConfigTest, ReadingRulesForSizesFlagsAndTheSoundManager)
{
    writeConfig({{"m_window_width", 50},
                 {"m_window_height", 700},
                 {"x", -20},
                 {"y", 35},
                 {"m_sound", 2},
                 {"m_hints", 0},
                 {"m_show_dragons", 0},
                 {"m_sound_invert", 5},
                 {"m_is_full_screen_loaded", 0},
                 {"m_music_volume", 64},
                 {"m_level", -4}});
    load();
    EXPECT_EQ(config.m_windowWidth, 800);
    EXPECT_EQ(config.m_windowHeight, 700);
    EXPECT_EQ(config.m_windowX, -20);
    EXPECT_EQ(config.m_windowY, 35);
    EXPECT_FALSE(config.m_sound); // only exactly 1 means on
    EXPECT_FALSE(config.m_hints);
    EXPECT_FALSE(config.m_showDragons);
    EXPECT_TRUE(sound.isStereoInverted());
    EXPECT_FALSE(config.m_fullScreen);
    EXPECT_EQ(config.m_musicVolume, 64);
    EXPECT_EQ(config.m_level, 1) << "the first level is always open";
}

TEST_F(ConfigTest, AWindowLargerThanTheDesktopIsFittedToIt)
{
    writeConfig({{"m_window_width", 20000},
                 {"m_window_height", 20000},
                 {"x", 2000000000},
                 {"y", -2000000000}});
    load();
    EXPECT_EQ(config.m_windowWidth, 800) << "no screen is that wide";
    EXPECT_EQ(config.m_windowHeight, 600);
    writeConfig({{"m_window_width", 3000}, {"m_window_height", 1500}, {"x", 5000}, {"y", -30}});
    load();
    config.fitToDesktop({0, 0, 1280, 1024});
    EXPECT_EQ(config.m_windowWidth, 1280);
    EXPECT_EQ(config.m_windowHeight, 1024);
    config.m_windowWidth = 800;
    config.fitToDesktop({-1280, 0, 1280, 1024}); // a second screen to the left
    EXPECT_EQ(config.m_windowWidth, 800);
}

TEST_F(ConfigTest, SaveWritesEveryKeyAndReadsBack)
{
    config.m_windowWidth = 1024;
    config.m_windowHeight = 768;
    config.m_sound = false;
    config.m_hints = true;
    config.m_level = 17;
    config.m_musicVolume = 22;
    config.m_showDragons = false;
    ConfigSaveState state;
    state.windowRect = {30, 40, 1054, 808};
    state.fullScreen = true;
    state.soundInverted = true;
    std::filesystem::create_directories("data");
    config.save("data/dx.cfg", state);

    const KeyValueFile file = readBack();
    std::string keys;
    for (const auto& entry : file.entries())
        keys += entry.first + " ";
    EXPECT_EQ(keys, "m_hints m_is_full_screen_loaded m_level m_music_volume m_show_dragons "
                    "m_sound m_sound_invert m_window_height m_window_width x y ");
    EXPECT_EQ(file.getInt("x", -1), 30);
    EXPECT_EQ(file.getInt("y", -1), 40);

    Config again;
    again.load("data/dx.cfg", 800, 600, sound);
    EXPECT_EQ(again.m_windowWidth, 1024);
    EXPECT_EQ(again.m_windowX, 30);
    EXPECT_FALSE(again.m_sound);
    EXPECT_TRUE(again.m_hints);
    EXPECT_TRUE(again.m_fullScreen);
    EXPECT_EQ(again.m_level, 17);
    EXPECT_EQ(again.m_musicVolume, 22);
    EXPECT_FALSE(again.m_showDragons);
    EXPECT_TRUE(sound.isStereoInverted());
}

// Older versions neither write nor read the language; following the
// environment writes nothing either.
TEST_F(ConfigTest, TheLanguageRoundTripsBesideTheOtherKeysAndIsAbsentWhileFollowingTheSystem)
{
    writeConfig({{"m_level", 12}, {"m_music_volume", 20}});
    load();
    EXPECT_EQ(config.m_language, "");
    EXPECT_EQ(config.m_level, 12);
    config.m_language = "pt_BR";
    config.save("data/dx.cfg", {});
    KeyValueFile file = readBack();
    EXPECT_EQ(file.getString("m_language", ""), "pt_BR");
    EXPECT_EQ(file.getInt("m_level", 0), 12);
    EXPECT_EQ(file.getInt("m_music_volume", 0), 20);
    Config again;
    again.load("data/dx.cfg", 800, 600, sound);
    EXPECT_EQ(again.m_language, "pt_BR");
    EXPECT_EQ(again.m_level, 12);
    EXPECT_EQ(again.m_musicVolume, 20);
    Config early;
    early.loadLanguage();
    EXPECT_EQ(early.m_language, "pt_BR");
    again.m_language.clear();
    again.save("data/dx.cfg", {});
    EXPECT_FALSE(readBack().contains("m_language"));
}

TEST_F(ConfigTest, ASaveWhileMinimisedLeavesOutTheGeometry)
{
    config.m_windowWidth = 1024;
    ConfigSaveState state;
    state.minimized = true;
    state.windowRect = {30, 40, 1054, 808};
    std::filesystem::create_directories("data");
    config.save("data/dx.cfg", state);
    const KeyValueFile file = readBack();
    EXPECT_FALSE(file.contains("m_window_width"));
    EXPECT_FALSE(file.contains("m_window_height"));
    EXPECT_FALSE(file.contains("x"));
    EXPECT_FALSE(file.contains("y"));
    EXPECT_TRUE(file.contains("m_level"));

    Config again;
    again.load("data/dx.cfg", 800, 600, sound);
    EXPECT_EQ(again.m_windowWidth, 800);
    EXPECT_EQ(again.m_windowHeight, 600);
    EXPECT_EQ(again.m_windowX, 0);
    EXPECT_EQ(again.m_windowY, 0);
}

// Without a data folder, saving makes it rather than losing the settings.
TEST_F(ConfigTest, TheSavedFileIsTheWrittenFormScrambledInAFolderMadeForIt)
{
    config.m_musicVolume = 12;
    config.save("data/dx.cfg", {});
    EXPECT_EQ(readBack().getInt("m_music_volume", 0), 12);
    const std::string bytes = TempDir::readFile("data/dx.cfg");
    const std::string text = readBack().writtenForm();
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(bytes.size(), text.size() + 1);
    const std::vector<std::uint8_t> plain =
        Scrambler().unscramble(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                               Config::kKey, Config::kKeyLength);
    EXPECT_EQ(std::string(plain.begin(), plain.end()), text);
}

TEST_F(ConfigTest, ApplySwitchesSoundEffectsAndStopsTheMusic)
{
    MusicPlaylist music;
    config.m_sound = true;
    config.apply(sound, music, std::make_unique<OfflineWaveOutput>());
    EXPECT_TRUE(sound.isEnabled());
    config.m_sound = false;
    config.m_musicVolume = 30;
    config.apply(sound, music, std::make_unique<OfflineWaveOutput>());
    EXPECT_TRUE(music.isAvailable());
    EXPECT_FALSE(sound.isEnabled());
    EXPECT_EQ(music.volume(), 30);
    EXPECT_FALSE(music.isPlaying());
}

} // namespace
