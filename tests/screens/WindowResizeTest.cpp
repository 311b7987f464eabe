// SPDX-License-Identifier: GPL-3.0-or-later
#include "screens/GameRun.h"
#include "screens/OptionsScreen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

bool black(Rgb p)
{
    return p.r < 8 && p.g < 8 && p.b < 8;
}

// The picture shown in the client area of a window against the one shown at
// 800 × 600, compared by the mean colour of 48 blocks of the logical screen.
int blocksThatDiffer(const Screenshot& original, const Screenshot& shown, const ScreenRect& client)
{
    const double sx = double(client.right - client.left) / 800.0;
    const double sy = double(client.bottom - client.top) / 600.0;
    int differ = 0;
    for (int by = 0; by < 6; ++by)
        for (int bx = 0; bx < 8; ++bx) {
            const PixelRect logical{bx * 100 + 10, by * 100 + 10, bx * 100 + 90, by * 100 + 90};
            const PixelRect scaled{
                client.left + int(logical.x0 * sx), client.top + int(logical.y0 * sy),
                client.left + int(logical.x1 * sx), client.top + int(logical.y1 * sy)};
            const Rgb a = original.mean(logical);
            const Rgb b = shown.mean(scaled);
            if (std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) > 30)
                ++differ;
        }
    return differ;
}

// Everything of the window outside the client area is black.
void expectBlackBars(const Screenshot& shown, const ScreenRect& client)
{
    const PixelRect bars[] = {{0, 0, client.left, shown.height},
                              {client.right, 0, shown.width, shown.height},
                              {0, 0, shown.width, client.top},
                              {0, client.bottom, shown.width, shown.height}};
    for (const PixelRect& bar : bars) {
        const int area = std::max(bar.x1 - bar.x0, 0) * std::max(bar.y1 - bar.y0, 0);
        EXPECT_EQ(shown.count(bar, black), area)
            << "bar " << bar.x0 << "," << bar.y0 << " to " << bar.x1 << "," << bar.y1;
    }
}

} // namespace

// Full screen on a wide desktop shows the bars beside the picture (the shell
// driver test); a tall window shows them above and below.
TEST(EndToEnd, AWindowResizedFromOutsideShowsTheWholePictureBetweenBlackBars)
{
    GameFolder folder;
    GameRun run;
    REQUIRE_GAME(run);
    ScriptedDriver& driver = run.driver();
    Application& app = run.app();
    const std::string dir = VM_SCREENSHOT_DIR;
    std::filesystem::create_directories(dir);
    const Screenshot original = driver.screenshot();
    ASSERT_EQ(original.width, 800);
    ASSERT_EQ(original.height, 600);

    ASSERT_TRUE(driver.resizeFromOutside(600, 700));
    driver.runFrames(1);
    const ScreenRect client = app.platformWindow().clientRect();
    EXPECT_EQ(client.right - client.left, 600);
    EXPECT_EQ(client.bottom - client.top, 450);
    const Screenshot tall = driver.wholeWindow();
    tall.savePng(dir + "/resized_tall.png");
    ASSERT_EQ(tall.width, 600);
    expectBlackBars(tall, client);
    EXPECT_EQ(blocksThatDiffer(original, tall, client), 0);

    // The pointer finds the buttons where the picture shows them.
    run.click(run.main().button("m_options_btn"));
    ASSERT_NE(run.main().optionsScreen(), nullptr);
    EXPECT_EQ(run.front(), static_cast<Window*>(run.main().optionsScreen()));
}
