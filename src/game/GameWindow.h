// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "board/CellCursor.h"
#include "board/Vec4.h"
#include "effects/FieldFeedback.h"
#include "game/BoardRenderer.h"
#include "game/NewElementNotice.h"
#include "game/PlayArt.h"
#include "ui/Window.h"

#include <cstdint>
#include <memory>
#include <vector>

class Button;
class Config;
class Dialog;
class Field;
class GameProgress;
class HighScores;
class HintOverlay;
class KeyValueFile;
class MusicPlaylist;
class Picker;

// What the player last steered with: the drawn pointer or the cell cursor.
enum class Aim { Pointer, Cursor };

// What became of a finished level.
enum class LevelOutcome { Playing, NextLevel, Replay, GameOver };

// The play screen: owns the board of the current level and its picker, keeps
// the lives and the score carried across levels, and decides what follows a
// finished level. The main menu creates it for a new game, keeps it for
// continue, and deletes it once isGameOver() reads true after it closed.
class GameWindow : public Window {
public:
    static constexpr int kStartLives = 3;
    static constexpr int kLastLevel = 100;

    // config (not owned): whether hints show, and the highest level reached.
    // highScores (not owned) may be null: a game over then just closes the screen.
    // music (not owned) may be null: the game is then played in silence.
    GameWindow(Config& config, int startLevel, HighScores* highScores,
               MusicPlaylist* music = nullptr);
    // With pictures other than the play-screen resources' (tests, tools), and
    // the board's sounds played elsewhere than through the sound manager.
    GameWindow(Config& config, int startLevel, HighScores* highScores, const PlayArt& art,
               FieldFeedback::SoundOutput sounds = FieldFeedback::soundManager(),
               MusicPlaylist* music = nullptr);
    ~GameWindow() override;

    // Hints take the move first, then the window's controls.
    void onMouseMove(int x, int y, std::uint32_t keys) override;
    // A release over another cell drops the carried flower there.
    void onLeftButtonUp(int x, int y, std::uint32_t keys) override;
    void onRightButtonUp(int x, int y, std::uint32_t keys) override;
    // Dismisses the hints, then the board's click (insect, exit sweep), then the picker.
    void onLeftButtonDown(int x, int y, std::uint32_t keys) override;
    // The arrows move the cell cursor, Space and Enter press on its cell as a
    // click would, X shoots the insect; the back key puts a carried flower
    // back, and with nothing carried returns to the main menu (the game
    // stays for continue), as the controller's menu button always does.
    void onKeyDown(int virtualKey) override;
    void onChar(char32_t charCode, std::uint16_t repeatCount) override;
    // The main-menu button returns to the main menu.
    void onControl(Control& control) override;
    // The picker, the hints, the board (only while no hint is open), the
    // music, the level end, then the particles and floating texts.
    void update(float dt) override;
    // The whole play screen: board, picker, hints, HUD, effects, results panel.
    void render() override;
    // The sparkles an update calls for are emitted by the first drawing after
    // it, so drawing the same frame again (a changed region) adds nothing.
    bool rendersStateOnly() const override { return true; }
    // Each time the screen comes to the front: the in-game play list from its
    // first track (not while the name dialog is open), and the cell cursor
    // shown when the keys or the controller lead.
    void activate() override;
    // Cancels the carried flower and the selection.
    void onRightButtonDown(int x, int y, std::uint32_t keys) override;
    // The name dialog closed: the score goes into the table, the screen closes.
    void onDialogClosed(Window& dialog, int result) override;
    void onScreenClosed(Window& screen) override;
    // While the name dialog is open: the score goes into the table under the
    // name typed so far. Once per game; the dialog stays open.
    void recordEnteredName();
    // Alt+F4: the program ends through the normal close path.
    void onCloseRequest() override;
    // The game's level, lives and board under the "game." and "field." keys.
    // A flower still walking arrives first, its turn played out.
    virtual bool save(KeyValueFile& file);
    // Rebuilds the board from the file; false leaves no game to continue.
    virtual bool load(const KeyValueFile& file);

    bool isGameOver() const { return m_gameOver; }
    bool isNameRecorded() const { return m_nameRecorded; }
    int lives() const { return m_lives; }
    int totalScore() const { return m_totalScore; }
    // Null only between a level's end and the next board.
    Field* field() const { return m_field.get(); }
    Picker* picker() const { return m_picker.get(); }
    const std::vector<std::unique_ptr<HintOverlay>>& hints() const { return m_hints; }
    const Button& mainMenuButton() const { return *m_mainMenuButton; }
    Dialog* nameDialog() const { return m_nameDialog.get(); }
    // What the last finished level led to (Playing until one has finished).
    LevelOutcome lastOutcome() const { return m_lastOutcome; }

    // Opens the first hint; the screen does it itself when hints are on or on a first run.
    void showHint(int index);
    // Replaces the board, as a new level or a saved game does, and raises the
    // highest level the player has reached.
    void startLevel(int level, int carriedScore);
    // Told from now on whenever a level begins or the game ends (not owned; may be null).
    void setProgress(GameProgress* progress) { m_progress = progress; }

    const CellCursor& cursor() const { return m_cursor; }
    Aim aim() const { return m_aim; }

    const PlayArt& art() const { return m_art; }
    const BoardRenderer& renderer() const { return m_renderer; }

private:
    Vec4 mousePosition() const;
    // Where the picker and the path preview look: the pointer or the cursor's cell.
    Vec4 aimPosition() const;
    void setAim(Aim aim);
    void pressAt(float x, float y);
    void moveCursor(CursorStep direction);
    void pressAtCursor();
    void shootInsect();
    void putBack();
    void leaveToMenu();
    void mouseMoveHints(int x, int y, std::uint32_t keys);
    void dismissHints();
    void renderHints();
    void renderPointer() const;
    void updateHints(float dt);
    void finishLevel();
    void replayLevel(int level);
    void startNextLevel(int level);
    void enterGameOver();
    void closeScreen();

    Config& m_config;
    PlayArt m_art;
    BoardRenderer m_renderer;
    // Before the board, which tells it what happens.
    FieldFeedback m_feedback;
    std::unique_ptr<Field> m_field;
    std::unique_ptr<Picker> m_picker;
    bool m_gameOver = false;
    int m_lives = kStartLives;
    int m_totalScore = 0;
    HighScores* m_highScores;
    MusicPlaylist* m_music;
    GameProgress* m_progress = nullptr;
    bool m_nameRecorded = false;
    std::unique_ptr<Dialog> m_nameDialog;
    std::unique_ptr<Button> m_mainMenuButton;
    std::vector<std::unique_ptr<HintOverlay>> m_hints;
    NewElementNotice m_notice;
    LevelOutcome m_lastOutcome = LevelOutcome::Playing;
    CellCursor m_cursor;
    Aim m_aim = Aim::Pointer;
    bool m_updatedSinceRender = false;
};
