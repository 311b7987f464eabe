// SPDX-License-Identifier: GPL-3.0-or-later
// The menu screens driven end to end: options, help, the level choice, the
// web-site buttons and the main menu's keys.
#include "screens/GameRun.h"

#include "game/LevelPlay.h"
#include "platform/VirtualKey.h"
#include "platform/WebBrowser.h"
#include "screens/HelpScreen.h"
#include "screens/LevelChoiceScreen.h"
#include "screens/OptionsScreen.h"
#include "ui/CheckBox.h"
#include "ui/ChoiceBox.h"
#include "ui/TrackBar.h"
#include "utils/CompiledCatalogue.h"
#include "utils/FilePack.h"
#include "utils/Translation.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A language of one translation beside the game's packs.
void addGermanPack()
{
    const std::vector<std::uint8_t> catalogue =
        compiled({{"", "Content-Type: text/plain; charset=UTF-8\n"}, {"Quit", "Beenden"}});
    TempDir::writeFile("de.mo", std::string(catalogue.begin(), catalogue.end()));
    FilePack pack;
    pack.setKey(kMainPackKey);
    ASSERT_TRUE(pack.addFile("de.mo", "lang/vellomar.mo", false));
    std::filesystem::create_directories("data/lang");
    ASSERT_TRUE(pack.save("data/lang/de.pk"));
}

} // namespace

TEST(EndToEnd, OptionsTakeEffectAndSurviveARestart)
{
    GameFolder folder;
    addGermanPack();
    {
        GameRun run;
        REQUIRE_GAME(run);
        run.click(run.main().button("m_options_btn"));
        OptionsScreen* options = run.main().optionsScreen();
        ASSERT_NE(options, nullptr);
        ASSERT_EQ(run.front(), options);
        EXPECT_TRUE(options->soundBox().isChecked());
        EXPECT_FALSE(options->fullScreenBox().isChecked());
        run.click(options->soundBox());
        run.click(options->hintsBox());
        run.click(options->dragonsBox());
        EXPECT_FALSE(Config::get().m_sound);
        EXPECT_TRUE(Config::get().m_hints);
        EXPECT_FALSE(Config::get().m_showDragons);
        TrackBar& slider = options->volumeSlider();
        run.driver().moveTo(int(slider.knobX() + 2), int(slider.y() + slider.height() / 2));
        run.driver().press();
        run.driver().moveTo(int(slider.x() + slider.length() / 4), int(slider.y() + 2));
        run.driver().release();
        run.driver().runFrames(2);
        const int volume = Config::get().m_musicVolume;
        EXPECT_NE(volume, 40);
        // System language, English, Deutsch: spoken at once.
        ChoiceBox& language = options->languageChoice();
        EXPECT_EQ(language.selectedName(), tr(OptionsScreen::kSystemLanguage));
        run.click(language);
        run.click(language);
        EXPECT_EQ(language.selectedName(), "Deutsch");
        EXPECT_EQ(Translation::code(), "de");
        EXPECT_STREQ(tr("Quit"), "Beenden");
        run.click(options->fullScreenBox());
        EXPECT_TRUE(run.driver().runUntil([&] { return run.app().isFullScreen(); }));
        run.shot("options_full_screen");
        run.press(VirtualKey::Escape);
        EXPECT_EQ(run.main().optionsScreen(), nullptr);
        EXPECT_EQ(run.front(), &run.main());
        run.click(run.main().button("m_quit_game_btn"));
        run.end();
        const KeyValueFile config = readScrambled("data/dx.cfg", Config::kKey, Config::kKeyLength);
        EXPECT_EQ(config.getInt("m_sound", -1), 0);
        EXPECT_EQ(config.getInt("m_hints", -1), 1);
        EXPECT_EQ(config.getInt("m_show_dragons", -1), 0);
        EXPECT_EQ(config.getInt("m_is_full_screen_loaded", -1), 1);
        EXPECT_EQ(config.getInt("m_music_volume", -1), volume);
        EXPECT_EQ(config.getString("m_language", ""), "de");
    }
    GameRun again;
    REQUIRE_GAME(again);
    again.click(again.main().button("m_options_btn"));
    OptionsScreen* options = again.main().optionsScreen();
    ASSERT_NE(options, nullptr);
    EXPECT_FALSE(options->soundBox().isChecked());
    EXPECT_TRUE(options->hintsBox().isChecked());
    EXPECT_FALSE(options->dragonsBox().isChecked());
    EXPECT_EQ(int(options->volumeSlider().value()), Config::get().m_musicVolume);
    EXPECT_EQ(options->languageChoice().selectedName(), "Deutsch");
    EXPECT_EQ(Translation::code(), "de");
}

