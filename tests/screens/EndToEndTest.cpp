#include "screens/GameRun.h"

#include "board/Field.h"
#include "driver/BoardWaits.h"
#include "game/LevelPlay.h"
#include "game/GameWindow.h"
#include "game/PlayArt.h"
#include "objects/ImagePrefetch.h"
#include "platform/VirtualKey.h"
#include "platform/WebBrowser.h"
#include "screens/ContinueDialog.h"
#include "screens/HelpScreen.h"
#include "screens/HighScoreScreen.h"
#include "screens/LevelChoiceScreen.h"
#include "screens/NameDialog.h"
#include "screens/OptionsScreen.h"
#include "ui/CheckBox.h"
#include "ui/EditBox.h"
#include "ui/TrackBar.h"
#include "utils/FilePack.h"
#include "utils/KeyValueFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

KeyValueFile readScrambled(const std::string& path, const char* key, std::size_t length)
{
    KeyValueFile file;
    file.loadFromDisk(path, true, key, length);
    return file;
}

KeyValueFile savedGame()
{
    return readScrambled(MainWindow::kSavedGameFile, MainWindow::kSavedGameKey,
                         MainWindow::kSavedGameKeyLength);
}

// Until the intro of the board has run and the player may act.
void runIntro(GameRun& run, GameWindow& game)
{
    ASSERT_TRUE(run.driver().runUntil([&] {
        return game.field() != nullptr && game.field()->state() != FieldState::Intro;
    }));
}


struct Move {
    GridPos from;
    GridPos to;
};

// A flower with a free neighbour cell to step onto.
bool findMove(const Field& field, Move& move)
{
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            const Flower* flower = field.flowerAt(r, c);
            if (flower == nullptr || !flower->isIdle())
                continue;
            const CellBack* back = field.cellBackAt(r, c);
            if (back == nullptr || back->type() == CellType::Locked)
                continue;
            for (int d = 0; d < 6; ++d) {
                const GridPos to = step({r, c}, Direction(d), field.middleRow());
                if (field.isCell(to) && field.flowerAt(to.row, to.col) == nullptr) {
                    move = {{r, c}, to};
                    return true;
                }
            }
        }
    return false;
}

void playMove(GameRun& run, GameWindow& game)
{
    Move move;
    ASSERT_TRUE(findMove(*game.field(), move));
    const Vec4 from = game.field()->cellCentre(move.from.row, move.from.col);
    const Vec4 to = game.field()->cellCentre(move.to.row, move.to.col);
    run.driver().click(int(from.x), int(from.y));
    ASSERT_TRUE(run.driver().runUntil(
        [&] { return game.field()->isSelectedAt(move.from.row, move.from.col); }));
    run.driver().click(int(to.x), int(to.y));
    ASSERT_TRUE(run.driver().runUntil([&] {
        return !game.field()->isSelectedAt(move.from.row, move.from.col) &&
               boardQuiet(*game.field());
    }));
}

bool light(Rgb p)
{
    return p.r > 180 && p.g > 180 && p.b > 160;
}

bool gold(Rgb p)
{
    return p.r > 200 && p.g > 150 && p.b < 130;
}

void startLevelOne(GameRun& run)
{
    run.click(run.main().button("m_game_btn"));
    ASSERT_EQ(run.front(), run.main().levelChoice());
    run.click(run.main().levelChoice()->okButton());
    ASSERT_TRUE(run.driver().runUntil(
        [&] { return run.main().game() != nullptr && run.front() == run.main().game(); }));
}

} // namespace

