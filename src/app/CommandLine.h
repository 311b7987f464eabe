// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// The program's command line. The game needs no arguments; --help and
// --version answer on standard output and exit; --first-frame-time starts the
// game, reports when its first main-menu frame is drawn and quits (for
// measuring start-up); anything else is a usage error with a short message on
// standard error and exit status 2.
class CommandLine {
public:
    enum class Action { Run, FirstFrameTime, Help, Version, UsageError };

    static CommandLine parse(int argc, const char* const* argv);

    Action action() const { return m_action; }
    // What to print before exiting; empty for Run.
    const std::string& text() const { return m_text; }
    int exitCode() const { return m_action == Action::UsageError ? 2 : 0; }

    static std::string helpText();
    static std::string versionText();

private:
    CommandLine(Action action, std::string text) : m_action(action), m_text(std::move(text)) {}

    Action m_action;
    std::string m_text;
};
