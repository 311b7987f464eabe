// SPDX-License-Identifier: GPL-3.0-or-later
#include "InstallScratch.h"
#include "InstalledProgram.h"
#include "NestedWeston.h"
#include "driver/OwnDisplay.h"

#include "app/Config.h"
#include "board/Field.h"
#include "board/HexGrid.h"
#include "board/LevelFile.h"
#include "board/LevelSet.h"
#include "screens/MainWindow.h"
#include "utils/FilePack.h"
#include "utils/KeyValueFile.h"
#include "utils/PlayerFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Where the main menu's New game and the continue dialog's buttons stand (their
// layouts), with a step into the button.
constexpr float kNewGameX = 280 + 40, kNewGameY = 200 + 20;
constexpr float kContinueX = 144 + 136 + 40, kContinueY = 44 + 296 + 20;
constexpr float kQuitX = 280 + 40, kQuitY = 464 + 20;
constexpr float kOptionsX = 280 + 40, kOptionsY = 398 + 20;
// The options screen's full-screen box and Back button.
constexpr float kFullScreenBoxX = 250 + 12, kFullScreenBoxY = 306 + 12;
constexpr float kBackX = 320 + 40, kBackY = 520 + 20;
// Open sky beside the main menu's title; a spot of the New game button that
// the continue dialog covers with its dark panel.
constexpr float kSkyX = 660, kSkyY = 150;
constexpr float kDialogX = 300, kDialogY = 215;

struct Move {
    GridPos from;
    GridPos to;
    Vec4 fromAt;
    Vec4 toAt;
};

bool announcedAt(const Field& field, const Vec4& at)
{
    for (const auto& flower : field.newCells())
        if (std::fabs(flower->position().x - at.x) < 2 &&
            std::fabs(flower->position().y - at.y) < 2)
            return true;
    return false;
}

// A flower with a free neighbour of the same kind of cell, no flower announced
// there, and not up and left of it, where the drawn pointer would cover the
// flower's cell after the click.
bool findMove(const Field& field, Move& move)
{
    for (int r = 0; r < field.rows(); ++r)
        for (int c = 0; c < field.rowLength(r); ++c) {
            const CellBack* back = field.cellBackAt(r, c);
            if (field.flowerAt(r, c) == nullptr || back == nullptr ||
                back->type() == CellType::Locked)
                continue;
            for (Direction d : {Direction::East, Direction::SouthEast, Direction::SouthWest}) {
                const GridPos to = step({r, c}, d, field.middleRow());
                if (!field.isCell(to) || field.flowerAt(to.row, to.col) != nullptr ||
                    field.cellBackAt(to.row, to.col)->type() != back->type())
                    continue;
                move = {{r, c}, to, field.cellCentre(r, c), field.cellCentre(to.row, to.col)};
                if (!announcedAt(field, move.toAt))
                    return true;
            }
        }
    return false;
}

// A game on level 1 left in the player's data folder, as an earlier run leaves it.
class SavedGame {
public:
    explicit SavedGame(const InstallScratch& scratch)
    {
        FilePack& pack = createPack("main");
        pack.setKey(kMainPackKey);
        pack.load((scratch.prefix() / "share/vellomar/data/data.pk").string());
        m_field = std::make_unique<Field>(LevelFile::load(1), 1, true, 2026, m_events);
        destroyPack("main");
        m_file.setString("menudata.gamename", "mondel game");
        m_file.setInt("game.m_level", 1);
        m_file.setInt("game.m_lives", 3);
        m_file.setInt("game.m_levelSet", kLevelSetVersion);
        m_field->save(m_file);
        m_path = scratch.data() / "vellomar" / "saved.dat";
    }

    bool write() const
    {
        return PlayerFile::save(m_file, m_path.string(), MainWindow::kSavedGameKey,
                                MainWindow::kSavedGameKeyLength);
    }
    KeyValueFile readBack() const
    {
        KeyValueFile file;
        file.loadFromDisk(m_path.string(), true, MainWindow::kSavedGameKey,
                          MainWindow::kSavedGameKeyLength);
        return file;
    }
    const Field& field() const { return *m_field; }
    const KeyValueFile& file() const { return m_file; }

private:
    FieldListener m_events;
    std::unique_ptr<Field> m_field;
    KeyValueFile m_file;
    fs::path m_path;
};

