// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// A fresh folder per test, removed afterwards; the test runs inside it so
// relative names (the disk fallback, game.log) land there.
class TempDir {
public:
    TempDir()
    {
        static int counter = 0;
        m_previous = std::filesystem::current_path();
        m_path = std::filesystem::temp_directory_path() /
                 ("vellomar-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(m_path);
        std::filesystem::current_path(m_path);
    }
    ~TempDir()
    {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_path);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    static void writeFile(const std::string& name, const std::string& bytes)
    {
        const auto parent = std::filesystem::path(name).parent_path();
        if (!parent.empty())
            std::filesystem::create_directories(parent);
        std::ofstream(name, std::ios::binary) << bytes;
    }
    static std::string readFile(const std::string& name)
    {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};
