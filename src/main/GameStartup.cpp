#include "main/GameStartup.h"

#include "app/Application.h"
#include "app/Config.h"
#include "utils/Log.h"
#include "utils/PlayerFile.h"
#include "audio/CSoundManager.h"
#include "effects/GameResources.h"
#include "effects/ParticleSystem.h"
#include "game/PlayArt.h"
#include "objects/ArtSet.h"
#include "objects/ImagePrefetch.h"
#include "platform/DisplayLoss.h"
#include "platform/GlDriver.h"
#include "platform/InstanceLock.h"
#include "platform/MessageBox.h"
#include "platform/ProgramFolder.h"
#include "platform/QuitSignals.h"
#include "platform/SystemPointer.h"
#include "platform/WindowPlacement.h"
#include "screens/IntroScreen.h"
#include "screens/MainWindow.h"
#include "ui/MenuCursor.h"
#include "screens/SaveFailureNotice.h"
#include "utils/FilePack.h"

#include <GL/gl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace GameStartup {

namespace {

// The window icon and the pictures of the intro and the first main-menu
// frame, in the order they are needed. Decoded while the window and its
// context are made; a name missing here only costs its decoding later.
std::vector<std::string> firstPictures()
{
    return {kIconFile,               IntroScreen::kPicture,  "mui/bgs/main.jpg",
            "mui/btn_new_game.png",  "mui/btn_quit.png",     "mui/btn_help.png",
            "mui/btn_top.png",       "mui/btn_options.png",  "mui/btn_website.png",
            "mui/btn_gift.png",      "mui/dragon.png",       "mui/cursor.png"};
}

// A window that will magnify the logical screen enough draws the fine
// pictures: those are decoded ahead instead (the icon stays the base one).
void decodeAheadForTheWindow(const Config& config, const ScreenRect& desktop)
{
    const FilePack* fine = ArtSet::finePack();
    if (fine == nullptr)
        return;
    const int width = config.m_fullScreen ? desktop.right - desktop.left : config.m_windowWidth;
    const int height = config.m_fullScreen ? desktop.bottom - desktop.top : config.m_windowHeight;
    const float pixelsPerUnit =
        std::min(float(width) / kLogicalWidth, float(height) / kLogicalHeight);
    if (pixelsPerUnit < ArtSet::kFineScale)
        return;
    std::vector<std::string> names;
    for (std::string& name : firstPictures())
        if (name != kIconFile && fine->contains(name))
            names.push_back(std::move(name));
    ImagePrefetch::redirect(*fine, std::move(names));
}

} // namespace

bool openShell()
{
    Application& application = Application::create("main");
    application.setTargetFrameRate(60);
    application.camera().setLogicalSize(kLogicalWidth, kLogicalHeight);
    CSoundManager::instance();
    Config& config = Config::get();
    config.load();
    if (!application.startVideo()) {
        Log::write("No display to open the window on.");
        return false;
    }
    const ScreenRect desktop = application.desktopRect();
    config.fitToDesktop(desktop);
    decodeAheadForTheWindow(config, desktop);
    const ScreenPoint at = WindowPlacement::keepOnScreen(
        config.m_windowX, config.m_windowY, config.m_windowWidth, config.m_windowHeight,
        desktop.right - desktop.left, desktop.bottom - desktop.top);
    if (!application.createWindow(kTitle, at.x, at.y, config.m_windowWidth,
                                  config.m_windowHeight)) {
        Log::write("No display to open the window on.");
        return false;
    }
    application.loadWindowIcon(*getPack("main"), kIconFile);
    if (config.m_fullScreen)
        application.setFullScreen(kLogicalWidth, kLogicalHeight);
    if (!application.platformWindow().hasContext() && !application.initGraphics()) {
        Log::write("No OpenGL context.");
        return false;
    }
    return GlDriver::hasRequiredExtensions();
}

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

namespace {

// The player is told in words, on every channel there is, and the program
// ends: nothing can be drawn without the game's data.
[[noreturn]] void reportDamagedData(const std::string& path, const std::string& damage)
{
    const std::string text = "The game's data is damaged: " + path + " " + damage +
                             ".\nPlease reinstall " + kTitle + ".";
    std::fprintf(stderr, "vellomar: %s\n", text.c_str());
    Log::write("%s", text.c_str());
    Log::close();
    MessageBox::showError(kTitle, text);
    std::exit(EXIT_FAILURE);
}

} // namespace

FilePack& openPack()
{
    FilePack* pack = getPack("main");
    if (pack == nullptr)
        pack = createPack("main");
    const GameFolders& folders = GameFolders::current();
    pack->setKey(kMainPackKey);
    pack->setDiskFolder(folders.dataFolder());
    const std::string packPath = folders.dataFile(kPackFile);
    pack->load(packPath);
    if (!pack->damage().empty())
        reportDamagedData(packPath, pack->damage());
    ArtSet::openFine(*pack, folders.dataFile(GameFolders::kFinePackFile));
    ImagePrefetch::start(*pack, firstPictures());
    return *pack;
}