// Clicks the flower and its target once the board is at rest: its target
// cell still for half a second (the continue dialog fading and the board's
// opening animation change it; flowers themselves never stand still). Then
// waits a little for the flower to walk, which cannot be told from the
// selection ring and sparkles for sure: callers check what was saved.
bool playMove(const InstalledProgram& game, const Move& move)
{
    // Up and left of the cell's middle: inside the flower, clear of the pointer.
    const auto cell = [&](const Vec4& at) { return game.pixels(at.x - 9, at.y - 9, 6); };
    auto empty = cell(move.toAt);
    int still = 0;
    const bool rest = InstalledProgram::waitUntil(
        [&] {
            const auto now = cell(move.toAt);
            still = InstalledProgram::difference(now, empty) <= 8 ? still + 1 : 0;
            empty = now;
            return still >= 10;
        },
        std::chrono::seconds(120));
    if (!rest)
        return false;
    const auto flower = cell(move.fromAt);
    game.click(move.fromAt.x, move.fromAt.y);
    game.click(move.toAt.x, move.toAt.y);
    InstalledProgram::waitUntil(
        [&] { return InstalledProgram::difference(cell(move.fromAt), flower) > 70; },
        std::chrono::seconds(3));
    return true;
}

// The settings of an earlier run: no first-run hint over the board, and no
// dragons flying over the menus, so a still menu is a finished one.
bool writeConfig(const fs::path& path, bool fullScreen = true)
{
    Config config;
    config.m_musicVolume = 33;
    config.m_hints = false;
    config.m_showDragons = false;
    ConfigSaveState state;
    state.fullScreen = fullScreen;
    config.save(path.string(), state);
    return fs::exists(path);
}

// Waits for the main menu, opens the saved game from the continue dialog and
// plays the move; screenshots named after
// the step.
testing::AssertionResult continueAndMove(InstalledProgram& game, const Move& move,
                                         const std::string& shots)
{
    if (!game.waitForWindow())
        return testing::AssertionFailure() << "no window";
    if (!game.waitForPointer(kSkyX, kSkyY))
        return testing::AssertionFailure() << "no main menu";
    // The saved game is offered: continue it.
    auto menu = game.pixels(kDialogX, kDialogY, 6);
    const bool still = InstalledProgram::waitUntil(
        [&] {
            const auto before = menu;
            menu = game.pixels(kDialogX, kDialogY, 6);
            return InstalledProgram::difference(menu, before) < 4;
        },
        std::chrono::seconds(60));
    if (!still)
        return testing::AssertionFailure() << "the main menu never stood still";
    game.click(kNewGameX, kNewGameY);
    const bool dialog = InstalledProgram::waitUntil(
        [&] { return InstalledProgram::difference(game.pixels(kDialogX, kDialogY, 6), menu) > 30; },
        std::chrono::seconds(60));
    game.screenshot(std::string(VM_SCREENSHOT_DIR) + "/" + shots + "_continue.png");
    if (!dialog)
        return testing::AssertionFailure() << "no continue dialog";
    game.click(kContinueX, kContinueY);
    const bool moved = playMove(game, move);
    game.screenshot(std::string(VM_SCREENSHOT_DIR) + "/" + shots + "_after_move.png");
    if (!moved)
        return testing::AssertionFailure() << "the flower at " << move.fromAt.x << ", "
                                           << move.fromAt.y << " did not leave its cell";
    return testing::AssertionSuccess();
}

// The game as played is in the saved game the player's data folder holds now
// (the same level, with time played on it), beside the scores; the settings
// were read from the configuration folder and written back there.
void expectPlayedGameSaved(const InstallScratch& scratch, const SavedGame& saved,
                           const fs::path& configFile, fs::file_time_type configTime)
{
    const KeyValueFile after = saved.readBack();
    EXPECT_EQ(after.getInt("game.m_level", -1), 1);
    EXPECT_GT(after.getInt("field.m_statTimeOnLevel", 0), 0);
    EXPECT_TRUE(fs::exists(scratch.data() / "vellomar" / "top7.tbl"));
    KeyValueFile config;
    ASSERT_TRUE(config.loadFromDisk(configFile.string(), true, Config::kKey, Config::kKeyLength));
    EXPECT_EQ(config.getInt("m_music_volume", -1), 33);
    EXPECT_NE(fs::last_write_time(configFile), configTime);
}

