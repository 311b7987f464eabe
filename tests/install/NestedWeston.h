// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "InstallScratch.h"
#include "InstalledProgram.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

// Weston with its X11 back end on the X server in force: a Wayland desktop
// with a seat (that server's pointer), its 1024 x 768 output in the X
// screen's top left corner. Plain green behind the windows, no panel and no
// animations, so what a client shows is told apart from the desktop.
class NestedWeston {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 768;

    explicit NestedWeston(const std::filesystem::path& runtime) : m_runtime(runtime)
    {
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace);
        std::ofstream(runtime / "weston.ini")
            << "[core]\nidle-time=0\n[shell]\nbackground-color=0xff00ff00\n"
               "panel-position=none\nlocking=false\nanimation=none\nclose-animation=none\n"
               "startup-animation=none\nfocus-animation=none\n";
        const std::string config = "--config=" + (runtime / "weston.ini").string();
        const std::string log = (runtime / "weston.log").string();
        m_pid = ::fork();
        if (m_pid == 0) {
            ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
            if (!std::freopen(log.c_str(), "w", stdout) || !std::freopen(log.c_str(), "a", stderr))
                std::_Exit(127);
            ::execlp("weston", "weston", "--backend=x11-backend.so", "--socket=vellomar-test",
                     "--width=1024", "--height=768", config.c_str(), static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        m_up = m_pid > 0 && InstalledProgram::waitUntil(
                                [&] {
                                    return ::waitpid(m_pid, nullptr, WNOHANG) == 0 &&
                                           std::filesystem::exists(runtime / "vellomar-test") &&
                                           windowRect().width == 0;
                                },
                                std::chrono::seconds(30));
    }
    ~NestedWeston()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    NestedWeston(const NestedWeston&) = delete;
    NestedWeston& operator=(const NestedWeston&) = delete;

    bool up() const { return m_up; }
    std::string log() const { return InstallScratch::read(m_runtime / "weston.log"); }
    // What makes the game a native client of this desktop alone.
    std::map<std::string, std::string> clientEnvironment() const
    {
        return {{"XDG_RUNTIME_DIR", m_runtime.string()},
                {"WAYLAND_DISPLAY", "vellomar-test"},
                {"SDL_VIDEODRIVER", "wayland"},
                {"DISPLAY", ""}};
    }

    struct Rect {
        int left = 0, top = 0, width = 0, height = 0;
    };
    // The part of the output a client covers: rows and columns mostly not
    // green (the desktop's own pointer is too small to count).
    static Rect windowRect()
    {
        const std::string rgb = InstallScratch::output(
            "import -silent -window root -crop " + std::to_string(kWidth) + "x" +
            std::to_string(kHeight) + "+0+0 +repage -depth 8 rgb:- 2>/dev/null");
        if (rgb.size() != std::size_t(kWidth) * kHeight * 3)
            return {-1, -1, -1, -1};
        std::vector<int> rows(kHeight), columns(kWidth);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const char* p = rgb.data() + (std::size_t(y) * kWidth + x) * 3;
                const bool green =
                    std::uint8_t(p[0]) < 40 && std::uint8_t(p[1]) > 215 && std::uint8_t(p[2]) < 40;
                rows[y] += !green;
                columns[x] += !green;
            }
        const auto covered = [](const std::vector<int>& counts) {
            int first = -1, last = -1;
            for (int i = 0; i < int(counts.size()); ++i)
                if (counts[i] > 100) {
                    first = first < 0 ? i : first;
                    last = i;
                }
            return std::pair{first, last};
        };
        const auto [top, bottom] = covered(rows);
        const auto [left, right] = covered(columns);
        if (top < 0 || left < 0)
            return {};
        return {left, top, right - left + 1, bottom - top + 1};
    }
    static std::vector<unsigned char> pixels(int x, int y, int size)
    {
        const std::string bytes =
            InstallScratch::output("import -silent -window root -crop " + std::to_string(size) +
                                   "x" + std::to_string(size) + "+" + std::to_string(x) + "+" +
                                   std::to_string(y) + " +repage -depth 8 rgb:-");
        return {bytes.begin(), bytes.end()};
    }
    static void pointer(const std::string& actions)
    {
        EXPECT_EQ(std::system(("xdotool " + actions).c_str()), 0) << actions;
    }

private:
    std::filesystem::path m_runtime;
    pid_t m_pid = -1;
    bool m_up = false;
};
