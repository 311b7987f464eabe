#pragma once

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// Keys typed on the X server into this process's game window, the way the
// keyboard sends them, not pushed into the game's own event queue.
class XKeyboard {
public:
    XKeyboard()
    {
        if (std::system("command -v xdotool >/dev/null 2>&1") != 0)
            return;
        const std::string found = commandOutput("xdotool search --onlyvisible --pid " +
                                                std::to_string(::getpid()) + " 2>/dev/null");
        // The last window is the visible one; SDL may have made helpers first.
        const std::size_t last = found.find_last_of('\n');
        m_window = last == std::string::npos ? found : found.substr(last + 1);
    }
    bool available() const { return !m_window.empty(); }
    // An xdotool key name or chord: "Down", "space", "shift+Tab".
    void key(const std::string& name) const
    {
        // What the key does shows on the screen; a failed command is named.
        const std::string command = "xdotool key --window " + m_window + " " + name;
        if (std::system(command.c_str()) != 0)
            std::fprintf(stderr, "failed: %s\n", command.c_str());
    }

private:
    static std::string commandOutput(const std::string& command)
    {
        std::string out;
        if (FILE* pipe = ::popen(command.c_str(), "r")) {
            std::array<char, 256> buffer{};
            while (std::fgets(buffer.data(), int(buffer.size()), pipe) != nullptr)
                out += buffer.data();
            ::pclose(pipe);
        }
        while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
            out.pop_back();
        return out;
    }

    std::string m_window;
};
