// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "main/GameStartup.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    const auto start = std::chrono::steady_clock::now();
    const CommandLine command = CommandLine::parse(argc, argv);
    if (command.action() == CommandLine::Action::FirstFrameTime)
        return GameStartup::runProgram(start);
    if (command.action() != CommandLine::Action::Run) {
        std::fputs(command.text().c_str(), command.exitCode() == 0 ? stdout : stderr);
        return command.exitCode();
    }
    return GameStartup::runProgram();
}