std::string at(int x, int y)
{
    return std::to_string(x) + " " + std::to_string(y);
}

} // namespace

// The game plays from any folder, keeps the player's files in the XDG folders
// and saves them all when the display goes away under it.
TEST(InstalledGame, ALostDisplaySavesTheGameTheScoresAndTheSettingsInTheXdgFolders)
{
    InstallScratch scratch;
    ASSERT_TRUE(scratch.install()) << InstallScratch::read(scratch.file("install.log"));
    const auto installed = InstallScratch::snapshot(scratch.stage());
    const SavedGame saved(scratch);
    ASSERT_TRUE(saved.write());
    const fs::path configFile = scratch.config() / "vellomar" / "dx.cfg";
    ASSERT_TRUE(writeConfig(configFile));
    const auto configTime = fs::last_write_time(configFile);
    Move move;
    ASSERT_TRUE(findMove(saved.field(), move));
    OwnDisplay display;
    ASSERT_TRUE(display.up()) << "no Xvfb";

    InstalledProgram game(scratch);
    ASSERT_TRUE(game.start());
    ASSERT_TRUE(continueAndMove(game, move, "lost_display"))
        << InstallScratch::read(scratch.file("program.out"));
    // Desktops match the window to its entry by the entry's id.
    EXPECT_NE(InstallScratch::output("xprop -id " + game.window() + " WM_CLASS")
                  .find("\"org.vellomar.Vellomar\", \"org.vellomar.Vellomar\""),
              std::string::npos);
    display.end();
    int code = -1;
    ASSERT_TRUE(game.waitForExit(code)) << "the game outlived its display";
    const std::string output = InstallScratch::read(scratch.file("program.out"));
    EXPECT_EQ(code, 1) << output;
    EXPECT_NE(output.find("connection to the display was lost"), std::string::npos) << output;

    expectPlayedGameSaved(scratch, saved, configFile, configTime);
    const std::string log = InstallScratch::read(scratch.state() / "vellomar" / "game.log");
    EXPECT_NE(log.find("The display was lost"), std::string::npos) << log;
    EXPECT_NE(log.find("Renderer:"), std::string::npos) << log;
    // Every sound was found in the share folder.
    EXPECT_EQ(log.find("Failure creating"), std::string::npos) << log;
    // Nothing was written into the install tree, the working folder or the home.
    EXPECT_EQ(InstallScratch::snapshot(scratch.stage()), installed);
    EXPECT_TRUE(fs::is_empty(scratch.elsewhere()));
    EXPECT_TRUE(fs::is_empty(scratch.home()));
}

