// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/WindowManager.h"

#include <SDL.h>
#include <gtest/gtest.h>
// After the test framework, whose names the window system's macros would take.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// A desktop's manager as far as the check sees one: its own window, named on
// the root window and on itself.
class StandInManager {
public:
    explicit StandInManager(Display* display)
        : m_display(display), m_check(XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False)),
          m_window(XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0))
    {
        name(DefaultRootWindow(display));
        name(m_window);
        XSync(display, False);
    }
    ~StandInManager()
    {
        XDeleteProperty(m_display, DefaultRootWindow(m_display), m_check);
        if (m_window != None)
            XDestroyWindow(m_display, m_window);
        XSync(m_display, False);
    }
    // Gone without tidying up: the root window still names it.
    void vanish()
    {
        XDestroyWindow(m_display, m_window);
        m_window = None;
        XSync(m_display, False);
    }

private:
    void name(Window on)
    {
        XChangeProperty(m_display, on, m_check, XA_WINDOW, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&m_window), 1);
    }

    Display* m_display;
    Atom m_check;
    Window m_window;
};

class WindowManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_display = XOpenDisplay(nullptr);
        if (m_display == nullptr || SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
            GTEST_SKIP() << "no display";
        m_window = SDL_CreateWindow("check", 0, 0, 64, 64, SDL_WINDOW_HIDDEN);
        ASSERT_NE(m_window, nullptr);
        if (WindowManager::runs(*m_window))
            GTEST_SKIP() << "a window manager runs on this display";
    }
    void TearDown() override
    {
        if (m_window != nullptr)
            SDL_DestroyWindow(m_window);
        if (SDL_WasInit(SDL_INIT_VIDEO) != 0)
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
        if (m_display != nullptr)
            XCloseDisplay(m_display);
    }

    Display* m_display = nullptr;
    SDL_Window* m_window = nullptr;
};

TEST_F(WindowManagerTest, AManagerIsSeenWhileItsWindowNamesItselfAndNotOnceItHasGone)
{
    StandInManager manager(m_display);
    EXPECT_TRUE(WindowManager::runs(*m_window));
    // Gone, the check survives its dead window.
    manager.vanish();
    EXPECT_FALSE(WindowManager::runs(*m_window));
    EXPECT_FALSE(WindowManager::runs(*m_window));
}

} // namespace
