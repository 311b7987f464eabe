// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include <gtest/gtest.h>

namespace {

// Windows reach the shell for sizes, the cursor and closing; these tests run
// it without a window, at the game's logical size.
class ShellEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        Application& application = Application::create("main");
        application.camera().setLogicalSize(800, 600);
        application.onClientResized(800, 600);
    }
    void TearDown() override { Application::destroy(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new ShellEnvironment);

} // namespace
