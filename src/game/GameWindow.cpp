// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameWindow.h"

#include "app/Application.h"
#include "app/Config.h"
#include "audio/MusicPlaylist.h"
#include "board/Field.h"
#include "board/LevelFile.h"
#include "board/Saturating.h"
#include "effects/EffectDrawing.h"
#include "effects/HintOverlay.h"
#include "effects/ParticleSystem.h"
#include "effects/Picker.h"
#include "game/GameProgress.h"
#include "game/HighScores.h"
#include "game/ResultsPanel.h"
#include "objects/FrameRecording.h"
#include "objects/Sprite.h"
#include "platform/Clock.h"
#include "ui/Button.h"
#include "ui/Dialog.h"
#include "ui/KeyboardFocus.h"
#include "ui/MenuCursor.h"
#include "utils/FilePack.h"
#include "utils/KeyValueFile.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

const std::vector<std::string> kGameTracks = {
    "music/game01.xm", "music/game02.xm", "music/game03.xm", "music/menu.xm", "music/game04.xm"};

void loadButtonPlace(Button& button)
{
    KeyValueFile layout;
    if (packExists("main") && getPack("main").contains("dat/bonuses_buttons.txt"))
        layout.loadFromPack(getPack("main"), "dat/bonuses_buttons.txt", true);
    button.loadPosition(layout, "m_main_menu_btn");
}

} // namespace

GameWindow::GameWindow(Config& config, int firstLevel, HighScores* highScores, MusicPlaylist* music)
    : GameWindow(config, firstLevel, highScores, PlayArt::fromResources(),
                 FieldFeedback::soundManager(), music)
{
}

GameWindow::GameWindow(Config& config, int firstLevel, HighScores* highScores, const PlayArt& art,
                       FieldFeedback::SoundOutput sounds, MusicPlaylist* music)
    : m_config(config), m_art(art), m_renderer(art),
      m_feedback(ParticleSystem::create(), std::move(sounds)), m_highScores(highScores),
      m_music(music)
{
    if (m_art.particles)
        m_feedback.particles().setSpriteGrid(m_art.particles->groups(), m_art.particles->frames());
    startLevel(firstLevel, 0);
    if (m_music)
        m_music->playNext(-1);
    m_mainMenuButton = std::make_unique<Button>(*this, m_art.mainMenuButton);
    loadButtonPlace(*m_mainMenuButton);
    addControl(*m_mainMenuButton);
    if (m_config.m_hints || m_config.m_firstRun)
        showHint(0);
}

void GameWindow::startLevel(int level, int carriedScore)
{
    m_picker.reset();
    // Seeded from the clock: every game deals its own boards.
    m_field = std::make_unique<Field>(LevelFile::load(level), level, true, Clock::milliseconds(),
                                      m_feedback);
    m_field->setScore(carriedScore);
    int& highest = m_config.m_level;
    highest = std::max(highest, level);
    m_picker = std::make_unique<Picker>(*m_field, m_art.skins[0]);
    m_cursor.reset(*m_field);
}

void GameWindow::onMouseMove(int x, int y, std::uint32_t keys)
{
    const int lx = toLogicalX(x);
    const int ly = toLogicalY(y);
    setAim(Aim::Pointer);
    mouseMoveHints(lx, ly, keys);
    Window::onMouseMove(lx, ly, keys);
}

void GameWindow::onLeftButtonUp(int x, int y, std::uint32_t keys)
{
    const int lx = toLogicalX(x);
    const int ly = toLogicalY(y);
    if (m_picker)
        m_picker->onLeftButtonUp(float(lx), float(ly));
    Window::onLeftButtonUp(lx, ly, keys);
}

void GameWindow::onRightButtonUp(int x, int y, std::uint32_t keys)
{
    Window::onRightButtonUp(toLogicalX(x), toLogicalY(y), keys);
}

void GameWindow::onLeftButtonDown(int x, int y, std::uint32_t keys)
{
    const int lx = toLogicalX(x);
    const int ly = toLogicalY(y);
    setAim(Aim::Pointer);
    pressAt(float(lx), float(ly));
    Window::onLeftButtonDown(lx, ly, keys);
}

void GameWindow::pressAt(float x, float y)
{
    dismissHints();
    if (m_field)
        m_field->onClick(x, y);
    if (m_picker)
        m_picker->onLeftButtonDown(x, y);
}

void GameWindow::onRightButtonDown(int x, int y, std::uint32_t keys)
{
    const int lx = toLogicalX(x);
    const int ly = toLogicalY(y);
    if (m_picker)
        m_picker->onRightButtonDown(float(lx), float(ly));
    Window::onRightButtonDown(lx, ly, keys);
}

void GameWindow::onChar(char32_t charCode, std::uint16_t repeatCount)
{
    Window::onChar(charCode, repeatCount);
}

void GameWindow::onControl(Control& control)
{
    if (&control == m_mainMenuButton.get())
        closeScreen();
}

Vec4 GameWindow::mousePosition() const
{
    if (!Application::exists())
        return {};
    const ScreenPoint p = Application::get().input().pointerPosition();
    return {float(toLogicalX(p.x)), float(toLogicalY(p.y)), 0.0f, 1.0f};
}

