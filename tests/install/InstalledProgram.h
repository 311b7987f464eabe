// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InstallScratch.h"

#include <chrono>
#include <functional>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

// The installed program in a process of its own, started the way the desktop
// entry starts it, from an unrelated working folder with HOME and the XDG
// variables pointing into the scratch world. It is driven through the X
// server as a player drives it (pointer motion and clicks by xdotool) and
// watched through its files and its window's pixels.
class InstalledProgram {
public:
    explicit InstalledProgram(const InstallScratch& scratch);
    ~InstalledProgram();
    InstalledProgram(const InstalledProgram&) = delete;
    InstalledProgram& operator=(const InstalledProgram&) = delete;

    // The command of the installed desktop entry, run through PATH, with
    // `environment` on top (an empty value removes the variable).
    bool start(const std::map<std::string, std::string>& environment = {});
    // Its window is up and its log holds the driver lines, so the window has
    // its final size (full screen comes before the context).
    bool waitForWindow();
    // Its X window, once found.
    const std::string& window() const { return m_window; }
    // Plain pointer motion to a point of the 800 x 600 screen, then a click.
    void click(float x, float y) const;
    // The pixels of a square of the 800 x 600 screen, by its top left corner.
    std::vector<unsigned char> pixels(float x, float y, float size) const;
    // Clicks an empty spot of the screen until the game's own pointer shows
    // there: the frame loop runs and the main menu is up.
    bool waitForPointer(float x, float y);
    void screenshot(const std::string& path) const;
    bool signal(int number) const;
    // True when the process ended by itself in time; its exit status in code.
    bool waitForExit(int& code);

    // Mean difference of two pictures' bytes, 0 to 255; 255 when they do not match in size.
    static double difference(const std::vector<unsigned char>& a,
                             const std::vector<unsigned char>& b);
    static bool waitUntil(const std::function<bool()>& condition, std::chrono::seconds limit);

private:
    std::pair<int, int> toScreen(float x, float y) const;

    const InstallScratch& m_scratch;
    pid_t m_pid = -1;
    std::string m_window;
    int m_left = 0, m_top = 0, m_width = 0, m_height = 0;
};
