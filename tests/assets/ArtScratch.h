// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/ToolRun.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

// Runs the art tool on scratch sources, as the build does. The tool keeps
// library caches until exit; the leak check is not ours to pass.
inline ToolRun assetgen(const std::string& arguments)
{
    return runTool("ASAN_OPTIONS=detect_leaks=0 " VM_TOOLS_DIR "/assetgen " + arguments);
}

inline std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Scratch {
public:
    Scratch()
        : m_path(std::filesystem::temp_directory_path() /
                 ("vellomar-art-" + std::to_string(::getpid())))
    {
        std::filesystem::create_directories(m_path / "svg");
    }
    ~Scratch() { std::filesystem::remove_all(m_path); }
    const std::filesystem::path& path() const { return m_path; }
    void write(const std::string& name, const std::string& text) const
    {
        std::ofstream(m_path / name, std::ios::binary) << text;
    }
    // options go before the manifest ("--scale 2").
    ToolRun build(const std::string& manifest, const std::string& options = "") const
    {
        write("art.txt", manifest);
        return assetgen(options + " " + (m_path / "art.txt").string() + " " +
                        (m_path / "svg").string() + " " + (m_path / "out").string() + " " +
                        (m_path / "sheet.png").string());
    }

private:
    std::filesystem::path m_path;
};