// A second start on the same player's files leaves the first copy's files
// and log alone; a copy killed outright leaves nothing that blocks the next,
// and a hang-up closes the game as its close button does.
TEST(InstalledGame, OneCopyAtATimeOnThePlayersFilesAndAHangUpClosesTheGame)
{
    InstallScratch scratch;
    ASSERT_TRUE(scratch.install()) << InstallScratch::read(scratch.file("install.log"));
    const fs::path configFile = scratch.config() / "vellomar" / "dx.cfg";
    ASSERT_TRUE(writeConfig(configFile));
    OwnDisplay display;
    ASSERT_TRUE(display.up()) << "no Xvfb";
    const fs::path logFile = scratch.state() / "vellomar" / "game.log";

    auto first = std::make_unique<InstalledProgram>(scratch);
    ASSERT_TRUE(first->start());
    ASSERT_TRUE(first->waitForWindow()) << InstallScratch::read(scratch.file("program.out"));
    const std::string firstLog = InstallScratch::read(logFile);
    const auto files = InstallScratch::snapshot(scratch.data());
    const auto settings = InstallScratch::snapshot(scratch.config());
    {
        // No display: the message goes to standard error only.
        const std::string said = InstallScratch::output(
            "cd '" + scratch.elsewhere().string() + "' && env -u DISPLAY HOME='" +
            scratch.home().string() + "' XDG_CONFIG_HOME='" + scratch.config().string() +
            "' XDG_DATA_HOME='" + scratch.data().string() + "' XDG_STATE_HOME='" +
            scratch.state().string() + "' '" + (scratch.prefix() / "games/vellomar").string() +
            "' 2>&1; echo \"exit $?\"");
        EXPECT_NE(said.find("Vellomar is already running."), std::string::npos) << said;
        EXPECT_NE(said.find("exit 1"), std::string::npos) << said;
    }
    EXPECT_EQ(InstallScratch::read(logFile).rfind(firstLog, 0), 0u) << "the log was emptied";
    EXPECT_EQ(InstallScratch::snapshot(scratch.data()), files);
    EXPECT_EQ(InstallScratch::snapshot(scratch.config()), settings);

    first.reset(); // killed outright
    const auto configTime = fs::last_write_time(configFile);
    InstalledProgram next(scratch);
    ASSERT_TRUE(next.start());
    ASSERT_TRUE(next.waitForWindow()) << InstallScratch::read(scratch.file("program.out"));
    ASSERT_TRUE(next.waitForPointer(kSkyX, kSkyY)) << "no main menu";
    ASSERT_TRUE(next.signal(SIGHUP));
    int code = -1;
    ASSERT_TRUE(next.waitForExit(code)) << "the game did not close";
    EXPECT_EQ(code, 0) << InstallScratch::read(scratch.file("program.out"));
    EXPECT_NE(fs::last_write_time(configFile), configTime);
    EXPECT_TRUE(fs::exists(scratch.data() / "vellomar" / "top7.tbl"));
    EXPECT_TRUE(fs::exists(scratch.data() / "vellomar" / "saved.dat"));
    const std::string log = InstallScratch::read(logFile);
    EXPECT_NE(log.find("Closing Log"), std::string::npos) << log;
}

