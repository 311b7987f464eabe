// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdio>
#include <string>

// A command-line tool run to its end: its exit status as the shell reports
// it and everything it wrote, standard error included.
struct ToolRun {
    int status = -1;
    std::string output;
};

inline ToolRun runTool(const std::string& command)
{
    ToolRun run;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return run;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        run.output.append(chunk, got);
    run.status = ::pclose(pipe);
    return run;
}
