// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "game/GameProgress.h"
#include "screens/HighScoreLink.h"
#include "screens/HighScoreTable.h"
#include "screens/MenuScreen.h"
#include "ui/MenuResources.h"

#include <memory>

class ContinueDialog;
class FilePack;
class GameWindow;
class HelpScreen;
class HighScoreScreen;
class KeyValueFile;
class LevelChoiceScreen;
class OptionsScreen;
struct PlayArt;

// The main menu and the hub of the game: the bottom screen for the whole run.
// It owns every menu screen, the menu resources, the high-score table and
// the game in progress, and decides what follows whenever a screen or
// dialog above it closes.
class MainWindow : public MenuScreen, private GameProgress {
public:
    static constexpr const char* kLayout = "mui/main_wnd.txt";
    static constexpr const char* kMenuTrack = "music/menu.xm";
    static constexpr const char* kSavedGameFile = "data/saved.dat";
    static constexpr const char* kSavedGameKey = "tuvorkelm&!*";
    static constexpr std::size_t kSavedGameKeyLength = 12;

    // art: the play-screen pictures for the level preview; may be null.
    // music: the playlist every menu and the play screen play; config: the
    // settings every menu shows and changes; neither owned.
    static std::unique_ptr<MainWindow> create(FilePack& pack, const PlayArt* art,
                                              MusicPlaylist& music, Config& config);
    MainWindow(std::unique_ptr<MenuResources> resources, const PlayArt* art, MusicPlaylist& music,
               Config& config);
    // Writes the high-score table.
    ~MainWindow() override;

    void onKeyDown(int virtualKey) override;
    void onControl(Control& control) override;
    void render() override;
    void activate() override;
    void onDialogClosed(Window& dialog, int result) override;
    void onScreenClosed(Window& screen) override;
    void onCloseRequest() override;

    // data/saved.dat at start-up; a file that does not restore leaves no game.
    void loadSavedGame();
    // data/saved.dat at exit, with the game in progress if there is one.
    void saveGame() const;
    // The settings (the highest level reached among them) and data/saved.dat
    // with the game as it now stands.
    void saveProgress() const;
    // data/top7.tbl, with a name the open name dialog holds entered.
    void saveHighScores();
    // The saved-game record, as saveGame writes it.
    void fillSavedGame(KeyValueFile& file) const;
    // A game restored from the record; false (and no game) when it does not load.
    bool restoreGame(const KeyValueFile& file);

    GameWindow* game() const { return m_game.get(); }
    const PlayArt* art() const { return m_art; }
    HighScoreTable& highScores() { return m_table; }
    MenuResources& resources() { return *m_ownedResources; }
    ContinueDialog* continueDialog() const { return m_continueDialog.get(); }
    LevelChoiceScreen* levelChoice() const { return m_levelChoice.get(); }
    HighScoreScreen* highScoreScreen() const { return m_highScoreScreen.get(); }
    OptionsScreen* optionsScreen() const { return m_options.get(); }
    HelpScreen* helpScreen() const { return m_help.get(); }
    Button& button(const std::string& layoutName) const;

private:
    void createButtons(const KeyValueFile& layout);
    void onNewGame();
    void showLevelChoice();
    void openWebSite();
    void minimiseProgram();
    void restartMenuMusic();
    void onGameClosed();
    void startChosenLevel();
    void gameProgressed(GameWindow& game) override;

    std::unique_ptr<MenuResources> m_ownedResources;
    const PlayArt* m_art;
    HighScoreTable m_table;
    HighScoreLink m_link;
    std::unique_ptr<GameWindow> m_game;
    std::unique_ptr<OptionsScreen> m_options;
    std::unique_ptr<HelpScreen> m_help;
    std::unique_ptr<HighScoreScreen> m_highScoreScreen;
    std::unique_ptr<LevelChoiceScreen> m_levelChoice;
    std::unique_ptr<ContinueDialog> m_continueDialog;
    std::vector<std::pair<std::string, Button*>> m_buttons;
};
