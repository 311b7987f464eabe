// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/QuitSignals.h"

#include <SDL.h>

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t pendingSignal = 0;

extern "C" void noteSignal(int)
{
    pendingSignal = 1;
}

} // namespace

void QuitSignals::install()
{
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    struct sigaction action = {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

bool QuitSignals::takePending()
{
    if (pendingSignal == 0)
        return false;
    pendingSignal = 0;
    return true;
}