TEST(EndToEnd, HelpPagesTurnAndABrokenDocumentStillLetsThePlayerBack)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    run.click(run.main().button("m_help_btn"));
    HelpScreen* help = run.main().helpScreen();
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->page(), 1);
    EXPECT_GE(help->pageCount(), 3);
    run.driver().runFrames(2);
    EXPECT_FALSE(help->prevButton().isEnabled());
    EXPECT_TRUE(help->nextButton().isEnabled());
    run.shot("help_page_1");
    run.click(help->nextButton());
    EXPECT_EQ(help->page(), 2);
    run.shot("help_page_2");
    while (help->page() < help->pageCount())
        run.click(help->nextButton());
    EXPECT_TRUE(help->prevButton().isEnabled());
    EXPECT_FALSE(help->nextButton().isEnabled());
    run.click(help->prevButton());
    EXPECT_EQ(help->page(), help->pageCount() - 1);

    const std::string broken = "<help><page><item font_size=\"20\"><text>unclosed";
    EXPECT_FALSE(help->loadPages(broken.data(), broken.size()));
    EXPECT_EQ(help->pageCount(), 1);
    ASSERT_EQ(help->items().size(), 1u);
    EXPECT_EQ(help->items()[0]->text, HelpScreen::kUnreadableText);
    run.driver().runFrames(2);
    run.shot("help_unreadable");
    run.press(VirtualKey::Escape);
    EXPECT_EQ(run.main().helpScreen(), nullptr);
    EXPECT_EQ(run.front(), &run.main());
}

TEST(EndToEnd, LevelChoiceLocksTheLevelsAboveTheHighestReached)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    ASSERT_EQ(Config::get().m_level, 3);
    run.click(run.main().button("m_game_btn"));
    LevelChoiceScreen* choice = run.main().levelChoice();
    ASSERT_NE(choice, nullptr);
    run.click(choice->prevButton());
    EXPECT_EQ(choice->chosenIndex(), 0);
    for (int i = 0; i < 3; ++i)
        run.click(choice->nextButton());
    EXPECT_EQ(choice->chosenIndex(), 3);
    EXPECT_TRUE(choice->isLocked());
    EXPECT_FALSE(choice->okButton().isEnabled()) << "Start is shown disabled";
    EXPECT_EQ(LevelChoiceScreen::openLevels(Config::get().m_level), "Levels 1-3 open");
    EXPECT_EQ(choice->preview().level(), 4);
    run.shot("level_choice_locked");
    run.click(choice->okButton());
    EXPECT_EQ(run.front(), choice) << "a locked level cannot be started";
    run.press(VirtualKey::Escape);
    EXPECT_EQ(run.front(), &run.main());
    EXPECT_FALSE(choice->isConfirmed());
    EXPECT_EQ(run.main().game(), nullptr);

    run.click(run.main().button("m_game_btn"));
    run.press(VirtualKey::Left); // whatever has the focus
    EXPECT_EQ(choice->chosenIndex(), 2);
    EXPECT_FALSE(choice->isLocked());
    EXPECT_TRUE(choice->okButton().isEnabled());
    run.shot("level_choice_open");
    run.click(choice->okButton());
    ASSERT_TRUE(run.driver().runUntil([&] { return run.main().game() != nullptr; }));
    GameWindow& game = *run.main().game();
    EXPECT_EQ(game.field()->level(), 3);
    EXPECT_EQ(savedGame().getInt("game.m_level", -1), 3) << "saved as the level begins";

    // Won: level 4 begins, and is on disk at once, opened in the settings.
    runIntro(run, game);
    LevelPlay::clearBoard(*game.field());
    ASSERT_TRUE(run.driver().runUntil([&] { return game.field()->finished(); }));
    for (int i = 0; i < 20 && game.field()->level() == 3; ++i) {
        run.driver().click(400, 300);
        run.driver().runFrames(30);
    }
    ASSERT_EQ(game.field()->level(), 4);
    EXPECT_EQ(savedGame().getInt("game.m_level", -1), 4);
    EXPECT_EQ(
        readScrambled(Config::kFileName, Config::kKey, Config::kKeyLength).getInt("m_level", -1),
        4);
}

TEST(EndToEnd, TheWebSiteButtonsAndEnterMinimiseAndTheButtonsOpenThePage)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    std::vector<std::string> opened;
    WebBrowser::setOpener([&](const std::string& address) {
        opened.push_back(address);
        return false;
    });
    run.click(run.main().button("m_zq_btn"));
    EXPECT_EQ(run.app().minimizeRequests(), 1);
    run.driver().restoredByUser();
    run.driver().runFrames(2);
    run.click(run.main().button("m_gift_btn"));
    WebBrowser::setOpener(nullptr);
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[1], opened[0]);
    // The manual shipped in the game folder, until the game has a site of its own.
    const std::string scheme = "file://";
    ASSERT_EQ(opened[0].rfind(scheme, 0), 0u) << opened[0];
    const std::filesystem::path page = opened[0].substr(scheme.size());
    EXPECT_TRUE(std::filesystem::is_regular_file(page)) << page;
    EXPECT_EQ(page.lexically_relative(std::filesystem::current_path()), "doc/manual.html");
    EXPECT_EQ(run.front(), &run.main());

    // Enter on the main menu minimises too, and starts no game.
    const int requests = run.app().minimizeRequests();
    run.press(VirtualKey::Enter);
    EXPECT_EQ(run.app().minimizeRequests(), requests + 1);
    EXPECT_EQ(run.main().game(), nullptr);
    run.driver().minimizedByUser();
    EXPECT_TRUE(run.app().isMinimized());
    run.driver().restoredByUser();
    EXPECT_FALSE(run.app().isMinimized());
}
