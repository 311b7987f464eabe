// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/MainWindow.h"

#include "app/Application.h"
#include "app/Config.h"
#include "audio/CSoundManager.h"
#include "audio/MusicPlaylist.h"
#include "board/Field.h"
#include "game/GameWindow.h"
#include "platform/WebBrowser.h"
#include "screens/ContinueDialog.h"
#include "screens/HelpScreen.h"
#include "screens/HighScoreScreen.h"
#include "screens/LevelChoiceScreen.h"
#include "screens/MenuDrawing.h"
#include "screens/OptionsScreen.h"
#include "ui/Button.h"
#include "ui/MenuCursor.h"
#include "utils/GameFolders.h"
#include "utils/KeyValueFile.h"
#include "utils/PlayerFile.h"

#include <GL/gl.h>

namespace {

struct ButtonPlace {
    const char* name;
    const char* image;
};

constexpr ButtonPlace kButtons[] = {
    {"m_game_btn", "m_new_game_btn"},
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
    {"m_mini_btn", "m_mini_btn"},
};

constexpr const char* kHiddenButtons[] = {"m_game_adv_btn", "m_game_custom_btn", "m_fullscreen_btn",
                                          "m_mini_btn"};

} // namespace

std::unique_ptr<MainWindow> MainWindow::create(FilePack& pack, const PlayArt* art,
                                               MusicPlaylist& music, Config& config)
{
    return std::make_unique<MainWindow>(std::make_unique<MenuResources>(pack), art, music, config);
}

MainWindow::MainWindow(std::unique_ptr<MenuResources> resources, const PlayArt* art,
                       MusicPlaylist& music, Config& config)
    : MenuScreen(*resources, 800.0f, 600.0f, DragonColours::ByIndex, music, config),
      m_ownedResources(std::move(resources)), m_art(art), m_link(m_table, *m_ownedResources, music)
{
    if (Application::exists()) {
        m_logicalWidth = float(Application::get().camera().logicalWidth());
        m_logicalHeight = float(Application::get().camera().logicalHeight());
    }
    createButtons(MenuResources::loadLayout(m_resources.pack(), kLayout));
    m_music.setVolume(config.m_musicVolume);
    if (CSoundManager::exists())
        CSoundManager::get().setEnabled(config.m_sound);
    m_table.loadFile(GameFolders::current().playerDataFile(HighScoreTable::kFileName));
    button("m_continue_btn").setEnabled(false);
    m_draggable = true;
}

MainWindow::~MainWindow()
{
    saveHighScores();
}

void MainWindow::saveHighScores()
{
    // The program may end with the name dialog still open: the score keeps its place.
    if (m_game != nullptr)
        m_game->recordEnteredName();
    m_table.saveFile(GameFolders::current().playerDataFile(HighScoreTable::kFileName));
}

void MainWindow::createButtons(const KeyValueFile& layout)
{
    for (const ButtonPlace& button : kButtons)
        m_buttons.emplace_back(button.name, &addButton(layout, button.name, button.image));
    for (const char* name : kHiddenButtons)
        button(name).setEnabled(false);
}

Button& MainWindow::button(const std::string& layoutName) const
{
    for (const auto& [name, button] : m_buttons)
        if (name == layoutName)
            return *button;
    return *m_buttons.front().second;
}

void MainWindow::onKeyDown(int virtualKey)
{
    const Config& config = m_config;
    if (virtualKey == config.m_backKey)
        onCloseRequest();
    else if (virtualKey == config.m_minimiseKey)
        minimiseProgram();
    MenuScreen::onKeyDown(virtualKey);
}

void MainWindow::minimiseProgram()
{
    m_music.stop();
    Application& application = Application::get();
    if (application.isFullScreen()) {
        application.leaveFullScreen();
        m_draggable = true;
    }
    application.minimize();
}

void MainWindow::onControl(Control& control)
{
    MenuScreen::onControl(control);
    if (&control == &button("m_game_btn")) {
        onNewGame();
    } else if (&control == &button("m_help_btn")) {
        m_help = std::make_unique<HelpScreen>(m_resources, m_logicalWidth, m_logicalHeight, m_music,
                                              m_config);
        Application::get().pushScreen(*m_help);
    } else if (&control == &button("m_top_btn")) {
        m_highScoreScreen = std::make_unique<HighScoreScreen>(
            m_resources, m_logicalWidth, m_logicalHeight, m_music, m_config, m_table);
        Application::get().pushScreen(*m_highScoreScreen);
    } else if (&control == &button("m_options_btn")) {
        m_options = std::make_unique<OptionsScreen>(m_resources, m_logicalWidth, m_logicalHeight,
                                                    m_music, m_config);
        Application::get().pushScreen(*m_options);
    } else if (&control == &button("m_quit_game_btn")) {
        onCloseRequest();
    } else if (&control == &button("m_zq_btn") || &control == &button("m_gift_btn")) {
        openWebSite();
    }
}

