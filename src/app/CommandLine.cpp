// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#ifndef VM_VERSION
#define VM_VERSION "0"
#endif

namespace {

constexpr const char* kProgram = "vellomar";

std::string usageError(const std::string& problem)
{
    return std::string(kProgram) + ": " + problem + "\nTry '" + kProgram +
           " --help' for more information.\n";
}

} // namespace

// The first argument decides: the game has no options that combine.
CommandLine CommandLine::parse(int argc, const char* const* argv)
{
    if (argc < 2)
        return {Action::Run, {}};
    const std::string argument = argv[1];
    if (argument == "-h" || argument == "--help")
        return {Action::Help, helpText()};
    if (argument == "-V" || argument == "--version")
        return {Action::Version, versionText()};
    if (argument == "--first-frame-time")
        return {Action::FirstFrameTime, {}};
    if (argument.size() > 2 && argument.compare(0, 2, "--") == 0)
        return {Action::UsageError, usageError("unrecognized option '" + argument + "'")};
    if (argument.size() > 1 && argument[0] == '-')
        return {Action::UsageError, usageError("invalid option -- '" + argument.substr(1) + "'")};
    return {Action::UsageError, usageError("unexpected argument '" + argument + "'")};
}

std::string CommandLine::helpText()
{
    return std::string("Usage: ") + kProgram +
           " [OPTION]\n"
           "Vellomar, a casual puzzle game: move flowers across a hexagonal board, line up\n"
           "three or more of one colour to burst them, and clear every cell to win a level.\n"
           "\n"
           "  -h, --help          display this help and exit\n"
           "  -V, --version       output version information and exit\n"
           "  --first-frame-time  start as usual, print the milliseconds from the\n"
           "                      program's start to its first main-menu frame on\n"
           "                      standard output, and quit\n"
           "\n"
           "Without options the game opens its window. It keeps its settings in\n"
           "$XDG_CONFIG_HOME/vellomar (~/.config/vellomar), the high scores and the saved\n"
           "game in $XDG_DATA_HOME/vellomar (~/.local/share/vellomar) and its log in\n"
           "$XDG_STATE_HOME/vellomar (~/.local/state/vellomar). Started from its build\n"
           "folder, it keeps them all in that folder.\n";
}

std::string CommandLine::versionText()
{
    return std::string(kProgram) + " " + VM_VERSION + "\n";
}