std::unique_ptr<MainWindow> buildMenus()
{
    Application& application = Application::get();
    FilePack& pack = *getPack("main");
    auto intro = std::make_unique<IntroScreen>(pack);
    showIntro(*intro);
    CSoundManager::instance()->initialise(&application.platformWindow());
    Config::get().apply();
    GameResources::instance();
    static PlayArt art;
    art = PlayArt::fromResources();
    std::unique_ptr<MainWindow> mainWindow = MainWindow::create(pack, &art);
    application.removeScreen(*intro);
    application.pushScreen(*mainWindow);
    mainWindow->loadSavedGame();
    intro.reset();
    MenuCursor::create(mainWindow->resources());
    SaveFailureNotice::create(mainWindow->resources().font());
    SystemPointer::hide();
    return mainWindow;
}

void closeMenus(std::unique_ptr<MainWindow> mainWindow)
{
    // Everything is written before the first call that needs the display.
    DisplayLoss::setLastWords({});
    SaveFailureNotice::destroy();
    mainWindow->saveGame();
    Config::get().save();
    mainWindow.reset();
    GameResources::release();
    if (Application::exists())
        Application::get().platformWindow().hide();
    MenuCursor::destroy();
    SystemPointer::show();
}

void releaseResources()
{
    ParticleSystem::release();
    ArtSet::closeFine();
    ImagePrefetch::stop();
    destroyPack("main");
    Config::get().m_playlist.destroy();
    CSoundManager::destroyInstance();
}

namespace {

// Another copy of the game runs on the same player's files; its log stays
// as it is.
void tellAlreadyRunning()
{
    std::fprintf(stderr, "vellomar: %s\n", kAlreadyRunning);
    MessageBox::showError(kTitle, kAlreadyRunning);
}

} // namespace

std::unique_ptr<InstanceLock> lockPlayerFiles()
{
    const std::string path = GameFolders::current().playerDataFile(kLockFile);
    PlayerFile::makeFolderFor(path);
    auto lock = std::make_unique<InstanceLock>(path);
    switch (lock->state()) {
    case InstanceLock::State::Held:
        break;
    case InstanceLock::State::HeldByAnother:
        tellAlreadyRunning();
        return nullptr;
    case InstanceLock::State::Unavailable:
        // A folder the game cannot lock in is one it cannot save in either:
        // the game still runs, as it does with unwritable files.
        std::fprintf(stderr, "vellomar: cannot lock %s: %s\n", path.c_str(),
                     std::strerror(lock->error()));
        break;
    }
    return lock;
}

void openLog()
{
    const std::string path = GameFolders::current().stateFile(kLogFile);
    if (!PlayerFile::makeFolderFor(path) || !Log::open(path))
        std::fprintf(stderr, "vellomar: cannot write the log %s: %s\n", path.c_str(),
                     std::strerror(errno));
}

namespace {

// With the display gone, the player's files are written from what the game
// holds in memory; the window's place is the library's own record of it.
void saveWithoutDisplay(MainWindow& mainWindow)
{
    Log::write("The display was lost; saving and leaving.");
    mainWindow.saveGame();
    mainWindow.saveHighScores();
    Config::get().save();
}

// Runs frames until one is drawn; the finished picture is on the screen.
void runFirstFrame()
{
    Application& application = Application::get();
    const std::uint64_t frames = application.frameCount();
    while (application.frameCount() == frames && application.runOnce()) {
    }
    glFinish();
}

} // namespace

int runProgram(std::optional<std::chrono::steady_clock::time_point> firstFrameFrom)
{
    QuitSignals::install();
    GameFolders::setCurrent(
        GameFolders::locate(ProgramFolder::path(), GameFolders::systemVariable));
    const std::unique_ptr<InstanceLock> lock = lockPlayerFiles();
    if (lock == nullptr)
        return 1;
    openLog();
    openPack();
    if (!openShell()) {
        std::fprintf(stderr, "vellomar: no display to open the window on\n");
        Application::destroy();
        Log::close();
        return 1;
    }
    DisplayLoss::watch();
    std::unique_ptr<MainWindow> mainWindow = buildMenus();
    DisplayLoss::setLastWords([window = mainWindow.get()] { saveWithoutDisplay(*window); });
    int code = 0;
    if (firstFrameFrom) {
        runFirstFrame();
        const std::chrono::duration<double, std::milli> elapsed =
            std::chrono::steady_clock::now() - *firstFrameFrom;
        std::printf("first main-menu frame after %.1f ms\n", elapsed.count());
        std::fflush(stdout);
    } else {
        code = Application::get().run();
    }
    closeMenus(std::move(mainWindow));
    releaseResources();
    Application::destroy();
    Log::close();
    return code;
}

} // namespace GameStartup
