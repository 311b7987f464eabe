// SPDX-License-Identifier: GPL-3.0-or-later
#include "AssetPack.h"
#include "game/HudLayout.h"
#include "objects/Font.h"
#include "screens/HighScoreScreen.h"
#include "screens/LevelChoiceScreen.h"
#include "screens/NameDialog.h"
#include "screens/OptionsScreen.h"
#include "ui/MenuResources.h"
#include "utils/Utf8.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <set>
#include <vector>

namespace {

const Rect kScreen{0, 0, 800, 600};

// The frames stacked in an image: two for the name box, one for the slider knob
// and the backgrounds, four for buttons and check boxes.
int framesOf(const std::string& key)
{
    static const std::set<std::string> single = {"m_music_track_bar",     "m_main_window_back",
                                                 "m_options_window_back", "m_enter_name_dlg_back",
                                                 "m_continue_dlg_back",   "m_help_window_back",
                                                 "m_top_window_back",     "m_cust_lev_wnd"};
    if (key == "m_enter_name_editbox")
        return 2;
    return single.count(key) ? 1 : 4;
}

PictureSize resourcePicture(const std::string& key)
{
    KeyValueFile list = AssetPack::instance().keyValues("mui/resourses.txt");
    return pictureSize(list.getString(key, "0"));
}

// Where a layout puts a control drawn with the image of a resource key.
Rect placed(const KeyValueFile& layout, const std::string& control, const std::string& key,
            float extraWidth = 0)
{
    PictureSize picture = resourcePicture(key);
    EXPECT_TRUE(layout.contains(control + ".x") && layout.contains(control + ".y")) << control;
    return {layout.getFloat(control + ".x", -1000), layout.getFloat(control + ".y", -1000),
            float(picture.width) + extraWidth, float(picture.height / framesOf(key))};
}

void expectApart(const std::map<std::string, Rect>& controls, const Rect& area, const char* file)
{
    for (auto a = controls.begin(); a != controls.end(); ++a) {
        EXPECT_TRUE(a->second.inside(area)) << file << ": " << a->first << " leaves its window";
        for (auto b = std::next(a); b != controls.end(); ++b)
            EXPECT_FALSE(a->second.overlaps(b->second))
                << file << ": " << a->first << " overlaps " << b->first;
    }
}

std::map<std::string, Rect> buttons(const KeyValueFile& layout,
                                    const std::vector<std::pair<std::string, std::string>>& pairs)
{
    std::map<std::string, Rect> placedControls;
    for (const auto& [control, key] : pairs)
        placedControls[control] = placed(layout, control, key);
    return placedControls;
}

// The longest name the dialog takes, in the widest letter.
const std::string kWidestName(NameDialog::kMaxNameLength, 'W');

KeyValueFile layout(const char* name)
{
    EXPECT_TRUE(AssetPack::instance().has(name)) << name;
    return AssetPack::instance().keyValues(name);
}

} // namespace

TEST(MenuResources, EveryKeyNamesAPictureOfItsKind)
{
    KeyValueFile list = AssetPack::instance().keyValues("mui/resourses.txt");
    for (const std::string& key : MenuResources::resourceKeys()) {
        ASSERT_TRUE(list.contains(key)) << key;
        PictureSize picture = pictureSize(list.getString(key, "0"));
        ASSERT_TRUE(picture.valid) << key << " -> " << list.getString(key, "0");
        EXPECT_EQ(picture.height % framesOf(key), 0) << key;
    }
    for (const char* back : {"m_main_window_back", "m_options_window_back", "m_help_window_back",
                             "m_top_window_back", "m_cust_lev_wnd"}) {
        EXPECT_EQ(resourcePicture(back).width, 1024) << back;
        EXPECT_EQ(resourcePicture(back).height, 1024) << back;
    }
    EXPECT_EQ(resourcePicture("m_continue_dlg_back").height, 512);
    EXPECT_EQ(resourcePicture("m_enter_name_dlg_back").height, 256);
    EXPECT_EQ(resourcePicture("m_enter_name_dlg_back").width, 512);
    EXPECT_TRUE(pictureSize("mui/locked.tga").valid);
}

