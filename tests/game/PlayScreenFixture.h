// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PlayTestSupport.h"
#include "app/Application.h"
#include "app/Config.h"
#include "board/Field.h"
#include "driver/ScriptedDriver.h"
#include "effects/ParticleSystem.h"
#include "game/GameWindow.h"
#include "ui/KeyboardFocus.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// The play screen in the scripted driver over a plain screen standing in for
// the main menu, with the pictures of the built pack and a record of sounds.

inline const std::string kArtefacts = std::string(VM_GAME_DIR) + "/../artefacts/";

// What the main menu would be: the screen under the play screen.
class BaseScreen : public Window {
public:
    void render() override
    {
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
};

class PlayScreenFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!driver.available())
            GTEST_SKIP() << "no display with OpenGL";
        std::filesystem::create_directories(kArtefacts);
        config.m_firstRun = false;
        config.m_hints = false;
        KeyboardFocus::setShown(false);
        art = std::make_unique<LoadedArt>();
        driver.show(base);
    }
    void TearDown() override { ParticleSystem::destroy(); }

    void startGame(int level)
    {
        game = std::make_unique<GameWindow>(config, level, nullptr, art->art(),
                                            [this](int id, SoundRestart) { sounds.push_back(id); });
        driver.show(*game);
        ASSERT_TRUE(driver.runUntil([&] { return game->field()->state() == FieldState::Idle; }));
    }

    void shot(const std::string& name)
    {
        EXPECT_TRUE(driver.saveScreenshot(kArtefacts + name + ".png"));
    }

    std::vector<std::uint8_t> region(PixelRect r) const
    {
        int w = 0, h = 0;
        const std::vector<std::uint8_t> rgb = driver.capture(w, h);
        std::vector<std::uint8_t> out;
        for (int y = r.y0; y < r.y1; ++y)
            for (int x = r.x0; x < r.x1; ++x)
                for (int k = 0; k < 3; ++k)
                    out.push_back(rgb[(std::size_t(y) * std::size_t(w) + std::size_t(x)) * 3 + k]);
        return out;
    }
    void clickCell(int r, int c, MouseButton button = MouseButton::Left)
    {
        const Vec4 p = game->field()->cellCentre(r, c);
        driver.click(int(p.x), int(p.y), button);
        driver.runFrames(1);
    }
    // A clean board of raw cells: no flowers, nothing announced.
    Field& emptyBoard()
    {
        Field& field = *game->field();
        field.clearAnnounced();
        for (int r = 0; r < field.rows(); ++r)
            for (int c = 0; c < field.rowLength(r); ++c)
                field.removeFlower(r, c);
        return field;
    }
    void playUntilFinished()
    {
        ASSERT_TRUE(driver.runUntil([&] { return game->field()->resultsAlpha() >= 1.0f; }));
    }

    Config config;
    ScriptedDriver driver;
    BaseScreen base;
    std::unique_ptr<LoadedArt> art;
    std::unique_ptr<GameWindow> game;
    std::vector<int> sounds;
};
