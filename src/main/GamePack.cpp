// SPDX-License-Identifier: GPL-3.0-or-later
#include "main/GamePack.h"

#include "main/GameStartup.h"
#include "objects/ArtSet.h"
#include "objects/ImagePrefetch.h"
#include "objects/LanguagePack.h"
#include "platform/MessageBox.h"
#include "screens/IntroScreen.h"
#include "utils/FilePack.h"
#include "utils/GameFolders.h"
#include "utils/Log.h"
#include "utils/Translation.h"

#include <cstdio>
#include <cstdlib>

namespace {

// The player is told in words, on every channel there is, and the program
// ends: nothing can be drawn without the game's data.
[[noreturn]] void reportDamagedData(const std::string& path, const std::string& damage)
{
    char text[1024];
    std::snprintf(text, sizeof text, tr(GamePack::kDamagedData), (path + " " + damage).c_str(),
                  GameStartup::kTitle);
    std::fprintf(stderr, "vellomar: %s\n", text);
    Log::write("%s", text);
    Log::close();
    MessageBox::showError(GameStartup::kTitle, text);
    std::exit(EXIT_FAILURE);
}

// The language first, so that a damaged pack is reported in it.
FilePack& openMainPack(const std::string& language)
{
    FilePack& pack = packExists("main") ? getPack("main") : createPack("main");
    const GameFolders& folders = GameFolders::current();
    pack.setKey(kMainPackKey);
    pack.setDiskFolder(folders.dataFolder());
    ArtSet::openFine(pack, folders.dataFile(GameFolders::kFinePackFile));
    LanguagePack::follow(pack, folders.dataFolder(), language, GameFolders::systemVariable);
    const std::string packPath = folders.dataFile(GameStartup::kPackFile);
    pack.load(packPath);
    if (!pack.damage().empty())
        reportDamagedData(packPath, pack.damage());
    return pack;
}

} // namespace

std::vector<std::string> GamePack::firstPictures()
{
    // A name missing here only costs its decoding later.
    return {GameStartup::kIconFile, IntroScreen::kPicture, "mui/bgs/main.jpg",
            "mui/btn_new_game.png", "mui/btn_quit.png",    "mui/btn_help.png",
            "mui/btn_top.png",      "mui/btn_options.png", "mui/btn_website.png",
            "mui/btn_gift.png",     "mui/dragon.png",      "mui/cursor.png"};
}

GamePack::GamePack(const std::string& language) : m_pack(openMainPack(language))
{
    ImagePrefetch::start(m_pack, firstPictures());
}

GamePack::~GamePack()
{
    // The decoding thread reads both packs.
    ImagePrefetch::stop();
    ArtSet::closeFine();
    destroyPack("main");
}
