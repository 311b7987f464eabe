// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "objects/Texture.h"
#include "utils/FatalError.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

// One white pixel, as an uncompressed 32-bit TGA file.
std::vector<std::uint8_t> whitePixel()
{
    return {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 32, 8, 255, 255, 255, 255};
}

// The program's state when a picture fails to load: the shell made first,
// its window and context open, textures drawn. The shell outlives the
// textures' own bookkeeping when the program ends at a failure.
[[noreturn]] void failWhileDrawing()
{
    Application& application = Application::create("main");
    if (!application.startVideo() || !application.createWindow("Vellomar", 0, 0, 64, 64) ||
        !application.initGraphics())
        std::exit(2);
    Texture picture("white.tga", whitePixel(), TextureWrap::Clamp, TextureMipmaps::None);
    picture.upload();
    FatalError::raise("file != 0", "utils/FilePack", "mui/bgs/intro.jpg");
}

} // namespace

TEST(FatalExitDeathTest, AFailureWithTheWindowOpenEndsWithItsMessageAndCodeOnly)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no display";
    // A fresh program, so the shell is made before any texture, as in the game.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(failWhileDrawing(), testing::ExitedWithCode(1),
                "Failed condition \"file != 0\" in utils/FilePack \\(file: mui/bgs/intro.jpg\\)");
}