TEST(EndToEnd, AGameLeftWithEscapeIsOfferedAgainAndSurvivesARestart)
{
    GameFolder folder;
    int savedScore = -1;
    {
        GameRun run;
        REQUIRE_GAME(run);
        run.shot("main_menu");
        EXPECT_EQ(run.front(), &run.main());
        // The level preview and the play screen draw with the program's art.
        ASSERT_NE(run.main().art(), nullptr);
        EXPECT_TRUE(run.main().art()->complete());
        startLevelOne(run);
        GameWindow& game = *run.main().game();
        const std::vector<std::string> menuMusic{MainWindow::kMenuTrack};
        EXPECT_NE(run.music().tracks(), menuMusic) << "the play screen plays the menu's music";
        runIntro(run, game);
        run.shot("level_1");
        playMove(run, game);
        playMove(run, game);
        run.shot("level_1_after_moves");
        run.press(VirtualKey::Escape);
        ASSERT_EQ(run.front(), &run.main());
        ASSERT_EQ(run.main().game(), &game);
        EXPECT_EQ(run.music().tracks(), menuMusic);

        run.click(run.main().button("m_game_btn"));
        ContinueDialog* dialog = run.main().continueDialog();
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(run.top(), dialog);
        EXPECT_EQ(dialog->level(), 1);
        EXPECT_EQ(dialog->score(), game.field()->score());
        run.driver().runFrames(20);
        run.shot("continue_dialog");
        run.click(*dialog->controls()[0], dialog->positionX(), dialog->positionY());
        EXPECT_EQ(run.front(), &game);
        run.press(VirtualKey::Escape);
        savedScore = game.field()->score();

        run.click(run.main().button("m_quit_game_btn"));
        EXPECT_TRUE(run.app().hasQuit());
        run.end();
        const KeyValueFile saved = savedGame();
        EXPECT_EQ(saved.getString("menudata.gamename", ""), "mondel game");
        EXPECT_EQ(saved.getInt("game.m_level", -1), 1);
        EXPECT_EQ(saved.getInt("game.m_lives", -1), 3);
        EXPECT_FALSE(saved.getString("field.field", "").empty());
    }
    GameRun again;
    REQUIRE_GAME(again);
    ASSERT_NE(again.main().game(), nullptr) << "the saved game did not come back";
    again.click(again.main().button("m_game_btn"));
    ContinueDialog* dialog = again.main().continueDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->level(), 1);
    EXPECT_EQ(dialog->score(), savedScore);
    again.driver().runFrames(20);
    again.shot("continue_after_restart");
    again.click(*dialog->controls()[1], dialog->positionX(), dialog->positionY());
    EXPECT_EQ(again.front(), again.main().levelChoice()) << "a new game is chosen instead";
}

TEST(EndToEnd, BrokenPlayerFilesGiveANormalStart)
{
    GameFolder folder;
    const std::string junk("\x13\x37garbage \"// not a record", 25);
    for (const char* name : {"data/saved.dat", "data/top7.tbl", "data/dx.cfg"})
        std::ofstream(name, std::ios::binary) << junk;
    GameRun run;
    REQUIRE_GAME(run);
    EXPECT_EQ(run.main().game(), nullptr);
    EXPECT_EQ(run.main().highScores().entry(0, 0).name, "Nemo");
    EXPECT_EQ(run.main().highScores().entry(0, 0).points, 0);
    // The pictures decoded ahead at start-up are the ones the window icon, the
    // intro and the first main-menu frame draw: none is left over.
    EXPECT_TRUE(run.app().loadWindowIcon(*getPack("main"), GameStartup::kIconFile));
    EXPECT_EQ(ImagePrefetch::untakenCount(), 0u);
}

// A saved game at 0 lives whose board is full: the level is lost at once.
// Built while a run has the play-screen resources; written once it has ended,
// because its exit writes the saved game of its own.
KeyValueFile lostGame(int score)
{
    auto game = std::make_unique<GameWindow>(1, nullptr);
    KeyValueFile file;
    file.setString("menudata.gamename", "mondel game");
    game->save(file);
    const Field& field = *game->field();
    const int m = field.middleRow();
    std::string flowers;
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            // Three colours in turn along every axis: no row, so no burst.
            const int across = (2 * c + std::abs(r - m) - r - m) / 2;
            flowers += field.isCell(r, c) ? std::to_string(((across - r) % 3 + 3) % 3) + " " : "-1 ";
        }
    file.setString("field.field", flowers);
    file.setInt("game.m_lives", 0);
    file.setInt("field.score", score);
    return file;
}

