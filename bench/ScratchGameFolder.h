// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

// A folder holding links to the built game's files, entered as the working
// folder, so the player files a run writes (configuration, saved game) never
// touch the real game folder. Left and removed at the end. With the fine
// pictures (data/data2x.pk) a window of 1.5 logical pixels a unit or more
// draws from them, as the installed game does.
class ScratchGameFolder {
public:
    explicit ScratchGameFolder(bool finePictures = false)
    {
        namespace fs = std::filesystem;
        const fs::path game = VM_GAME_DIR;
        m_path = fs::temp_directory_path() / ("vellomar-bench-" + std::to_string(getpid()));
        std::error_code error;
        fs::create_directories(m_path / "data", error);
        for (const char* name :
             {"mui", "music", "wav", "data/data.pk", "data/data2x.pk", "data/lang"})
            if (fs::exists(game / name) && (finePictures || name != std::string("data/data2x.pk")))
                fs::create_symlink(game / name, m_path / name, error);
        if (error || chdir(m_path.c_str()) != 0)
            m_path.clear();
    }
    ~ScratchGameFolder()
    {
        if (m_path.empty())
            return;
        if (chdir("/") != 0)
            return;
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchGameFolder(const ScratchGameFolder&) = delete;
    ScratchGameFolder& operator=(const ScratchGameFolder&) = delete;

    bool entered() const { return !m_path.empty(); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};