// SDL's own Wayland driver, as players get it on a Wayland desktop: the
// borderless window moves when dragged by its background, the pointer the
// game draws stays where the system's is after a change to full screen, so a
// click lands on the button under it, and the game quits cleanly.
TEST(InstalledGame, RunsAsANativeWaylandClient)
{
    InstallScratch scratch;
    ASSERT_TRUE(scratch.install()) << InstallScratch::read(scratch.file("install.log"));
    ASSERT_TRUE(writeConfig(scratch.config() / "vellomar" / "dx.cfg", false)); // no dragons
    OwnDisplay display("1100x800x24"); // room beside the desktop
    ASSERT_TRUE(display.up()) << "no Xvfb";
    const NestedWeston weston(scratch.file("wayland"));
    if (!weston.up())
        GTEST_SKIP() << "weston could not start nested in Xvfb: " << weston.log();
    InstalledProgram game(scratch);
    ASSERT_TRUE(game.start(weston.clientEnvironment()));
    const auto output = [&] { return InstallScratch::read(scratch.file("program.out")); };
    const auto shot = [&](const std::string& name) {
        game.screenshot(std::string(VM_SCREENSHOT_DIR) + "/wayland_" + name + ".png");
    };
    // Windowed the logical screen is drawn at its size from the window's corner
    // (where the desktop put it); full screen it is magnified 1.28 times.
    NestedWeston::Rect window;
    const auto point = [&](float x, float y) {
        const float scale = float(window.width) / 800.0f;
        return std::pair{window.left + int(x * scale), window.top + int(y * scale)};
    };
    const auto move = [&](float x, float y, const std::string& then = "") {
        const auto [px, py] = point(x, y);
        NestedWeston::pointer("mousemove " + at(px, py) + then);
    };
    // Below and right of a point, where the drawn pointer hangs.
    const auto spot = [&](float x, float y) {
        const auto [px, py] = point(x, y);
        return NestedWeston::pixels(px + 4, py + 4, 6);
    };
    const auto windowBecomes = [&](int width, int height) {
        return InstalledProgram::waitUntil(
            [&] {
                window = NestedWeston::windowRect();
                return window.width == width && window.height == height;
            },
            std::chrono::seconds(60));
    };
    // The drawn pointer shows at a point once it is moved there.
    const auto pointerShows = [&](float x, float y) {
        const auto before = spot(x, y);
        move(x, y);
        return InstalledProgram::waitUntil(
            [&] { return InstalledProgram::difference(spot(x, y), before) > 30; },
            std::chrono::seconds(1));
    };
    ASSERT_TRUE(windowBecomes(800, 600)) << output();
    // The main menu is up once the game draws its own pointer where the
    // system's is. Each try comes in from beside the desktop (its X window
    // may have appeared under a resting pointer and not know it is there)
    // and clicks the sky (a window the desktop did not activate stands still).
    const bool menuUp = InstalledProgram::waitUntil(
        [&] {
            NestedWeston::pointer("mousemove " + at(NestedWeston::kWidth + 20, 20));
            move(kSkyX + 20, kSkyY, " click 1");
            return pointerShows(kSkyX, kSkyY);
        },
        std::chrono::seconds(60));
    shot("main_menu");
    ASSERT_TRUE(menuUp) << "no drawn pointer on the main menu";

    // Dragged by the open sky of the main menu. The desktop starts the move
    // once the game has answered the press, then follows the pointer: it is
    // moved until the window has come along.
    const NestedWeston::Rect before = window;
    const int dx = before.left > 100 ? -60 : 60, dy = before.top > 80 ? -40 : 40;
    const auto [fromX, fromY] = point(kSkyX, kSkyY);
    NestedWeston::pointer("mousemove " + at(fromX, fromY) + " mousedown 1");
    const bool dragged = InstalledProgram::waitUntil(
        [&] {
            NestedWeston::pointer("mousemove " + at(fromX + dx, fromY + dy + 1) + " mousemove " +
                                  at(fromX + dx, fromY + dy));
            window = NestedWeston::windowRect();
            return window.left == before.left + dx && window.top == before.top + dy;
        },
        std::chrono::seconds(30));
    NestedWeston::pointer("mouseup 1");
    shot("dragged");
    EXPECT_TRUE(dragged) << "the window stayed at " << window.left << ", " << window.top;
    ASSERT_TRUE(windowBecomes(800, 600)) << window.width << " x " << window.height;

    // Options, then full screen, then the Back button under the drawn pointer.
    // The middle of the screen: buttons on the menu, labels on the options.
    const auto middle = [&] {
        const auto [px, py] = point(300, 250);
        return NestedWeston::pixels(px, py, 100);
    };
    const auto menu = middle();
    move(kOptionsX, kOptionsY, " click 1");
    const bool options = InstalledProgram::waitUntil(
        [&] { return InstalledProgram::difference(middle(), menu) > 30; },
        std::chrono::seconds(60));
    shot("options");
    ASSERT_TRUE(options) << "no options screen";
    move(kFullScreenBoxX, kFullScreenBoxY, " click 1");
    ASSERT_TRUE(windowBecomes(1024, 768)) << "the game stayed in its window";
    const bool drawnThere = InstalledProgram::waitUntil(
        [&] { return pointerShows(kBackX, kBackY) || pointerShows(kBackX, kBackY + 10); },
        std::chrono::seconds(30));
    shot("pointer_on_back");
    ASSERT_TRUE(drawnThere) << "the drawn pointer is not where the system's is";
    const auto optionsMiddle = middle();
    NestedWeston::pointer("click 1");
    ASSERT_TRUE(InstalledProgram::waitUntil(
        [&] { return InstalledProgram::difference(middle(), optionsMiddle) > 30; },
        std::chrono::seconds(60)))
        << "the click did not reach the Back button";
    move(kQuitX, kQuitY, " click 1");
    int code = -1;
    ASSERT_TRUE(game.waitForExit(code)) << "the game did not quit";
    EXPECT_EQ(code, 0) << output();
    const std::string log = InstallScratch::read(scratch.state() / "vellomar" / "game.log");
    EXPECT_NE(log.find("Closing Log"), std::string::npos) << log;
}