// Writes lostGame(score) as the saved game; false when there is no display.
bool saveLostGame(int score)
{
    KeyValueFile lost;
    {
        GameRun setup;
        if (!setup.available())
            return false;
        lost = lostGame(score);
    }
    return lost.save(MainWindow::kSavedGameFile, MainWindow::kSavedGameKey,
                     MainWindow::kSavedGameKeyLength);
}

// Continues the saved lost game and clicks through its results until the name dialog is open.
void continueToTheNameDialog(GameRun& run)
{
    ASSERT_NE(run.main().game(), nullptr);
    GameWindow& game = *run.main().game();
    run.click(run.main().button("m_game_btn"));
    ContinueDialog* dialog = run.main().continueDialog();
    ASSERT_NE(dialog, nullptr);
    run.click(*dialog->controls()[0], dialog->positionX(), dialog->positionY());
    ASSERT_EQ(run.front(), &game);
    ASSERT_TRUE(run.driver().runUntil([&] { return game.field()->finished(); }));
    ASSERT_FALSE(game.field()->succeeded());
    run.driver().runFrames(60);
    run.shot("level_lost");
    for (int i = 0; i < 20 && run.app().dialogs().empty(); ++i) {
        run.driver().click(400, 300);
        run.driver().runFrames(30);
    }
    ASSERT_EQ(run.app().dialogs().size(), 1u) << "no name dialog";
    ASSERT_NE(dynamic_cast<NameDialog*>(run.top()), nullptr);
}

TEST(EndToEnd, ALostGameWithAQualifyingScoreAsksForTheNameAndShowsItInTheTable)
{
    GameFolder folder;
    if (!saveLostGame(5000))
        GTEST_SKIP() << "no display with OpenGL";
    GameRun run;
    REQUIRE_GAME(run);
    ASSERT_NE(run.main().game(), nullptr);
    GameWindow& game = *run.main().game();
    continueToTheNameDialog(run);
    if (HasFatalFailure())
        return;
    auto* nameDialog = dynamic_cast<NameDialog*>(run.top());
    ASSERT_NE(nameDialog, nullptr);
    EXPECT_EQ(nameDialog->scoreText(), "A new high score : " + std::to_string(game.totalScore()));
    run.driver().type("Tester \"Q\"");
    run.driver().runFrames(30);
    run.shot("name_dialog");
    // The score line between the title and the name box, light on the dark dialog.
    EXPECT_GT(run.driver().countPixels({260, 244, 540, 266}, light), 150);
    run.press(VirtualKey::Enter);
    ASSERT_TRUE(run.driver().runUntil([&] { return run.main().highScoreScreen() != nullptr; }));
    EXPECT_EQ(run.front(), run.main().highScoreScreen());
    EXPECT_EQ(run.main().game(), nullptr);
    EXPECT_EQ(run.main().highScores().entry(0, 0).name, "Tester 'Q'");
    EXPECT_GE(run.main().highScores().entry(0, 0).points, 5000);
    // On disk already, and the ended game with it: a kill now loses neither.
    EXPECT_EQ(readScrambled(HighScoreTable::kFileName, HighScoreTable::kKey,
                            HighScoreTable::kKeyLength)
                  .getString("top7.rec_name000000", ""),
              "Tester 'Q'");
    EXPECT_FALSE(savedGame().contains("game.m_level"));
    EXPECT_EQ(run.main().highScoreScreen()->newRow(), 0);
    EXPECT_FALSE(run.main().highScoreScreen()->nextButton().isEnabled())
        << "no empty second page is offered";
    run.driver().runFrames(2);
    run.shot("high_scores");
    EXPECT_GT(run.driver().countPixels({230, 176, 620, 204}, gold), 150) << "the new entry in gold";
    EXPECT_LT(run.driver().countPixels({230, 216, 620, 244}, gold), 20)
        << "the rows below in white";
    run.press(VirtualKey::Escape);
    EXPECT_EQ(run.front(), &run.main());
    run.click(run.main().button("m_top_btn"));
    ASSERT_NE(run.main().highScoreScreen(), nullptr);
    EXPECT_EQ(run.main().highScoreScreen()->newRow(), HighScoreTable::kNoRow)
        << "only the table shown right after the game marks the entry";
}

