// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowHost.h"

#include "utils/FatalError.h"

WindowHost& WindowHost::current()
{
    if (s_installed == nullptr)
        FatalError::raise("WindowHost::installed() != NULL", "ui/WindowHost");
    return *s_installed;
}
