// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// The one reporter for conditions the program cannot continue from. It names
// the condition, the module and the file involved on standard error, in
// game.log and (once the shell installs one) in a message box, then exits
// with a non-zero status.
class FatalError {
public:
    using MessageBox = std::function<void(const std::string& title, const std::string& text)>;

    [[noreturn]] static void raise(const std::string& condition, const std::string& module,
                                   const std::string& file = {});
    static void setMessageBox(MessageBox show);
    // Builds the text raise reports; exposed so tests can check it.
    static std::string describe(const std::string& condition, const std::string& module,
                                const std::string& file);
};
