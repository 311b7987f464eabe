// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

// A virtual X server of the test's own, with a screen of the given size, which
// the test may also take away from the game under it. DISPLAY names it while
// it lives. Its number is one no other server on the machine has locked.
class OwnDisplay {
public:
    explicit OwnDisplay(const char* screen = "1024x768x24")
    {
        for (int number = 600 + ::getpid() % 300; number < 900 && !m_up; ++number)
            m_up = start(number, screen);
    }
    ~OwnDisplay()
    {
        end();
        if (!m_up)
            return;
        if (m_previous.empty())
            ::unsetenv("DISPLAY");
        else
            ::setenv("DISPLAY", m_previous.c_str(), 1);
    }
    OwnDisplay(const OwnDisplay&) = delete;
    OwnDisplay& operator=(const OwnDisplay&) = delete;

    bool up() const { return m_up; }
    // The server goes away as when its session ends.
    void end()
    {
        if (m_server <= 0)
            return;
        ::kill(m_server, SIGTERM);
        ::waitpid(m_server, nullptr, 0);
        m_server = -1;
    }

private:
    // Waits until the server takes clients, or has died (the number was taken).
    bool start(int number, const char* screen)
    {
        const std::string name = ":" + std::to_string(number);
        if (std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock"))
            return false;
        m_server = ::fork();
        if (m_server == 0) {
            ::execlp("Xvfb", "Xvfb", name.c_str(), "-screen", "0", screen, "-nolisten", "tcp",
                     "-noreset", static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        const std::string probe = "xdpyinfo -display " + name + " >/dev/null 2>&1";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        bool up = false;
        while (!up && std::chrono::steady_clock::now() < deadline) {
            if (::waitpid(m_server, nullptr, WNOHANG) != 0) {
                m_server = -1;
                break;
            }
            up = std::system(probe.c_str()) == 0;
            if (!up)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (!up) {
            end();
            return false;
        }
        if (const char* previous = std::getenv("DISPLAY"))
            m_previous = previous;
        ::setenv("DISPLAY", name.c_str(), 1);
        return true;
    }

    pid_t m_server = -1;
    bool m_up = false;
    std::string m_previous;
};