void MainWindow::onNewGame()
{
    if (m_game == nullptr) {
        showLevelChoice();
        return;
    }
    const Field* field = m_game->field();
    const int level = field != nullptr ? field->level() : 1;
    const int score = field != nullptr ? field->score() : m_game->totalScore();
    m_continueDialog = std::make_unique<ContinueDialog>(m_resources, m_music, level, score);
    m_continueDialog->setScreenSize(800, 600);
    m_continueDialog->setPosition(144.0f, 44.0f, 0.0f, 1.0f);
    m_continueDialog->setBackgroundSize(512, 512);
    Application::get().pushDialog(*m_continueDialog);
}

void MainWindow::showLevelChoice()
{
    if (m_levelChoice == nullptr)
        m_levelChoice = std::make_unique<LevelChoiceScreen>(
            m_resources, m_logicalWidth, m_logicalHeight, m_music, m_config, m_art);
    Application::get().pushScreen(*m_levelChoice);
}

void MainWindow::openWebSite()
{
    m_music.stop();
    Application::get().minimize();
    WebBrowser::open(m_resources.webAddress());
}

void MainWindow::render()
{
    glPushMatrix();
    drawBackdrop("m_main_window_back");
    button("m_continue_btn").setEnabled(false);
    Window::render();
    finishRender();
}

void MainWindow::activate()
{
    // The shell also activates the main menu right after it started a game
    // from onScreenClosed; the game in front keeps its own music and view.
    Window* front = Application::get().frontScreen();
    if (front != nullptr && front != this)
        return;
    MenuCursor::selectCurrent(CursorShape::Normal);
    MenuDrawing::setProjection(m_logicalWidth, m_logicalHeight);
    updateDraggable();
    MenuScreen::activate();
    MusicPlaylist& music = m_music;
    music.setTracks({kMenuTrack});
    if (!music.isPlaying())
        music.playNext(-1);
}

void MainWindow::restartMenuMusic()
{
    MusicPlaylist& music = m_music;
    music.setTracks({kMenuTrack});
    music.stop();
    music.playNext(-1);
}

void MainWindow::onDialogClosed(Window& dialog, int)
{
    if (&dialog != m_continueDialog.get())
        return;
    switch (m_continueDialog->choice()) {
    case ContinueChoice::ContinueSaved:
        if (m_game != nullptr)
            Application::get().pushScreen(*m_game);
        break;
    case ContinueChoice::StartNew:
        showLevelChoice();
        break;
    case ContinueChoice::Cancel:
        m_continueDialog.reset();
        break;
    }
}

void MainWindow::onScreenClosed(Window& screen)
{
    if (&screen == m_game.get()) {
        onGameClosed();
    } else if (&screen == m_options.get()) {
        m_options.reset();
        m_config.save();
    } else if (&screen == m_help.get()) {
        m_help.reset();
    } else if (&screen == m_highScoreScreen.get()) {
        m_highScoreScreen.reset();
    } else if (&screen == m_levelChoice.get() && m_levelChoice->isConfirmed()) {
        startChosenLevel();
    }
}

void MainWindow::onGameClosed()
{
    restartMenuMusic();
    if (!m_game->isGameOver())
        return;
    m_highScoreScreen.reset();
    const bool newRecord = m_game->isNameRecorded();
    m_game.reset();
    if (!newRecord)
        return;
    m_highScoreScreen =
        std::make_unique<HighScoreScreen>(m_resources, m_logicalWidth, m_logicalHeight, m_music,
                                          m_config, m_table, m_link.newestRow());
    Application::get().pushScreen(*m_highScoreScreen);
}

void MainWindow::startChosenLevel()
{
    m_game.reset();
    m_game =
        std::make_unique<GameWindow>(m_config, m_levelChoice->chosenIndex() + 1, &m_link, &m_music);
    m_game->setProgress(this);
    saveProgress();
    Application::get().pushScreen(*m_game);
}

void MainWindow::onCloseRequest()
{
    Application::get().postCloseMessage();
}

void MainWindow::loadSavedGame()
{
    KeyValueFile file;
    const std::string path = GameFolders::current().playerDataFile(kSavedGameFile);
    if (!file.loadFromDisk(path, true, kSavedGameKey, kSavedGameKeyLength))
        return;
    restoreGame(file);
}

bool MainWindow::restoreGame(const KeyValueFile& file)
{
    m_game.reset();
    auto game = std::make_unique<GameWindow>(m_config, 1, &m_link, &m_music);
    if (!game->load(file))
        return false;
    m_game = std::move(game);
    m_game->setProgress(this);
    return true;
}

void MainWindow::fillSavedGame(KeyValueFile& file) const
{
    file.setString("menudata.gamename", "mondel game");
    if (m_game != nullptr)
        m_game->save(file);
}

void MainWindow::saveGame() const
{
    KeyValueFile file;
    fillSavedGame(file);
    PlayerFile::save(file, GameFolders::current().playerDataFile(kSavedGameFile), kSavedGameKey,
                     kSavedGameKeyLength);
}

void MainWindow::saveProgress() const
{
    m_config.save();
    saveGame();
}

void MainWindow::gameProgressed(GameWindow&)
{
    saveProgress();
}
