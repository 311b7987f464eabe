#include "InstallScratch.h"
#include "InstalledProgram.h"

#include "app/Config.h"
#include "app/PlayerFile.h"
#include "board/Field.h"
#include "board/HexGrid.h"
#include "board/LevelFile.h"
#include "screens/MainWindow.h"
#include "utils/FilePack.h"
#include "utils/KeyValueFile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// Where the main menu's and the continue dialog's buttons stand (their
// layouts), with a step into the button.
constexpr float kNewGameX = 280 + 40, kNewGameY = 200 + 20;
constexpr float kContinueX = 144 + 136 + 40, kContinueY = 44 + 296 + 20;
constexpr float kQuitX = 280 + 40, kQuitY = 464 + 20;
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

int positionIndex(const Field& field, GridPos p)
{
    int index = p.col;
    for (int r = 0; r < p.row; ++r)
        index += field.rowLength(r);
    return index;
}

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
        FilePack* pack = createPack("main");
        pack->setKey(kMainPackKey);
        pack->load((scratch.prefix() / "share/vellomar/data/data.pk").string());
        m_field = std::make_unique<Field>(LevelFile::load(1), 1, true, 2026);
        destroyPack("main");
        m_file.setString("menudata.gamename", "mondel game");
        m_file.setInt("game.m_level", 1);
        m_file.setInt("game.m_lives", 3);
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
    std::unique_ptr<Field> m_field;
    KeyValueFile m_file;
    fs::path m_path;
};

std::string token(const std::string& list, int index)
{
    std::istringstream in(list);
    std::string word;
    for (int i = 0; i <= index && in >> word; ++i) {
    }
    return word;
}

// Clicks the flower and its target until the flower has walked: the board
// ignores clicks while it lays itself out, and the pointer moves only on
// clicks. Each try waits for the target cell to stand still first.
bool playMove(const InstalledProgram& game, const Move& move)
{
    // Up and left of the cell's middle: inside the flower, clear of the pointer.
    const auto cell = [&](const Vec4& at) { return game.pixels(at.x - 9, at.y - 9, 6); };
    const auto differ = [](const auto& a, const auto& b) {
        return InstalledProgram::difference(a, b) > 20;
    };
    return InstalledProgram::waitUntil(
        [&] {
            const auto flower = cell(move.fromAt);
            const auto empty = cell(move.toAt);
            if (InstalledProgram::difference(cell(move.toAt), empty) > 8 || !differ(flower, empty))
                return false;
            game.click(move.fromAt.x, move.fromAt.y);
            game.click(move.toAt.x, move.toAt.y);
            // The selection ring and sparkles change both cells before the
            // flower walks: the move is made once each cell looks like the other did.
            const auto nearer = [](const auto& patch, const auto& like, const auto& unlike) {
                return InstalledProgram::difference(patch, like) <
                       InstalledProgram::difference(patch, unlike);
            };
            return InstalledProgram::waitUntil(
                [&] {
                    return nearer(cell(move.fromAt), empty, flower) &&
                           nearer(cell(move.toAt), flower, empty);
                },
                std::chrono::seconds(3));
        },
        std::chrono::seconds(120));
}

// The settings of an earlier run: no first-run hint over the board, and no
// dragons flying over the menus, so a still menu is a finished one.
bool writeConfig(const fs::path& path)
{
    Config config;
    config.m_musicVolume = 33;
    config.m_hints = false;
    config.m_showDragons = false;
    ConfigSaveState state;
    state.fullScreen = true;
    config.save(path.string(), state);
    return fs::exists(path);
}

} // namespace

TEST(InstalledGame, PlaysFromAnyFolderAndKeepsThePlayersFilesInTheXdgFolders)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no display";
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

    InstalledProgram game(scratch);
    ASSERT_TRUE(game.start());
    ASSERT_TRUE(game.waitForWindow()) << InstallScratch::read(scratch.file("program.out"));
    ASSERT_TRUE(game.waitForPointer(kSkyX, kSkyY)) << "no main menu";
    // The saved game is offered: continue it.
    auto menu = game.pixels(kDialogX, kDialogY, 6);
    ASSERT_TRUE(InstalledProgram::waitUntil(
        [&] {
            const auto before = menu;
            menu = game.pixels(kDialogX, kDialogY, 6);
            return InstalledProgram::difference(menu, before) < 4;
        },
        std::chrono::seconds(60)));
    game.click(kNewGameX, kNewGameY);
    const bool dialog = InstalledProgram::waitUntil(
        [&] { return InstalledProgram::difference(game.pixels(kDialogX, kDialogY, 6), menu) > 30; },
        std::chrono::seconds(60));
    game.screenshot(std::string(VM_SCREENSHOT_DIR) + "/installed_game_continue.png");
    ASSERT_TRUE(dialog) << "no continue dialog";
    game.click(kContinueX, kContinueY);
    const bool moved = playMove(game, move);
    game.screenshot(std::string(VM_SCREENSHOT_DIR) + "/installed_game_after_move.png");
    ASSERT_TRUE(moved) << "the flower at " << move.fromAt.x << ", " << move.fromAt.y
                       << " did not leave its cell";
    game.key("Escape");
    game.click(kQuitX, kQuitY);
    int code = -1;
    ASSERT_TRUE(game.waitForExit(code)) << "the game did not quit";
    EXPECT_EQ(code, 0) << InstallScratch::read(scratch.file("program.out"));

    // The move is in the saved game the player's data folder holds now.
    const KeyValueFile after = saved.readBack();
    EXPECT_EQ(after.getInt("game.m_level", -1), 1);
    const std::string flowers = after.getString("field.field", "");
    EXPECT_NE(flowers, saved.file().getString("field.field", ""));
    EXPECT_EQ(token(flowers, positionIndex(saved.field(), move.from)), "-1") << flowers;
    EXPECT_TRUE(fs::exists(scratch.data() / "vellomar" / "top7.tbl"));
    // The settings were read from the configuration folder and written back there.
    KeyValueFile config;
    ASSERT_TRUE(config.loadFromDisk(configFile.string(), true, Config::kKey, Config::kKeyLength));
    EXPECT_EQ(config.getInt("m_music_volume", -1), 33);
    EXPECT_NE(fs::last_write_time(configFile), configTime);
    const std::string log = InstallScratch::read(scratch.state() / "vellomar" / "game.log");
    EXPECT_NE(log.find("Renderer:"), std::string::npos) << log;
    EXPECT_NE(log.find("Closing Log"), std::string::npos) << log;
    // Every sound was found in the share folder.
    EXPECT_EQ(log.find("Failure creating"), std::string::npos) << log;

    // Nothing was written into the install tree, the working folder or the home.
    EXPECT_EQ(InstallScratch::snapshot(scratch.stage()), installed);
    EXPECT_TRUE(fs::is_empty(scratch.elsewhere()));
    EXPECT_TRUE(fs::is_empty(scratch.home()));
}
