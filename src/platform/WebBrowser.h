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
    // Tests put their own in place; null brings the system's back.
    static void setOpener(Opener opener);
};
