// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/GameShell.h"

#include "app/Application.h"
#include "app/Config.h"
#include "main/GamePack.h"
#include "main/GameStartup.h"
#include "objects/ArtSet.h"
#include "objects/ImagePrefetch.h"
#include "platform/GlDriver.h"
#include "platform/WindowPlacement.h"
#include "utils/FilePack.h"
#include "utils/Log.h"

#include <algorithm>

namespace {

// A window that will magnify the logical screen enough draws the fine
// pictures: those are decoded ahead instead (the icon stays the base one).
void decodeAheadForTheWindow(const Config& config, const ScreenRect& desktop, const FilePack& pack)
{
    const FilePack* fine = ArtSet::finePack();
    if (fine == nullptr)
        return;
    const int width = config.m_fullScreen ? desktop.right - desktop.left : config.m_windowWidth;
    const int height = config.m_fullScreen ? desktop.bottom - desktop.top : config.m_windowHeight;
    const float pixelsPerUnit = std::min(float(width) / GameStartup::kLogicalWidth,
                                         float(height) / GameStartup::kLogicalHeight);
    if (pixelsPerUnit < ArtSet::kFineScale)
        return;
    std::vector<std::string> names;
    for (std::string& name : GamePack::firstPictures())
        if (name != GameStartup::kIconFile && ArtSet::fineHolds(pack, name))
            names.push_back(std::move(name));
    ImagePrefetch::redirect(*fine, std::move(names));
}

} // namespace

GameShell::GameShell()
{
    Application& application = Application::create("main");
    application.setTargetFrameRate(60);
    application.camera().setLogicalSize(GameStartup::kLogicalWidth, GameStartup::kLogicalHeight);
}

GameShell::~GameShell()
{
    Application::destroy();
}

bool GameShell::open(Config& config, const FilePack& pack)
{
    Application& application = Application::get();
    if (!application.startVideo()) {
        Log::write("No display to open the window on.");
        return false;
    }
    const ScreenRect desktop = application.desktopRect();
    config.fitToDesktop(desktop);
    decodeAheadForTheWindow(config, desktop, pack);
    const ScreenPoint at = WindowPlacement::keepOnScreen(
        config.m_windowX, config.m_windowY, config.m_windowWidth, config.m_windowHeight,
        desktop.right - desktop.left, desktop.bottom - desktop.top);
    if (!application.createWindow(GameStartup::kTitle, at.x, at.y, config.m_windowWidth,
                                  config.m_windowHeight)) {
        Log::write("No display to open the window on.");
        return false;
    }
    application.loadWindowIcon(pack, GameStartup::kIconFile);
    if (config.m_fullScreen)
        application.setFullScreen(GameStartup::kLogicalWidth, GameStartup::kLogicalHeight);
    if (!application.platformWindow().hasContext() && !application.initGraphics()) {
        Log::write("No OpenGL context.");
        return false;
    }
    return GlDriver::hasRequiredExtensions();
}
