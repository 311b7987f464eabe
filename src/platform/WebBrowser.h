// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <string>

// Opens a web page in the desktop's default browser. Starting the browser is
// left to the system and never waited for, so a desktop without one costs
// nothing but a line in the log.
class WebBrowser {
public:
    using Opener = std::function<bool(const std::string& address)>;

    static bool open(const std::string& address);
    // A web address as it is; a file path becomes the file:// address of the
    // file, relative paths taken from the working folder (the game folder).
    static std::string addressFor(const std::string& page);
    // Tests put their own in place; null brings the system's back.
    static void setOpener(Opener opener);
};