void GameWindow::update(float dt)
{
    if (m_picker)
        m_picker->update(aimPosition());
    updateHints(dt);
    if (m_field && m_hints.empty()) {
        m_field->update(dt);
        m_renderer.update(dt);
        MenuCursor::selectCurrent(m_field->insectActive() ? CursorShape::Aiming
                                                          : CursorShape::Normal);
    }
    MenuCursor::updateCurrent(dt);
    if (m_music)
        m_music->pump();
    if (m_field && m_field->isLevelOver())
        finishLevel();
    m_feedback.particles().update(dt);
    m_updatedSinceRender = true;
    Window::update(dt);
}

void GameWindow::finishLevel()
{
    const int level = m_field->level();
    m_totalScore =
        saturatingAdd(saturatingAdd(m_field->score(), m_field->timeBonus()), m_field->chainBonus());
    const bool won = m_field->succeeded();
    m_picker.reset();
    m_field.reset();
    if (won)
        startNextLevel(level);
    else
        replayLevel(level);
    if (m_progress)
        m_progress->gameProgressed(*this);
}

void GameWindow::replayLevel(int level)
{
    startLevel(level, m_totalScore);
    m_lives -= 1;
    m_lastOutcome = LevelOutcome::Replay;
    if (m_lives < 0) {
        m_gameOver = true;
        enterGameOver();
    }
}

// After the last level the game is complete; its board is built once more behind the name dialog.
void GameWindow::startNextLevel(int level)
{
    m_lastOutcome = LevelOutcome::NextLevel;
    if (level >= kLastLevel) {
        m_gameOver = true;
        enterGameOver();
        level -= 1;
    }
    startLevel(level + 1, m_totalScore);
    if (m_music)
        m_music->playNext(-1);
}

void GameWindow::enterGameOver()
{
    m_lastOutcome = LevelOutcome::GameOver;
    if (!m_highScores || !m_highScores->qualifies(0, m_totalScore)) {
        closeScreen();
        return;
    }
    m_nameDialog = m_highScores->createNameDialog(m_totalScore);
    if (!m_nameDialog || !Application::exists()) {
        m_nameDialog.reset();
        closeScreen();
        return;
    }
    m_nameDialog->setScreenSize(800, 600);
    m_nameDialog->setPosition(144.0f, 172.0f, 0.0f);
    m_nameDialog->setBackgroundSize(512, 256);
    Application::get().pushDialog(*m_nameDialog);
}

void GameWindow::onDialogClosed(Window& dialog, int)
{
    if (!m_nameDialog || &dialog != m_nameDialog.get())
        return;
    recordEnteredName();
    m_nameDialog.reset();
    closeScreen();
}

void GameWindow::recordEnteredName()
{
    if (!m_nameDialog || m_nameRecorded)
        return;
    std::string name = m_highScores->enteredName(*m_nameDialog);
    if (name.empty())
        name = "Nemo";
    m_highScores->insert(0, m_totalScore, name);
    m_nameRecorded = true;
}

void GameWindow::onScreenClosed(Window&) {}

void GameWindow::onCloseRequest()
{
    if (Application::exists())
        Application::get().postCloseMessage();
}

void GameWindow::activate()
{
    if (!m_nameDialog && m_music) {
        m_music->setTracks(kGameTracks);
        m_music->stop();
        m_music->playNext(-1);
    }
    // A player who came here by keys or the controller finds the cursor shown.
    m_aim = KeyboardFocus::isShown() ? Aim::Cursor : Aim::Pointer;
    Window::activate();
}

void GameWindow::closeScreen()
{
    if (Application::exists())
        Application::get().close(false);
}

// While the keys lead, the pointer shows only as the sight on a flying insect,
// which is where the shooting key aims.
void GameWindow::renderPointer() const
{
    if (m_aim == Aim::Pointer) {
        MenuCursor::renderCurrent();
        return;
    }
    if (m_field && m_field->insectActive() && m_field->insect()) {
        const Vec4 at = m_field->insect()->position();
        MenuCursor::renderCurrentAt(at.x, at.y);
    }
}

void GameWindow::render()
{
    Application& app = Application::get();
    app.camera().set2DView(float(app.clientWidth()), float(app.clientHeight()), false);
    glClearColor(1.0f, 1.0f, 1.0f, 0.0f);
    FrameRecording::clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    const bool drawable = m_art.complete();
    if (m_field && drawable) {
        m_renderer.drawBackground();
        // Sparkles fade only in updates: a screen drawn but not updated (behind
        // a dialog, while the program is inactive) must not keep adding them.
        m_renderer.drawBoard(*m_field, m_updatedSinceRender ? Sparkles::Emit : Sparkles::Skip);
        if (m_aim == Aim::Cursor)
            m_renderer.drawCursor(*m_field, m_cursor.position());
        m_updatedSinceRender = false;
    }
    if (m_picker)
        m_picker->draw();
    renderHints();
    m_mainMenuButton->setEnabled(m_hints.empty());
    if (drawable) {
        m_renderer.drawLives(m_lives);
        EffectDrawing::drawParticleSystem(m_feedback.particles(), *m_art.particles, *m_art.font);
        if (m_field)
            ResultsPanel::draw(*m_field, m_art, m_lives);
    }
    Window::render();
    renderPointer();
    if (m_music)
        m_music->pump();
}
