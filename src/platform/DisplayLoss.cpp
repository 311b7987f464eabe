// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DisplayLoss.h"

#include <X11/Xlib.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

std::function<void()>& lastWords()
{
    static std::function<void()> words;
    return words;
}

// A call that still reaches for the display while the last words run comes
// back here: it ends the program at once instead of running them again.
extern "C" int onConnectionLost(Display*)
{
    static std::atomic<bool> entered{false};
    if (entered.exchange(true))
        std::_Exit(DisplayLoss::kExitCode);
    std::fputs("vellomar: the connection to the display was lost\n", stderr);
    if (lastWords())
        lastWords()();
    std::_Exit(DisplayLoss::kExitCode);
}

} // namespace

void DisplayLoss::watch()
{
    XSetIOErrorHandler(onConnectionLost);
}

void DisplayLoss::setLastWords(std::function<void()> words)
{
    lastWords() = std::move(words);
}
