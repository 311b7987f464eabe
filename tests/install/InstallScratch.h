// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <unistd.h>

// A scratch world for the installed game: a staging root for the install
// (prefix /usr), a home, the three XDG folders and an unrelated working folder.
class InstallScratch {
public:
    InstallScratch()
    {
        static int counter = 0;
        const std::string name =
            "vellomar-install-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        m_root = std::filesystem::temp_directory_path() / name;
        for (const auto& folder : {home(), config(), data(), state(), elsewhere()})
            std::filesystem::create_directories(folder);
    }
    ~InstallScratch() { std::filesystem::remove_all(m_root); }
    InstallScratch(const InstallScratch&) = delete;
    InstallScratch& operator=(const InstallScratch&) = delete;

    std::filesystem::path stage() const { return m_root / "stage"; }
    std::filesystem::path prefix() const { return stage() / "usr"; }
    std::filesystem::path home() const { return m_root / "home"; }
    std::filesystem::path config() const { return m_root / "config"; }
    std::filesystem::path data() const { return m_root / "data"; }
    std::filesystem::path state() const { return m_root / "state"; }
    std::filesystem::path elsewhere() const { return m_root / "elsewhere"; }
    std::filesystem::path file(const std::string& name) const { return m_root / name; }

    // cmake --install of the build tree into the staging root; the manifest
    // lists what it installed.
    bool install() const
    {
        const std::string command = "DESTDIR='" + stage().string() + "' cmake --install '" +
                                    VM_BUILD_DIR + "' --prefix /usr >'" +
                                    file("install.log").string() + "' 2>&1";
        return std::system(command.c_str()) == 0;
    }

    // Every file under the folder with its size and modification time.
    static std::map<std::string, std::string> snapshot(const std::filesystem::path& folder)
    {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
            const auto time = entry.last_write_time().time_since_epoch().count();
            const auto size = entry.is_regular_file() ? entry.file_size() : 0;
            files[entry.path().string()] = std::to_string(size) + "@" + std::to_string(time);
        }
        return files;
    }

    static std::string read(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Standard output of a shell command.
    static std::string output(const std::string& command)
    {
        std::string text;
        if (std::FILE* pipe = ::popen(command.c_str(), "r")) {
            char chunk[4096];
            std::size_t got = 0;
            while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
                text.append(chunk, got);
            ::pclose(pipe);
        }
        return text;
    }

private:
    std::filesystem::path m_root;
};