// Ends the program from the name dialog with `typed` in its box; returns the
// game's score. `close` asks for the end the way the player does.
int closeDuringTheNameDialog(const std::string& typed, const std::function<void(GameRun&)>& close)
{
    int score = -1;
    if (!saveLostGame(5000))
        return score;
    GameRun run;
    if (!run.available())
        return score;
    continueToTheNameDialog(run);
    if (::testing::Test::HasFatalFailure())
        return score;
    score = run.main().game()->totalScore();
    run.driver().type(typed);
    run.driver().runFrames(2);
    close(run);
    EXPECT_TRUE(run.driver().runUntil([&] { return run.app().hasQuit(); }));
    run.end();
    EXPECT_FALSE(savedGame().contains("game.m_level")) << "a finished game is not saved";
    return score;
}

// The saved table, fresh before the game, holds the game's entry once, on top.
void expectOnlyEntryOnDisk(const std::string& name, int score)
{
    const KeyValueFile table =
        readScrambled(HighScoreTable::kFileName, HighScoreTable::kKey, HighScoreTable::kKeyLength);
    EXPECT_EQ(table.getString("top7.rec_name000000", ""), name);
    EXPECT_EQ(table.getInt("top7.rec_points000000", 0), score);
    EXPECT_EQ(table.getInt("top7.rec_points000001", -1), 0) << "entered once";
}

TEST(EndToEnd, ClosingTheWindowDuringTheNameDialogKeepsTheScoreUnderTheTypedName)
{
    GameFolder folder;
    const int score = closeDuringTheNameDialog("Late Quitter", [](GameRun& run) {
        run.driver().requestClose();
    });
    if (HasFatalFailure())
        return;
    if (score < 0)
        GTEST_SKIP() << "no display with OpenGL";
    expectOnlyEntryOnDisk("Late Quitter", score);
    GameRun again;
    REQUIRE_GAME(again);
    EXPECT_EQ(again.main().highScores().entry(0, 0).name, "Late Quitter") << "the table is read at start";
}

TEST(EndToEnd, AltF4DuringAnEmptyNameDialogKeepsTheScoreUnderTheDefaultName)
{
    GameFolder folder;
    const int score = closeDuringTheNameDialog("", [](GameRun& run) {
        run.driver().keyDown(VirtualKey::Alt);
        run.driver().keyDown(VirtualKey::F4);
    });
    if (HasFatalFailure())
        return;
    if (score < 0)
        GTEST_SKIP() << "no display with OpenGL";
    expectOnlyEntryOnDisk("Nemo", score);
}

TEST(EndToEnd, OptionsTakeEffectAndSurviveARestart)
{
    GameFolder folder;
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
    EXPECT_EQ(readScrambled(Config::kFileName, Config::kKey, Config::kKeyLength)
                  .getInt("m_level", -1),
              4);
}

TEST(EndToEnd, TheWebSiteButtonsOpenThePageAndMinimise)
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
    EXPECT_EQ(page.lexically_relative(folder.path()), "doc/manual.html");
    EXPECT_EQ(run.front(), &run.main());
}

// Enter on the main menu minimises; without a window manager nobody carries
// that out and the game goes on.
TEST(EndToEnd, EnterOnTheMainMenuMinimisesAndStartsNoGame)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    int width = 0, height = 0;
    const std::vector<std::uint8_t> menu = run.driver().capture(width, height);
    run.press(VirtualKey::Enter);
    ASSERT_EQ(run.app().minimizeRequests(), 1);
    EXPECT_EQ(run.main().game(), nullptr);
    if (run.app().isMinimized())
        GTEST_SKIP() << "a window manager minimised the window";
    run.click(run.main().button("m_options_btn"));
    ASSERT_TRUE(run.driver().runUntil([&] { return run.front() == run.main().optionsScreen(); }));
    run.driver().runFrames(1);
    EXPECT_NE(run.driver().capture(width, height), menu) << "the options screen is not drawn";

    run.driver().minimizedByUser();
    EXPECT_TRUE(run.app().isMinimized());
    run.driver().restoredByUser();
    EXPECT_FALSE(run.app().isMinimized());
}
