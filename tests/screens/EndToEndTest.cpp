// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/GameRun.h"

#include "board/Field.h"
#include "game/GameWindow.h"
#include "game/LevelPlay.h"
#include "game/PlayArt.h"
#include "objects/ImagePrefetch.h"
#include "platform/VirtualKey.h"
#include "screens/ContinueDialog.h"
#include "screens/HighScoreScreen.h"
#include "screens/LevelChoiceScreen.h"
#include "screens/NameDialog.h"
#include "ui/EditBox.h"
#include "utils/FilePack.h"
#include "utils/KeyValueFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

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
        game.field()->setScore(1234);
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
    EXPECT_TRUE(run.app().loadWindowIcon(getPack("main"), GameStartup::kIconFile));
    EXPECT_EQ(ImagePrefetch::untakenCount(), 0u);
}

// A saved game at 0 lives whose board is full: the level is lost at once.
// Built while a run has the play-screen resources; written once it has ended,
// because its exit writes the saved game of its own.
KeyValueFile lostGame(int score)
{
    auto game = std::make_unique<GameWindow>(Config::get(), 1, nullptr);
    LevelPlay::fillBoard(*game->field());
    game->field()->setScore(score);
    KeyValueFile file;
    file.setString("menudata.gamename", "mondel game");
    game->save(file);
    file.setInt("game.m_lives", 0);
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
    run.driver().type("T\xc3\xabster \"Q\""); // "ë" from text input
    run.driver().runFrames(30);
    run.shot("name_dialog");
    // The score line between the title and the name box, light on the dark dialog.
    EXPECT_GT(run.driver().countPixels({260, 244, 540, 266}, light), 150);
    run.press(VirtualKey::Enter);
    ASSERT_TRUE(run.driver().runUntil([&] { return run.main().highScoreScreen() != nullptr; }));
    EXPECT_EQ(run.front(), run.main().highScoreScreen());
    EXPECT_EQ(run.main().game(), nullptr);
    EXPECT_EQ(run.main().highScores().entry(0, 0).name, "T\xc3\xabster 'Q'");
    EXPECT_GE(run.main().highScores().entry(0, 0).points, 5000);
    // On disk already: a kill now does not lose it.
    EXPECT_EQ(
        readScrambled(HighScoreTable::kFileName, HighScoreTable::kKey, HighScoreTable::kKeyLength)
            .getString("top7.rec_name000000", ""),
        "T\xc3\xabster 'Q'");
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

// Closing the window keeps the typed name; Alt+F4 with the box left empty, the default one.
TEST(EndToEnd, EndingTheProgramDuringTheNameDialogKeepsTheScoreUnderTheTypedOrDefaultName)
{
    {
        GameFolder folder;
        const int score = closeDuringTheNameDialog(
            "Late Quitter", [](GameRun& run) { run.driver().requestClose(); });
        if (HasFatalFailure())
            return;
        if (score < 0)
            GTEST_SKIP() << "no display with OpenGL";
        expectOnlyEntryOnDisk("Late Quitter", score);
        GameRun again;
        EXPECT_EQ(again.main().highScores().entry(0, 0).name, "Late Quitter")
            << "the table is read at start";
    }
    GameFolder folder;
    const int score = closeDuringTheNameDialog("", [](GameRun& run) {
        run.driver().keyDown(VirtualKey::Alt);
        run.driver().keyDown(VirtualKey::F4);
    });
    if (HasFatalFailure())
        return;
    expectOnlyEntryOnDisk("Nemo", score);
}