TEST(Layouts, MenusPlaceEveryControlApartOnScreen)
{
    expectApart(buttons(layout("mui/main_wnd.txt"), {{"m_game_btn", "m_new_game_btn"},
                                                     {"m_game_adv_btn", "m_new_game_adv_btn"},
                                                     {"m_game_custom_btn", "m_new_game_custom_btn"},
                                                     {"m_continue_btn", "m_continue_btn"},
                                                     {"m_quit_game_btn", "m_quit_game_btn"},
                                                     {"m_help_btn", "m_help_btn"},
                                                     {"m_top_btn", "m_top7_btn"},
                                                     {"m_options_btn", "m_options_btn"},
                                                     {"m_zq_btn", "m_zq_btn"},
                                                     {"m_gift_btn", "m_gift_btn"},
                                                     {"m_fullscreen_btn", "m_fullscreen_btn"},
                                                     {"m_mini_btn", "m_mini_btn"}}),
                kScreen, "main_wnd");
    expectApart(buttons(layout("mui/help_wnd.txt"), {{"m_close_btn", "m_back_btn"},
                                                     {"m_next_btn", "m_help_next_btn"},
                                                     {"m_prev_btn", "m_help_prev_btn"}}),
                kScreen, "help_wnd");
    KeyValueFile options = layout("mui/options_wnd.txt");
    auto optionControls = buttons(options, {{"m_close_btn", "m_back_btn"},
                                            {"m_sound_cb", "m_check_box"},
                                            {"m_hints_cb", "m_check_box"},
                                            {"m_dragons_cb", "m_check_box"},
                                            {"m_fs_cb", "m_check_box"}});
    optionControls["slider"] =
        placed(options, "m_musik_volume_track_bar", "m_music_track_bar", 204);
    optionControls["language"] = {options.getFloat("m_language_choice.x", -1000),
                                  options.getFloat("m_language_choice.y", -1000),
                                  OptionsScreen::kLanguageChoiceWidth,
                                  OptionsScreen::kLanguageChoiceHeight};
    optionControls["language label"] = {
        options.getFloat("m_language_label.x", -1000),
        options.getFloat("m_language_label.y", -1000) - OptionsScreen::kLanguageLabelSize,
        OptionsScreen::kLanguageChoiceWidth, OptionsScreen::kLanguageLabelSize};
    expectApart(optionControls, kScreen, "options_wnd");
}

TEST(Layouts, DialogsKeepTheirControlsOnTheirBackgrounds)
{
    expectApart(
        buttons(layout("mui/continue_dlg.txt"), {{"m_continuesaved_btn", "m_continuesaved_btn"},
                                                 {"m_startnew_btn", "m_startnew_btn"},
                                                 {"m_cancel_btn", "m_cancel_btn"}}),
        Rect{0, 0, 512, 512}, "continue_dlg");
    KeyValueFile name = layout("mui/entername_dlg.txt");
    auto nameControls = buttons(name, {{"m_ok_btn", "m_ok_btn"}});
    nameControls["m_enter_name_box"] = placed(name, "m_enter_name_box", "m_enter_name_editbox");
    expectApart(nameControls, Rect{0, 0, 512, 256}, "entername_dlg");
    // The continue dialog's level and score lines (size 25) stand above its buttons.
    Rect texts{162, 231 - 25, 200, 30 + 25};
    for (const auto& [control, rect] :
         buttons(layout("mui/continue_dlg.txt"), {{"m_continuesaved_btn", "m_continuesaved_btn"}}))
        EXPECT_FALSE(rect.overlaps(texts)) << control;
}

TEST(Layouts, LevelChoiceLeavesRoomForThePreviewAndItsLine)
{
    KeyValueFile custom = layout("mui/custom_wnd.txt");
    auto controls = buttons(custom, {{"m_close_btn", "m_cancel_btn"},
                                     {"m_ok_btn", "m_start_btn"},
                                     {"m_next_btn", "m_help_next_btn"},
                                     {"m_prev_btn", "m_help_prev_btn"}});
    controls["slider"] = placed(custom, "m_level_track_bar", "m_music_track_bar", 495);
    controls["preview"] = Rect{300, 180, 800 * 0.262f, 600 * 0.262f};
    controls["level line"] = Rect{307, 401 - 38, 190, 40};
    const float size = LevelChoiceScreen::kOpenLevelsSize;
    const float open = packFont().measure("Levels 1-100 open", size);
    controls["open levels line"] =
        Rect{400 - open / 2, LevelChoiceScreen::kOpenLevelsY - size, open, size + 4};
    expectApart(controls, kScreen, "custom_wnd");
}

