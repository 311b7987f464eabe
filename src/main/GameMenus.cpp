// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/GameMenus.h"

#include "app/Application.h"
#include "app/Config.h"
#include "audio/CSoundManager.h"
#include "effects/GameResources.h"
#include "effects/ParticleSystem.h"
#include "platform/DisplayLoss.h"
#include "platform/SystemPointer.h"
#include "screens/IntroScreen.h"
#include "screens/MainWindow.h"
#include "screens/SaveFailureNotice.h"
#include "ui/MenuCursor.h"

#include <GL/gl.h>

namespace {

void showIntro(IntroScreen& intro)
{
    Application& application = Application::get();
    application.pushScreen(intro);
    intro.render();
    glFlush();
    application.platformWindow().swapBuffers();
}

} // namespace

GameMenus::GameMenus(FilePack& pack, MusicPlaylist& music, Config& config) : m_config(config)
{
    Application& application = Application::get();
    auto intro = std::make_unique<IntroScreen>(pack);
    showIntro(*intro);
    CSoundManager::get().initialise(&application.platformWindow());
    m_config.apply(music);
    GameResources::create(pack);
    m_art = PlayArt::fromResources();
    m_mainWindow = MainWindow::create(pack, &m_art, music, m_config);
    application.removeScreen(*intro);
    application.pushScreen(*m_mainWindow);
    m_mainWindow->loadSavedGame();
    intro.reset();
    MenuCursor::create(m_mainWindow->resources());
    m_saveFailure = std::make_unique<SaveFailureNotice>(m_mainWindow->resources().font());
    application.setOverlay(m_saveFailure.get());
    SystemPointer::hide();
}

GameMenus::~GameMenus()
{
    // Everything is written before the first call that needs the display.
    DisplayLoss::setLastWords({});
    if (Application::exists())
        Application::get().setOverlay(nullptr);
    m_saveFailure.reset();
    m_mainWindow->saveGame();
    m_config.save();
    m_mainWindow.reset();
    GameResources::destroy();
    if (Application::exists())
        Application::get().platformWindow().hide();
    MenuCursor::destroy();
    SystemPointer::show();
    ParticleSystem::destroy();
}