TEST(Layouts, HighScoreRowsFitTheirColumns)
{
    KeyValueFile top = layout("mui/top_wnd.txt");
    auto controls = buttons(top, {{"m_close_btn", "m_back_btn"},
                                  {"m_next_btn", "m_top_next_btn"},
                                  {"m_prev_btn", "m_top_prev_btn"}});
    const Font& font = packFont();
    float size = top.getFloat("m_font_size", 10);
    float numberSpace = top.getFloat("m_num_space", 30);
    float scoreSpace = top.getFloat("m_score_space", 400);
    EXPECT_GE(size, 16) << "rows must be readable";
    for (int row = 1; row <= 7; ++row) {
        char key[32];
        std::snprintf(key, sizeof key, "string_pos_%02d", row);
        float x = top.getFloat(std::string(key) + ".x", 0);
        float y = top.getFloat(std::string(key) + ".y", 0);
        EXPECT_LT(font.measure("7.", size), numberSpace) << key;
        EXPECT_LT(font.measure("Maximilian Rose", size), scoreSpace) << key << ": a long name";
        controls[key] = Rect{x - numberSpace, y - size,
                             numberSpace + scoreSpace + font.measure("9999999", size), size};
    }
    expectApart(controls, kScreen, "top_wnd");
    // Names that would reach the points are drawn smaller; hand-edited
    // tables may hold longer ones, which are also cut short.
    const float room = scoreSpace - size / 2;
    const FittedName common = HighScoreScreen::fitName(font, "Maximilian Rose", size, room);
    EXPECT_EQ(common.text, "Maximilian Rose");
    EXPECT_EQ(common.size, size);
    std::string accented;
    for (int i = 0; i < 40; ++i)
        accented += "\xc5\xbb"; // "Ż"
    for (const std::string& name : {kWidestName, std::string(60, 'M'), accented}) {
        const FittedName fitted = HighScoreScreen::fitName(font, name, size, room);
        EXPECT_LE(font.measure(fitted.text.c_str(), fitted.size), room + 0.01f) << name;
        EXPECT_GE(fitted.size, 0.6f * size) << name;
        EXPECT_EQ(fitted.text == name, name == kWidestName) << fitted.text;
        EXPECT_EQ(Utf8::valid(fitted.text), fitted.text) << "cut between characters";
    }
}

TEST(Layouts, TheNameBoxHoldsTheLongestNameAtFullSize)
{
    PictureSize box = resourcePicture("m_enter_name_editbox");
    const float margin = 7, caret = 3, size = 25;
    EXPECT_LE(packFont().measure(kWidestName.c_str(), size), float(box.width) - 2 * margin - caret);
}

TEST(Layouts, PlayScreenButtonStaysClearOfTheBoardLabels)
{
    KeyValueFile bonuses = layout("dat/bonuses_buttons.txt");
    PictureSize picture = pictureSize("dat/maun_menu_btn.tga");
    Rect button{bonuses.getFloat("m_main_menu_btn.x", -1),
                bonuses.getFloat("m_main_menu_btn.y", -1), float(picture.width),
                float(picture.height / 4)};
    std::map<std::string, Rect> areas = {{"menu button", button}};
    for (const auto& [name, box] : {std::pair{"score", HudLayout::kScore},
                                    {"lives", HudLayout::kLives},
                                    {"level", HudLayout::kLevel},
                                    {"to clear", HudLayout::kToClear},
                                    {"gauge", HudLayout::kGauge},
                                    {"streak", HudLayout::kStreakLabel}})
        areas[name] = Rect{box.x0, box.y0, box.width(), box.y1 - box.y0};
    expectApart(areas, kScreen, "bonuses_buttons");
}

// The keys' lines sit between the title and the box of the options' art.
TEST(Layouts, TheOptionsKeysFitBetweenTheTitleAndTheBox)
{
    constexpr float kTitleBottom = 102.0f;
    constexpr float kBoxTop = 147.0f;
    const Font& font = packFont();
    const float size = OptionsScreen::kKeysTextSize;
    float bottom = OptionsScreen::kKeysTextY;
    EXPECT_GE(bottom - size, kTitleBottom);
    for (const char* line : OptionsScreen::kKeysLines) {
        EXPECT_LE(font.measure(line, size), 760.0f) << line;
        EXPECT_LE(bottom, kBoxTop) << line;
        bottom += OptionsScreen::kKeysLineStep;
    }
}
